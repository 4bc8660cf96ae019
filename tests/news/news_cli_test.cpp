// quillmar-cli news: channels, tree, parse (its errors included), update over the fake web and
// show from the files without network.
#include "toolkit/AtomicFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm;

namespace {

struct CliOutcome {
    int exit = -1;
    QJsonDocument json;
    std::string err;
};

CliOutcome RunCli(const QStringList &args) {
    QProcess p;
    p.start(QStringLiteral(QUILLMAR_BINARY_DIR "/src/cli/quillmar-cli"), args);
    CliOutcome r;
    if (!p.waitForFinished(120000)) return r;
    r.exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.json = QJsonDocument::fromJson(p.readAllStandardOutput());
    r.err = p.readAllStandardError().toStdString();
    return r;
}

TEST(NewsCli, ChannelsAndTree) {
    QTemporaryDir tmp;
    const auto channels = RunCli({"--home", tmp.path(), "news", "channels"});
    ASSERT_EQ(channels.exit, 0) << channels.err;
    const QJsonArray rows = channels.json.array();
    ASSERT_EQ(rows.size(), 42);
    EXPECT_EQ(rows[36].toObject()["name"].toString(), "BBC Online - Politics");
    EXPECT_EQ(rows[36].toObject()["node"].toInt(), 8);
    EXPECT_EQ(rows[6].toObject()["section"].toInt(), 7);

    const auto tree = RunCli({"--home", tmp.path(), "news", "tree", "--group", "french", "--today", "2001-05-07"});
    ASSERT_EQ(tree.exit, 0) << tree.err;
    const QJsonObject t = tree.json.object();
    EXPECT_EQ(t["root"].toString(), "LES ACTUALITES DU JOUR");
    EXPECT_EQ(t["date"].toString(), "7 Mai 2001");
    const QJsonObject quebec = t["children"].toArray()[6].toObject();
    EXPECT_EQ(quebec["caption"].toString(), "CANADA / QUEBEC");
    EXPECT_EQ(quebec["lead"].toString(), "Radio Canada News");
    EXPECT_EQ(quebec["sections"].toArray().size(), 3);
    EXPECT_FALSE(quebec["cached"].toBool());
}

TEST(NewsCli, ParseRunsPagesInOrderIntoOneNode) {
    QTemporaryDir tmp;
    const QString a = tmp.filePath("a.html"), b = tmp.filePath("b.html");
    ASSERT_TRUE(WriteFileAtomic(a.toStdString(), "<td class=\"bodytext\"><a href=\"/p\"></a><a href=\"/hi/1.stm\"><i class=\"h\">One</i></a><br>"));
    ASSERT_TRUE(WriteFileAtomic(b.toStdString(), "<td class=\"bodytext\"><a href=\"/p\"></a><a href=\"/HI/1.stm\"><i class=\"h\">Dup</i></a><br>"));
    auto r = RunCli({"news", "parse", "--host", "http://h.example/", "--channel", "35", a, "--channel", "36", b});
    ASSERT_EQ(r.exit, 0) << r.err;
    QJsonObject o = r.json.object();
    EXPECT_EQ(o["node"].toString(), "ENGLAND");
    EXPECT_TRUE(o["marked"].toBool());  // both BBC pages complete the node
    const QJsonArray rows = o["rows"].toArray();
    int headlines = 0;
    for (const auto &row : rows) headlines += !row.toObject()["url"].toString().isEmpty();
    EXPECT_EQ(headlines, 1);
    EXPECT_EQ(rows[4].toObject()["url"].toString(), "http://h.example/hi/1.stm");
    EXPECT_EQ(rows[4].toObject()["tag"].toString(), "BBC");

    r = RunCli({"news", "parse", "--channel", "35", a});
    EXPECT_FALSE(r.json.object()["marked"].toBool());  // one of two
    EXPECT_EQ(RunCli({"news", "parse", "--channel", "35", a, "--channel", "0", b}).exit, 2);  // another node
    EXPECT_EQ(RunCli({"news", "parse", "--channel", "42", a}).exit, 2);
    EXPECT_EQ(RunCli({"news", "parse", "--channel", "0", tmp.filePath("missing")}).exit, 2);
}

TEST(NewsCli, UpdateWritesTheFilesThatShowReadsWithoutNetwork) {
    QTemporaryDir tmp;
    const auto up = RunCli({"--home", tmp.path(), "--demo", "news", "update", "--group", "dutch", "--section", "sport"});
    ASSERT_EQ(up.exit, 0) << up.err;
    const QJsonObject u = up.json.object();
    EXPECT_EQ(u["channels"].toArray().size(), 1);
    EXPECT_EQ(u["channels"].toArray()[0].toObject()["index"].toInt(), 28);
    const QJsonObject sport = u["nodes"].toArray()[3].toObject();
    EXPECT_EQ(sport["state"].toString(), "cached");
    EXPECT_TRUE(sport["file"].toString().endsWith("_NU Sport.DailyNews"));
    EXPECT_EQ(u["nodes"].toArray()[0].toObject()["state"].toString(), "none");

    const auto shown = RunCli({"--home", tmp.path(), "news", "show", "--group", "4", "--section", "4"});
    ASSERT_EQ(shown.exit, 0) << shown.err;
    const QJsonObject s = shown.json.object();
    EXPECT_TRUE(s["cached"].toBool());
    EXPECT_EQ(s["source"].toString(), "News brought to you by : Nieuwsblik.nl");
    EXPECT_EQ(s["rows"].toArray(), sport["rows"].toArray());
    EXPECT_EQ(RunCli({"--home", tmp.path(), "news", "show", "--group", "4", "--section", "1"}).json.object()["cached"].toBool(),
              false);
}

}  // namespace
