// quillmar-cli options and language: values refused without touching the file, the cache
// page on real files, the language passes as JSON.
#include "toolkit/AtomicFile.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>

using namespace qm;

namespace {

const QString kCli = QStringLiteral(QUILLMAR_BINARY_DIR "/src/cli/quillmar-cli");

struct CliRunResult {
    int exit = -1;
    std::string out, err;
};

CliRunResult Cli(const QString &home, QStringList args) {
    args.prepend(home);
    args.prepend("--home");
    QProcess p;
    p.start(kCli, args);
    CliRunResult r;
    if (!p.waitForFinished(120000)) return r;
    r.exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

QJsonDocument Json(const CliRunResult &r) { return QJsonDocument::fromJson(QByteArray::fromStdString(r.out)); }

}  // namespace

TEST(OptionsCli, BadValuesLeaveTheFileAsItWas) {
    QTemporaryDir tmp;
    const QString home = tmp.path();
    ASSERT_EQ(Cli(home, {"options", "set", "web_maxresults", "250", "MUTEWAV", "yes"}).exit, 0);
    const std::string file = home.toStdString() + "/Options/Configuration.ini";
    std::string before;
    ASSERT_TRUE(ReadWholeFile(file, before));
    EXPECT_EQ(std::filesystem::status(file).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    const QStringList bad[] = {{"options", "set", "$PING_Amount", "7", "$StartupTAB", "13"},
                               {"options", "set", "$PROXY_ADDR", "a\nb"},
                               {"options", "set", "$COLOR_NbModel", "2"},
                               {"options", "set", "$NoSuchKey", "1"},
                               {"options", "set", "$PING_Amount"},
                               {"options", "color-save", "Sea", "1", "2", "16777216"}};
    for (const auto &args : bad) {
        const CliRunResult r = Cli(home, args);
        EXPECT_EQ(r.exit, 2) << args.join(' ').toStdString();
        std::string after;
        ASSERT_TRUE(ReadWholeFile(file, after));
        EXPECT_EQ(after, before) << args.join(' ').toStdString();
    }
    EXPECT_NE(Cli(home, bad[0]).err.find("$StartupTAB"), std::string::npos);
    EXPECT_EQ(Cli(home, {"options", "get", "web_MAXresults"}).out, "250\n");
    EXPECT_EQ(Cli(home, {"options", "get", "nothing"}).exit, 2);
    const QJsonArray list = Json(Cli(home, {"options", "list", "--format", "json"})).array();
    ASSERT_GT(list.size(), 60);
    EXPECT_EQ(list[0].toObject()["key"].toString(), "$WEB_UseDiskCache");
    EXPECT_EQ(list[0].toObject()["type"].toString(), "flag");
}

TEST(OptionsCli, CachesAndLanguages) {
    QTemporaryDir tmp;
    const QString home = tmp.path();
    const std::string root = home.toStdString();
    std::filesystem::create_directories(root + "/Cache/WEBSearch");
    std::filesystem::create_directories(root + "/Options");
    ASSERT_TRUE(WriteFileAtomic(root + "/Cache/WEBSearch/linux.webcache", std::string(5000, 'x')));
    ASSERT_TRUE(WriteFileAtomic(root + "/Options/ComboBox_WEB.INI", " \r\nlinux\r\nqt\r\n"));
    QJsonObject c = Json(Cli(home, {"options", "caches", "0", "--remove-words", "qt", "--format", "json"})).object();
    EXPECT_EQ(c["words"].toArray(), QJsonArray({"linux"}));
    EXPECT_EQ(c["files"].toArray()[0].toObject()["size"].toString(), "4 KB");
    EXPECT_EQ(c["label"].toString(), "Files cached : 0.00 MB");
    std::string history;
    ASSERT_TRUE(ReadWholeFile(root + "/Options/ComboBox_WEB.INI", history));
    EXPECT_EQ(history.find("qt"), std::string::npos);  // written at once
    EXPECT_EQ(Cli(home, {"options", "caches", "0", "--remove-files", "../x"}).exit, 2);
    c = Json(Cli(home, {"options", "caches", "0", "--remove-files", "linux", "--format", "json"})).object();
    EXPECT_TRUE(c["files"].toArray().isEmpty());
    EXPECT_TRUE(Json(Cli(home, {"options", "caches", "3", "--format", "json"})).object()["files"].isNull());

    const QJsonObject fr = Json(Cli(home, {"language", "apply", "FRENCH", "--format", "json"})).object();
    EXPECT_EQ(fr["language"].toString(), "French");
    EXPECT_TRUE(fr["file"].toBool());
    EXPECT_EQ(fr["texts"].toObject()["$BT_WEB"].toString(), "Chercher");
    EXPECT_EQ(fr["derived"].toObject()["cache_types"].toArray().size(), 7);
    EXPECT_EQ(fr["countries"].toObject()["road"].toString(), "FR");
    const QJsonObject none = Json(Cli(home, {"language", "apply", "Swedish", "--format", "json"})).object();
    EXPECT_FALSE(none["file"].toBool());
    EXPECT_TRUE(none["countries"].toObject()["news"].isNull());
    EXPECT_EQ(none["texts"].toObject()["$BT_WEB"].toString(), "Search");
    EXPECT_EQ(Cli(home, {"language", "apply", "a/b"}).exit, 2);
}
