// quillmar-cli smart: the tree, a page through the readers, a --demo search of a leaf, its
// cache and the cached list shown again without network; unknown paths write nothing.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct CliRunResult {
    int exit = -1;
    QByteArray out, err;
    QJsonObject Json() const { return QJsonDocument::fromJson(out).object(); }
};

CliRunResult Cli(const QStringList &args) {
    QProcess p;
    p.start(QStringLiteral(QUILLMAR_BINARY_DIR "/src/cli/quillmar-cli"), args);
    CliRunResult r;
    if (!p.waitForFinished(120000)) return r;
    r.exit = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

TEST(SmartCli, TreeSearchAndCache) {
    QTemporaryDir home;
    const QString h = home.path();
    CliRunResult tree = Cli({"--home", h, "smart", "tree", "--path", "shopping/music/video", "--format", "json"});
    ASSERT_EQ(tree.exit, 0) << tree.err.toStdString();
    EXPECT_EQ(tree.Json()["level"].toInt(), 2);
    EXPECT_EQ(tree.Json()["entries"].toArray().size(), 14);

    for (const char *path : {"Computing/Nope/Hard Drives", "Computing/Computer Hardware", "Collecting/Stamps/Rare Stamps"}) {
        CliRunResult bad = Cli({"--home", h, "--demo", "smart", "search", path, "--format", "json"});
        EXPECT_EQ(bad.exit, 2) << path;
        EXPECT_TRUE(bad.out.isEmpty()) << path;
    }
    EXPECT_FALSE(QDir(h + "/Cache/WEBSearch").exists() &&
                 !QDir(h + "/Cache/WEBSearch").entryList({"*.SMRCache"}).isEmpty());

    CliRunResult fresh = Cli({"--home", h, "--demo", "smart", "search", "Computing/Computer Hardware/Hard Drives", "--format", "json"});
    ASSERT_EQ(fresh.exit, 0) << fresh.err.toStdString();
    const QJsonObject f = fresh.Json();
    EXPECT_EQ(f["query"].toString(), "Hard+Drives");
    EXPECT_FALSE(f["cached"].toBool());
    EXPECT_EQ(f["file"].toString(), h + "/Cache/WEBSearch/Hard+Drives.SMRCache");
    EXPECT_TRUE(QFile::exists(f["file"].toString()));
    const QJsonArray rows = f["rows"].toArray();
    ASSERT_GT(rows.size(), 0);
    ASSERT_EQ(f["engines"].toArray().size(), 2);
    EXPECT_EQ(f["engines"].toArray()[1].toObject()["name"].toString(), "Google");

    // No network this time: the cache answers, and the leaf is marked.
    CliRunResult again = Cli({"--home", h, "smart", "search", "computing/computer hardware/hard drives", "--format", "json"});
    ASSERT_EQ(again.exit, 0) << again.err.toStdString();
    EXPECT_TRUE(again.Json()["cached"].toBool());
    EXPECT_EQ(again.Json()["rows"].toArray(), rows);
    EXPECT_TRUE(again.Json()["engines"].toArray().isEmpty());
    CliRunResult leaves = Cli({"--home", h, "smart", "tree", "--path", "Computing/Computer Hardware", "--format", "json"});
    int cached = 0;
    for (const auto &e : leaves.Json()["entries"].toArray())
        if (e.toObject()["cached"].toBool()) {
            ++cached;
            EXPECT_EQ(e.toObject()["name"].toString(), "Hard Drives");
        }
    EXPECT_EQ(cached, 1);
}

TEST(SmartCli, ParseOnePage) {
    QTemporaryDir dir;
    QFile page(dir.filePath("page.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<p><a href=/url?sa=U&q=http://a.example/x&e=1>A</a><br>About A<font>\n"
               "<p><a href=http://A.EXAMPLE/X>again</a><br>dup<font>\n"
               "<td><a href=/search?q=a&start=20>2</a>");
    page.close();
    CliRunResult r = Cli({"smart", "parse", "--host", "http://h.example", "--format", "json", page.fileName()});
    ASSERT_EQ(r.exit, 0) << r.err.toStdString();
    const QJsonArray rows = r.Json()["rows"].toArray();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].toObject()["location"].toString(), "http://a.example/x");
    EXPECT_EQ(rows[0].toObject()["cost"].toString(), "");
    EXPECT_EQ(r.Json()["pages"].toArray(), QJsonArray({"http://h.example/search?q=a&start=20"}));
}

}  // namespace
