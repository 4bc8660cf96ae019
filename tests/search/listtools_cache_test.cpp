#include "search/ResultCache.h"
#include "toolkit/History.h"

#include <algorithm>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace qm;

namespace {

ResultRow Row(std::string site, int image = -1) {
    ResultRow r;
    r.image = image;
    r.subItems = {site, "http://" + site + ".example/", "Lycos", "about " + site, ""};
    return r;
}

std::string Read(const std::string &path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll().toStdString();
}

void Write(const std::string &path, const std::string &bytes) {
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), qint64(bytes.size()));
}

}  // namespace

TEST(ListtoolsCache, NamesFollowTheQuery) {
    EXPECT_EQ(CacheFileName("  big cat "), "big+cat.webcache");
    EXPECT_EQ(CacheFileName(""), ".webcache");
    EXPECT_EQ(CacheFileName("   "), ".webcache");
    EXPECT_EQ(CacheFileName("what? a/b"), "what.+a.b.webcache");
    EXPECT_EQ(CacheFileName("../../etc/passwd"), "......etc.passwd.webcache");
}

TEST(ListtoolsCache, RecordsRoundTripAndBadRecordsDrop) {
    std::vector<ResultRow> rows = {Row("one", 3), Row("two"), Row("three", 0)};
    rows[1].subItems[3] = "line\r\nbreak";
    ResultRow odd;
    odd.subItems = {"only", "two"};
    rows.insert(rows.begin() + 1, odd);
    std::string bytes = EncodeResultList(rows);
    const std::string first = "one\r\nhttp://one.example/\r\nLycos\r\nabout one\r\n\r\n3\r\n";
    EXPECT_EQ(bytes.substr(0, first.size()), first);
    auto back = DecodeResultList(bytes);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0].caption, "1");
    EXPECT_EQ(back[0].image, 3);
    EXPECT_EQ(back[1].caption, "2");
    EXPECT_EQ(back[1].subItems[3], "line  break");
    EXPECT_EQ(back[2].subItems, rows[3].subItems);
    EXPECT_EQ(back[2].image, 0);

    // An incomplete last record, or a last line without its line break, is dropped.
    EXPECT_EQ(DecodeResultList(bytes.substr(0, bytes.size() - 2)).size(), 2u);
    EXPECT_EQ(DecodeResultList(bytes + "a\r\nb\r\n").size(), 3u);
    // LF alone also ends lines; a non-numeric image line reads as 0.
    auto lf = DecodeResultList("a\nb\nc\r\nd\n\nx7\n");
    ASSERT_EQ(lf.size(), 1u);
    EXPECT_EQ(lf[0].subItems[2], "c");
    EXPECT_EQ(lf[0].image, 0);
    EXPECT_TRUE(DecodeResultList("").empty());
}

TEST(ListtoolsCache, WriteAndRecallInTheThreeModes) {
    QTemporaryDir dir;
    WebResultCache cache(dir.path().toStdString());
    std::vector<ResultRow> rows = {Row("cat"), Row("lion", 2)};

    ASSERT_TRUE(cache.Write(rows, " big cat", true));
    EXPECT_EQ(Read(cache.Folder() + "/big+cat.webcache"), EncodeResultList(rows));
    struct stat st {};
    ASSERT_EQ(::stat((cache.Folder() + "/big+cat.webcache").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);  // what the user searched is nobody else's business
    ASSERT_TRUE(cache.Write({}, "nothing", true));
    EXPECT_EQ(Read(cache.Folder() + "/nothing.webcache"), "");
    ResultRow notice;  // the "Nothing found for" row is never kept
    notice.subItems = {"Nothing found for < nothing >...", "", "", "", ""};
    ASSERT_TRUE(cache.Write({notice}, "nothing", true));
    EXPECT_EQ(Read(cache.Folder() + "/nothing.webcache"), "");
    // With the disk cache off nothing is written, and an older cache stays.
    ASSERT_TRUE(cache.Write({Row("x")}, "big cat", false));
    EXPECT_EQ(Read(cache.Folder() + "/big+cat.webcache"), EncodeResultList(rows));

    bool searching = false, ended = false, verifying = false;
    std::vector<ResultRow> shown;
    int shows = 0;
    WebResultCache::Hooks hooks{[&] { return searching; }, [&] { ended = true; searching = false; },
                                [&] { return verifying; },
                                [&](std::vector<ResultRow> &&r) { shown = std::move(r); ++shows; }};

    EXPECT_EQ(cache.OnQueryBoxChanged("big cat", CacheMode::Always, hooks), WebResultCache::Recall::Loaded);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].subItems, rows[1].subItems);
    EXPECT_EQ(shown[1].image, 2);
    EXPECT_EQ(shown[1].caption, "2");
    EXPECT_EQ(cache.OnQueryBoxChanged("big ca", CacheMode::Always, hooks), WebResultCache::Recall::Nothing);
    EXPECT_EQ(cache.OnQueryBoxChanged("big cat", CacheMode::CurrentSession, hooks), WebResultCache::Recall::Nothing);
    EXPECT_EQ(cache.OnQueryBoxChanged("big cat", CacheMode::Never, hooks), WebResultCache::Recall::Nothing);
    EXPECT_EQ(shows, 1);

    // A running search is ended before the cache is shown; a verification refuses the load.
    searching = true;
    EXPECT_EQ(cache.OnQueryBoxChanged("nothing", CacheMode::Always, hooks), WebResultCache::Recall::Loaded);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(shown.empty());
    verifying = true;
    EXPECT_EQ(cache.OnQueryBoxChanged("big cat", CacheMode::Always, hooks), WebResultCache::Recall::Refused);
    verifying = false;

    // A query holding "?" and "/" is stored inside the cache folder and recalled.
    ASSERT_TRUE(cache.Write(rows, "what is a/b?", true));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(cache.Folder() + "/what+is+a.b..webcache")));
    EXPECT_EQ(cache.OnQueryBoxChanged("what is a/b?", CacheMode::Always, hooks), WebResultCache::Recall::Loaded);
    EXPECT_EQ(shown.size(), 2u);

    // An empty box deletes the file named ".webcache".
    Write(cache.Folder() + "/.webcache", "x\r\n");
    EXPECT_EQ(cache.OnQueryBoxChanged("  ", CacheMode::Always, hooks), WebResultCache::Recall::DeletedEmptyName);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(cache.Folder() + "/.webcache")));
}

TEST(ListtoolsCache, EndOfRunDeletesOnlyPlainCacheFilesUnlessAlways) {
    QTemporaryDir dir;
    WebResultCache cache(dir.path().toStdString());
    ASSERT_TRUE(cache.Write({Row("a")}, "a", true));
    ASSERT_TRUE(cache.Write({Row("b")}, "b", true));
    Write(cache.Folder() + "/UPPER.WEBCACHE", "");
    Write(cache.Folder() + "/keep.txt", "");
    ASSERT_TRUE(QDir(QString::fromStdString(cache.Folder())).mkdir("sub.webcache"));

    EXPECT_EQ(cache.EndOfRun(CacheMode::Always), 0);
    EXPECT_EQ(cache.EndOfRun(CacheMode::CurrentSession), 3);
    QDir folder(QString::fromStdString(cache.Folder()));
    EXPECT_EQ(folder.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot), QStringList({"keep.txt", "sub.webcache"}));
    ASSERT_TRUE(cache.Write({Row("c")}, "c", true));
    EXPECT_EQ(cache.EndOfRun(CacheMode::Never), 1);
}

// Two runs of the program under each cache mode: the search writes its cache and (unless
// "Never") its query enters the history; the end of the run keeps or deletes them.
TEST(ListtoolsCache, ThreeModesAcrossTwoRuns) {
    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(mode);
        QTemporaryDir dir;
        DataFolders folders{dir.path().toStdString()};
        ASSERT_TRUE(CreateDataFolders(folders));
        WebResultCache cache(folders.Cache());
        std::vector<ResultRow> shown;
        WebResultCache::Hooks hooks;
        hooks.show = [&](std::vector<ResultRow> &&r) { shown = std::move(r); };

        // Run 1.
        {
            Histories h;
            LoadHistoriesAtStart(folders, h);
            h.web.editText = "big cat";
            if (mode != 2) TMisc::PushHistory(h.web);
            ASSERT_TRUE(WriteWebSearchCache(folders.root, {Row("lion")}, "big+cat", true));
            EXPECT_TRUE(QFile::exists(QString::fromStdString(cache.Folder() + "/big+cat.webcache")));
            EXPECT_EQ(cache.OnQueryBoxChanged("big cat", CacheModeFromInt(mode), hooks) == WebResultCache::Recall::Loaded,
                      mode == 0);
            ASSERT_TRUE(SaveHistoriesAtEnd(folders, h));
            DeleteSessionFiles(folders, mode, 0);
        }
        // Run 2.
        {
            Histories h;
            LoadHistoriesAtStart(folders, h);
            bool inHistory = std::find(h.web.entries.begin(), h.web.entries.end(), "big cat") != h.web.entries.end();
            EXPECT_EQ(inHistory, mode == 0);
            EXPECT_EQ(QFile::exists(QString::fromStdString(cache.Folder() + "/big+cat.webcache")), mode == 0);
            shown.clear();
            EXPECT_EQ(cache.OnQueryBoxChanged("big cat", CacheModeFromInt(mode), hooks) == WebResultCache::Recall::Loaded,
                      mode == 0);
            if (mode == 0) {
                ASSERT_EQ(shown.size(), 1u);
                EXPECT_EQ(shown[0].subItems[0], "lion");
            }
        }
    }
}
