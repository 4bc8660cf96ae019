// quillmar-cli forums / mp3 as a user runs them: demo searches with rows of every enabled
// engine and their caches, parse of a saved page, and bad arguments exiting 2.
#include "cli/CliRun.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

using Outcome = qm::test::CliOutcome;

Outcome RunCli(const QStringList &args) { return qm::test::RunCliProgram(args); }

bool Has(const std::string &text, const std::string &what) { return text.find(what) != std::string::npos; }

}  // namespace

TEST(CliForumMp3, DemoSearches) {
    QTemporaryDir tmp;
    const QString home = tmp.filePath("home");
    Outcome r = RunCli({"--home", home, "--demo", "forums", "search", "--format", "json", "jazz"});
    ASSERT_EQ(r.exit, 0) << r.err;
    for (const char *e : {"Delphi Center", "Yahoo groups", "Topica", "BoardServer"})
        EXPECT_TRUE(Has(r.out, std::string("\"source\": \"") + e + "\"")) << e;
    EXPECT_TRUE(Has(r.out, "{\"name\": \"EZBoard\", \"pages\": 0, \"results\": 0, \"status\": \"disabled\""));
    EXPECT_TRUE(Has(r.out, "{\"name\": \"Topica\", \"pages\": 3,"));
    EXPECT_TRUE(QFileInfo::exists(home + "/Cache/ForumSearch/jazz.Forumsearch"));

    r = RunCli({"--home", home, "--demo", "mp3", "search", "jazz", "blues"});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "\tKaZaA\t"));
    EXPECT_TRUE(Has(r.out, "\tAVFind\t"));
    EXPECT_TRUE(QFileInfo::exists(home + "/Cache/MP3Search/jazz+blues.MP3search"));
}

TEST(CliForumMp3, ParseAndErrors) {
    QTemporaryDir tmp;
    const QString page = tmp.filePath("p.htm");
    QFile f(page);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<p>Your search on x <a href=\"http://h.example/dir-app/search/2\" >n</a>"
            "<td class=\"a\"><a href=\"/f/1\" x><b>Name</b></span></td><td align=left>About..</td>"
            "<a href=\"/c\">Kind..</a>");
    f.close();
    Outcome r = RunCli({"forums", "parse", "--engine", "delphi center", "--host", "http://h.example", "--forum-host",
                     "http://f.example", page});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "{\"rows\": [\n  {\"forum\": \"Name\", \"type\": \"Kind\", \"source\": \"Delphi Center\", "
                     "\"description\": \"About\", \"url\": \"http://f.example/f/1\"}\n ],\n \"pages\": [\n  "
                     "\"http://h.example/dir-app/search/2\"\n ]}\n");
    for (const QStringList &bad : {QStringList{"forums", "parse", "--engine", "KaZaA", page},
                                   QStringList{"mp3", "parse", "--engine", "AVFind", tmp.filePath("none")},
                                   QStringList{"mp3", "fetch"}, QStringList{"mp3", "parse", "--forum-host", "x", page}}) {
        r = RunCli(bad);
        EXPECT_EQ(r.exit, 2) << bad.join(' ').toStdString();
        EXPECT_FALSE(r.err.empty());
    }
}
