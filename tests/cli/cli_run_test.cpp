// A run of quillmar-cli is a run of the program: its data root is prepared with the bundled
// data, and its end deletes what the cache modes say.
#include "search/ResultCache.h"
#include "toolkit/AtomicFile.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>
#include <regex>

using namespace qm;

namespace {

const QString kCli = QStringLiteral(QUILLMAR_BINARY_DIR "/src/cli/quillmar-cli");

struct CliOutcome {
    int exit = -1;
    std::string out, err;
};

CliOutcome RunCli(const QStringList &args) {
    QProcess p;
    p.start(kCli, args);
    CliOutcome r;
    if (!p.waitForFinished(120000)) return r;
    r.exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

}  // namespace

TEST(CliRun, ExportFromAFreshHomeHasItsPictures) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString home = tmp.filePath("fresh");  // does not exist yet
    const QString page = tmp.filePath("page.htm");
    CliOutcome r = RunCli({"--home", home, "--demo", "search", "--export", page, "free", "software"});
    ASSERT_EQ(r.exit, 0) << r.err;
    ASSERT_FALSE(r.out.empty());

    std::string html;
    ASSERT_TRUE(ReadWholeFile(page.toStdString(), html));
    const std::regex picture("<img[^>]*src=\"([^\"]*)\"");
    int pictures = 0;
    for (auto m = std::sregex_iterator(html.begin(), html.end(), picture); m != std::sregex_iterator(); ++m) {
        const std::string src = (*m)[1];
        ++pictures;
        EXPECT_EQ(src.rfind(home.toStdString() + "/GFX/", 0), 0u) << src;
        std::string bytes;
        EXPECT_TRUE(ReadWholeFile(src, bytes)) << "broken picture " << src;
        EXPECT_EQ(bytes.substr(0, 4), "GIF8") << src;
    }
    EXPECT_EQ(pictures, 2);
    // The rest of the bundled data is there as for the window.
    EXPECT_TRUE(QFileInfo::exists(home + "/Language/English.language"));
    EXPECT_TRUE(QFileInfo::exists(home + "/Engines/WebSearch.grp"));
}

TEST(CliRun, EndOfRunDeletesWhatTheCacheModeSays) {
    struct Case {
        int mode;
        bool kept;
    } cases[] = {{0, true}, {1, false}, {2, false}};
    for (const auto &c : cases) {
        QTemporaryDir home;
        ASSERT_TRUE(home.isValid());
        const std::string root = home.path().toStdString();
        std::filesystem::create_directories(root + "/Options");
        ASSERT_TRUE(WriteFileAtomic(root + "/Options/Configuration.ini",
                                    "$WEB_CacheMode\t\t=\t" + std::to_string(c.mode) + "\r\n"));
        // A history of an earlier run of the window, and a cache of another query.
        ASSERT_TRUE(WriteFileAtomic(root + "/Options/ComboBox_WEB.INI", " \r\nold query\r\n"));
        std::filesystem::create_directories(root + "/Cache/WEBSearch");
        ASSERT_TRUE(SaveResultList({}, root + "/Cache/WEBSearch/old+query.webcache"));

        CliOutcome r = RunCli({"--home", home.path(), "--demo", "search", "--engines", "Altavista", "big", "cat"});
        ASSERT_EQ(r.exit, 0) << "mode " << c.mode << ": " << r.err;
        ASSERT_FALSE(r.out.empty()) << "mode " << c.mode;
        for (const char *file : {"/Cache/WEBSearch/big+cat.webcache", "/Cache/WEBSearch/old+query.webcache",
                                 "/Options/ComboBox_WEB.INI"})
            EXPECT_EQ(std::filesystem::exists(root + file), c.kept) << "mode " << c.mode << ": " << file;
        EXPECT_TRUE(std::filesystem::exists(root + "/Options/Configuration.ini"));
    }
}
