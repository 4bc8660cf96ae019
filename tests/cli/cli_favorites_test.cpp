// The favorites and catalogue subcommands across several runs: file bytes from the record
// format, removal renumbers, C|NET addresses through the detail page, catalogue updates and
// caches over the fake web, bad arguments exit 2 and change no file.
#include "toolkit/AtomicFile.h"

#include "cli/CliRun.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {

using Outcome = qm::test::CliOutcome;

Outcome Cli(const QStringList &args) { return qm::test::RunCliProgram(args); }

std::string Bytes(const QString &path) {
    std::string b;
    qm::ReadWholeFile(path.toStdString(), b);
    return b;
}

}  // namespace

TEST(CliFavorites, SeveralRunsAndAddresses) {
    QTemporaryDir tmp;
    const QString home = tmp.filePath("home"), file = home + "/Cache/Favorites_WEB.INI";
    for (const char *s : {"a", "b", "c", "d", "e"})
        ASSERT_EQ(Cli({"--home", home, "favorites", "add", "--list", "web", "--field", QString("site=") + s,
                       "--field", QString("location=http://") + s + ".example/", "--image", "2"})
                      .exit,
                  0);
    ASSERT_EQ(Cli({"--home", home, "favorites", "remove", "--list", "web", "--rows", "2,3"}).exit, 0);
    EXPECT_EQ(Bytes(file), "a\r\nhttp://a.example/\r\n\r\n\r\n\r\n2\r\n"
                           "d\r\nhttp://d.example/\r\n\r\n\r\n\r\n2\r\n"
                           "e\r\nhttp://e.example/\r\n\r\n\r\n\r\n2\r\n");
    Outcome r = Cli({"--home", home, "favorites", "list", "--list", "web"});
    EXPECT_NE(r.out.find("\"header\": \"3 Sites\""), std::string::npos);
    EXPECT_NE(r.out.find("{\"number\": \"3\", \"image\": 2, \"site\": \"e\""), std::string::npos);

    // --from: a list file of the record kind, rows chosen by number (a favorites file here).
    ASSERT_EQ(Cli({"--home", home, "favorites", "add", "--list", "web", "--from", file, "--rows", "3,1"}).exit, 0);
    r = Cli({"--home", home, "favorites", "list", "--list", "web", "--format", "tsv"});
    // In list order, whatever order the numbers were given in.
    EXPECT_EQ(r.out.substr(r.out.rfind("4\t")), "4\t2\ta\thttp://a.example/\t\t\t\n5\t2\te\thttp://e.example/\t\t\t\n");

    // Bad arguments change nothing.
    const std::string before = Bytes(file);
    EXPECT_EQ(Cli({"--home", home, "favorites", "remove", "--list", "web", "--rows", "9"}).exit, 2);
    EXPECT_EQ(Cli({"--home", home, "favorites", "add", "--list", "mp3", "--field", "site=x"}).exit, 2);
    EXPECT_EQ(Bytes(file), before);

    // A C|NET software favorite: Visit reads the detail page (the software list is empty).
    ASSERT_EQ(Cli({"--home", home, "favorites", "add", "--list", "software", "--field", "name=X", "--field",
                   "source=c|net", "--field", "url=http://download.cnet.example/downloads/0-1001.html"})
                  .exit,
              0);
    r = Cli({"--home", home, "--demo", "favorites", "open", "--list", "software", "--row", "1", "--action", "visit"});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "http://download.cnet.example/author/1\n");
    // A detail page without a download link opens nothing and says so.
    ASSERT_EQ(Cli({"--home", home, "favorites", "add", "--list", "software", "--field", "name=Y", "--field",
                   "source=C|NET", "--field", "url=http://download.cnet.example/downloads/0-1003.html"})
                  .exit,
              0);
    r = Cli({"--home", home, "--demo", "favorites", "open", "--list", "software", "--row", "2", "--action",
             "download"});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(r.err.empty());
}

TEST(CliFavorites, CatalogueUpdateShowSortAndFavorite) {
    QTemporaryDir tmp;
    const QString home = tmp.filePath("home");
    Outcome r = Cli({"--home", home, "--demo", "catalogue", "update", "--category", "Games", "--sub", "Kids"});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.out.find("\"pages\": 3"), std::string::npos);
    const QString cache = home + "/Cache/Software/Games/Kids.softwares";
    ASSERT_TRUE(QFileInfo::exists(cache));
    const std::string bytes = Bytes(cache);
    EXPECT_EQ(bytes.rfind("Catalogue 10106 title 1\r\n", 0), 0u);
    r = Cli({"--home", home, "catalogue", "tree", "--format", "tsv"});
    EXPECT_NE(r.out.find("Games\tKids\thttp://download.cnet.example/downloads/3-2001,10106-0.html?tag=dir\ttrue\n"),
              std::string::npos);
    r = Cli({"--home", home, "catalogue", "show", "--category", "Games", "--sub", "Kids", "--sort", "name",
             "--format", "tsv"});
    ASSERT_EQ(r.exit, 0);
    EXPECT_EQ(r.out.rfind("Catalogue 10106 title 1\t", 0), 0u);
    EXPECT_NE(Bytes(cache), bytes);  // "title 10" now follows "title 1"
    EXPECT_EQ(Cli({"--home", home, "catalogue", "favorite", "--category", "Games", "--sub", "Kids", "--rows", "1"}).exit,
              0);
    EXPECT_NE(Bytes(home + "/Cache/Favorites_PRG.INI").find("\r\nC|NET\r\n"), std::string::npos);
    EXPECT_EQ(Cli({"--home", home, "catalogue", "remove", "--category", "Games", "--sub", "Kids"}).exit, 0);
    EXPECT_FALSE(QFileInfo::exists(cache));
    EXPECT_EQ(Cli({"--home", home, "catalogue", "show", "--category", "Games", "--sub", "Kids"}).exit, 1);
    EXPECT_EQ(Cli({"--home", home, "catalogue", "update", "--category", "Games", "--sub", "kids"}).exit, 2);
}
