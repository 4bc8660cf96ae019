// quillmar-cli config apply|fetch: files through the rules as JSON, the download from the
// fake home site (remote, then the kept picture), bad arguments, and a kill during a silent
// answer that leaves the old local copy as it was.
#include "cli/CliRun.h"
#include "net/NetConfig.h"
#include "support/SharedFakeWeb.h"
#include "toolkit/AtomicFile.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm;

namespace {

QJsonObject Json(const test::CliOutcome &r) { return QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object(); }

std::string Lines(std::initializer_list<const char *> lines) {
    std::string out;
    for (const char *l : lines) out += std::string(l) + "\r\n";
    return out;
}

}  // namespace

TEST(ConfigCli, ApplyReadsAFileAsTheLocalCopy) {
    QTemporaryDir tmp;
    const QString home = tmp.path(), file = home + "/in.ini";
    const std::string full = Lines({
        "$APP_NAME = Tester", "$PUB_SET_CFG = 7", "$FRONT_GIF = ..\\Options\\Configuration.ini",
        "$BFGU_GOTO = http://go.example/serve", "$FINDWHAT_SRCH_ALL = https://fw.example/?q=<$QRY>",
        "$NOTIFICATION = nmMessageOnly", "$MSG_SUBJECT = Hello", "$PUB[2].SET = Y x 5 x x http://b.example/2 http://c.example/2 x 1",
        "$PUB[1].SET = N x 9 x x http://b.example/1 javascript:x x 3", "<@WEB_HEADER>", "Top", "</@WEB_HEADER>",
        "$MSG_TEXT", "$WHOIS_URL = http://whois.example/?q="});
    struct Case {
        const char *name;
        std::string bytes;
        std::vector<QString> args;
        int exit;
    };
    const Case cases[] = {
        {"full", full, {"--format", "json"}, 0},
        {"three lines", Lines({"$APP_NAME = Short", "$HOMESITE = http://x.example/", ""}), {"--format", "json"}, 1},
        {"unknown format", full, {"--format", "xml"}, 2},
        {"two files", full, {file}, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteFileAtomic(file.toStdString(), c.bytes));
        QStringList args = {"--home", home, "config", "apply", file};
        for (const QString &a : c.args) args << a;
        const test::CliOutcome r = test::RunCliProgram(args);
        EXPECT_EQ(r.exit, c.exit) << r.err;
        if (c.exit == 2) EXPECT_TRUE(r.out.empty());
        if (c.exit != 0) continue;
        const QJsonObject j = Json(r);
        EXPECT_TRUE(j["applied"].toBool());
        EXPECT_EQ(j["title"].toString(), "Tester v1.22 ");
        EXPECT_EQ(j["whois_url"].toString(), "");  // after "$MSG_TEXT"
        EXPECT_EQ(j["engines"]["GOTO"]["serve"].toString(), "http://go.example/serve");
        EXPECT_EQ(j["engines"]["FindWhat"]["all"].toString(), "https://fw.example/?q=<$QRY>");
        EXPECT_TRUE(j["engines"]["FindWhat"]["any"].toString().contains("findwhat"));  // not set: built in
        EXPECT_EQ(j["templates"]["header"].toString(), "Top\r\n");
        EXPECT_EQ(j["templates"]["line"].toString(), "");  // missing block
        EXPECT_EQ(j["notice"]["kind"].toString(), "info");
        EXPECT_EQ(j["notice"]["caption"].toString(), "Hello");
        EXPECT_TRUE(j["banner"]["front_gif"].isNull());
        const QJsonArray read = j["banner"]["slots"].toArray();  // slot 2 came before slot 1
        ASSERT_EQ(read.size(), 1);
        EXPECT_FALSE(read[0]["enabled"].toBool());
        EXPECT_EQ(read[0]["period"].toInt(), 9);
        EXPECT_EQ(read[0]["click_period"].toInt(), 3);
        EXPECT_EQ(read[0]["click"].toString(), "");
        QStringList refused;
        for (const auto &v : j["refused"].toArray()) refused << v.toObject()["key"].toString();
        EXPECT_EQ(refused, QStringList({"$FRONT_GIF", "$PUB[1].SET word 7"}));
        EXPECT_FALSE(QFile::exists(home + "/Options/qm_config.ini"));  // nothing written
    }
    const test::CliOutcome missing = test::RunCliProgram({"--home", home, "config", "apply", home + "/none.ini"});
    EXPECT_EQ(missing.exit, 2);
}

TEST(ConfigCli, FetchDownloadsAppliesAndKeepsThePicture) {
    QTemporaryDir tmp;
    const QString home = tmp.path();
    const QString routes = QString::fromStdString(ServiceHostsConnectTo(test::SharedFakeWeb().port()));
    for (const char *front : {"downloaded", "kept"}) {
        SCOPED_TRACE(front);
        const test::CliOutcome r =
            test::RunCliProgram({"--home", home, "--connect-to", routes, "config", "fetch", "--format", "json"});
        ASSERT_EQ(r.exit, 0) << r.err;
        const QJsonObject j = Json(r);
        EXPECT_EQ(j["source"].toString(), "remote");
        EXPECT_EQ(j["front_picture"].toString(), front);
        EXPECT_EQ(j["banner"]["front_gif"].toString(), home + "/GFX/qm_front.gif");
        EXPECT_EQ(j["banner"]["slots"].toArray().size(), 1);
        EXPECT_TRUE(j["notice"].isNull());
        EXPECT_GT(QFileInfo(home + "/GFX/qm_front.gif").size(), 1999);
        EXPECT_GT(QFileInfo(home + "/Options/qm_config.ini").size(), 0);
    }
}

TEST(ConfigCli, KillDuringASilentAnswerKeepsTheOldCopy) {
    QTemporaryDir tmp;
    const QString home = tmp.path();
    const std::string old = "$APP_NAME = Old\r\n; 1\r\n; 2\r\n; 3\r\n; 4\r\n; 5\r\n; 6\r\n; 7\r\n; 8\r\n; 9\r\n; 10\r\n";
    ASSERT_TRUE(QDir(home).mkpath("Options") && WriteFileAtomic(home.toStdString() + "/Options/qm_config.ini", old));
    QTcpServer silent;  // accepts and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    QProcess p;
    p.start(test::CliPath(), {"--home", home, "--connect-to", QString::fromStdString(ServiceHostsConnectTo(silent.serverPort())),
                              "config", "fetch", "--format", "json"});
    ASSERT_TRUE(silent.waitForNewConnection(60000));
    p.kill();
    ASSERT_TRUE(p.waitForFinished(60000));
    std::string copy;
    ASSERT_TRUE(ReadWholeFile(home.toStdString() + "/Options/qm_config.ini", copy));
    EXPECT_EQ(copy, old);
    EXPECT_EQ(QDir(home + "/Options").entryList(QDir::Files), QStringList{"qm_config.ini"});
}
