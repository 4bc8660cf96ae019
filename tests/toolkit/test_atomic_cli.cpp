// Whole-file replacement and the clean-html filter of quillmar-cli.
#include "toolkit/AtomicFile.h"
#include "toolkit/Misc.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(WriteFileAtomic, ReplacesKeepsModeAndLeavesNoTemporaries) {
    QTemporaryDir tmp;
    const std::string dir = tmp.path().toStdString();
    const std::string path = dir + "/f.INI";
    ASSERT_TRUE(qm::WriteFileAtomic(path, std::string("one\0two", 7)));
    std::string bytes;
    ASSERT_TRUE(qm::ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, std::string("one\0two", 7));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(qm::WriteFileAtomic(path, "three"));
    ASSERT_TRUE(qm::ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, "three");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    ASSERT_TRUE(qm::WriteFileAtomic(dir + "/secret", "pw", true));
    ASSERT_EQ(::stat((dir + "/secret").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // A name at the length limit still gets written.
    const std::string longName = dir + "/" + std::string(255, 'n');
    EXPECT_TRUE(qm::WriteFileAtomic(longName, "x"));
    EXPECT_TRUE(qm::TMisc::FileExists(longName));

    // Failures leave the old file alone and nothing else behind.
    EXPECT_FALSE(qm::WriteFileAtomic(dir + "/missing/f", "x"));
    EXPECT_FALSE(qm::WriteFileAtomic(std::string("f\0x", 3), "x"));
    EXPECT_FALSE(qm::WriteFileAtomic(dir + "/", "x"));
    EXPECT_FALSE(qm::WriteFileAtomic("", "x"));
    const QStringList names = QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_EQ(names.size(), 3) << names.join(",").toStdString();
    EXPECT_FALSE(qm::ReadWholeFile(dir + "/none", bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(CleanHtmlCommand, FiltersBytesExactly) {
    const QString cli = QStringLiteral(QUILLMAR_BINARY_DIR "/src/cli/quillmar-cli");
    if (!QFile::exists(cli)) GTEST_SKIP() << "quillmar-cli not built";
    QProcess p;
    p.start(cli, {"clean-html"});
    ASSERT_TRUE(p.waitForStarted());
    const QByteArray in("<B>caf&eacute;</b>\0\xFF\r\n&#65;&#8364;", 34);
    p.write(in);
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(p.readAllStandardOutput(), QByteArray("caf\xC3\xA9\0\xFF\r\nA", 10));

    // Empty input gives empty output, no newline added.
    p.start(cli, {"clean-html"});
    ASSERT_TRUE(p.waitForStarted());
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
}
