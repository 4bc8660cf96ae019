// The newsgroup and software subcommands run as a user would: --demo searches give rows of
// every engine, write the cache and the export; bad arguments exit 2 and write nothing.
#include "toolkit/AtomicFile.h"

#include "cli/CliRun.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

using Outcome = qm::test::CliOutcome;

Outcome RunCliWith(const QStringList &args) { return qm::test::RunCliProgram(args); }

size_t Count(const std::string &text, const std::string &what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(CliVertical, DemoSearchesCachesAndExport) {
    QTemporaryDir tmp;
    const QString home = tmp.filePath("home"), page = tmp.filePath("news.htm");
    Outcome r = RunCliWith({"--home", home, "--demo", "news-search", "--format", "json", "--export", page, "big", "cat"});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(Count(r.out, "\"source\": \"GoogleNews\""), 37u);
    EXPECT_NE(r.out.find("\"pages\": 5"), std::string::npos);
    EXPECT_TRUE(QFileInfo::exists(home + "/Cache/NEWSSearch/big+cat.newssearch"));
    std::string html;
    ASSERT_TRUE(qm::ReadWholeFile(page.toStdString(), html));
    EXPECT_EQ(Count(html, "target=\"_blank\">big cat article"), 37u);

    r = RunCliWith({"--home", home, "--demo", "software-search", "--format", "json", "--mode", "exact", "big"});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(Count(r.out, "\"source\": \"C|NET\""), 17u);
    EXPECT_EQ(Count(r.out, "\"source\": \"TuCows\""), 17u);
    EXPECT_TRUE(QFileInfo::exists(home + "/Cache/SoftSearch/big.prgsearch"));

    r = RunCliWith({"--home", home, "--demo", "news-search", "nothing"});
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Nothing found for < nothing >..."), std::string::npos);
}

TEST(CliVertical, BadArgumentsWriteNothing) {
    QTemporaryDir tmp;
    const QString home = tmp.filePath("home");
    for (const QStringList &args :
         {QStringList{"news-search", "--lang", "x", "q"}, QStringList{"news-search", "--max"},
          QStringList{"software-search", "--mode", "most", "q"}, QStringList{"news-search"},
          QStringList{"urls", "--kind", "ftp", "q"}, QStringList{"software-detail"}}) {
        const Outcome r = RunCliWith(QStringList{"--home", home} + args);
        EXPECT_EQ(r.exit, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(QDir(home + "/Cache/NEWSSearch").isEmpty()) << args.join(' ').toStdString();
    }
}
