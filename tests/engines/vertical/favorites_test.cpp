// The favorites model: adding from every list, removal, duplicates, headers, the address of
// each action, and the files across several runs.
#include "engines/vertical/Favorites.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace qm {
namespace {

ResultRow Row(std::vector<std::string> subs, int image = -1, std::string caption = "7") {
    ResultRow r;
    r.caption = std::move(caption);
    r.image = image;
    r.subItems = std::move(subs);
    return r;
}

class FavoritesTest : public ::testing::Test {
protected:
    std::unique_ptr<Favorites> Run() {
        Favorites::Host h;
        const std::string cache = dir.path().toStdString();
        h.cacheFolder = [cache] { return cache; };
        h.confirm = [this] { return answer; };
        h.alert = [this](const std::string &m) { alerts.push_back(m); };
        h.open = [this](const std::string &a) { opened.push_back("open " + a); };
        h.copy = [this](const std::string &a) { opened.push_back("copy " + a); };
        h.requestDetail = [this](const std::string &a, DetailAction d) {
            opened.push_back("detail" + std::to_string(int(d)) + " " + a);
        };
        auto f = std::make_unique<Favorites>(h);
        f->Load();
        return f;
    }
    std::string FileBytes(const char *name) {
        std::stringstream s;
        s << std::ifstream(dir.path().toStdString() + "/" + name, std::ios::binary).rdbuf();
        return s.str();
    }
    QTemporaryDir dir;
    bool answer = true;
    std::vector<std::string> alerts, opened;
};

TEST_F(FavoritesTest, AddFromEveryListAndHeaders) {
    auto f = Run();
    struct Case {
        FavoritesList list;
        ResultListModel *source;
        std::vector<std::string> subs;
        const char *empty, *one, *two;
    };
    std::unique_ptr<ResultListModel> web(ResultListModel::CreateWebList()), news(CreateNewsList()),
        prg(CreateSoftwareList());
    const std::vector<Case> cases = {
        {FavoritesList::Web, web.get(), {"Site", "http://a.example/", "Altavista", "d", ""}, "Site", "1 Site", "2 Sites"},
        {FavoritesList::News, news.get(), {"T", "alt.cats", "GoogleNews", "d", "http://n.example/1"}, "Articles",
         "1 Article", "2 Articles"},
        {FavoritesList::Software, prg.get(), {"N", "Free", "1M", "c", "TuCows", "d", "http://u/", "http://h/"},
         "software", "1 software", "2 softwares"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(f->Header(c.list), c.empty);
        c.source->AppendRow(Row(c.subs, 3));
        // The "Nothing found for" notice has no number and is never added.
        c.source->AppendRowAsIs(Row({"Nothing found for < x >..."}, -1, ""));
        c.source->SelectRow(0);
        c.source->SelectRow(1);
        EXPECT_EQ(f->AddSelection(c.list, *c.source), 1);
        EXPECT_EQ(f->Header(c.list), c.one);
        // The same row again: no duplicate test, numbered on.
        EXPECT_EQ(f->AddSelection(c.list, *c.source), 1);
        EXPECT_EQ(f->Header(c.list), c.two);
        const auto &rows = f->List(c.list).Rows();
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[1].caption, "2");
        EXPECT_EQ(rows[1].image, 3);
        EXPECT_EQ(rows[1].subItems, c.subs);
    }
    // Daily-news rows carry no number.
    EXPECT_EQ(f->AddRows(FavoritesList::Daily, {Row({"Headline", "FR", "Le Monde", "12/05", "http://d/"})}), 1);
    EXPECT_EQ(f->List(FavoritesList::Daily).Row(0).caption, "");
    EXPECT_EQ(f->Title(FavoritesList::Daily), "My Favorites : daily news articles");
}

TEST_F(FavoritesTest, RemoveToggleAndSort) {
    auto f = Run();
    auto &web = f->List(FavoritesList::Web);
    for (const char *s : {"e", "d", "c", "b", "a"})
        f->AddRows(FavoritesList::Web, {Row({s, std::string("http://") + s + "/", "", "", ""})});
    web.SelectRow(1);
    web.SelectRow(2);
    answer = false;
    EXPECT_FALSE(f->RemoveSelected(FavoritesList::Web));
    EXPECT_EQ(web.Count(), 5);
    answer = true;
    EXPECT_TRUE(f->RemoveSelected(FavoritesList::Web));
    ASSERT_EQ(web.Count(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(web.Row(i).caption, std::to_string(i + 1));
    EXPECT_EQ(web.Row(1).subItems[0], "b");
    f->ToggleAll(FavoritesList::Web);
    EXPECT_EQ(web.SelectedRows().size(), 3u);
    f->SortByColumn(FavoritesList::Web, 1);
    EXPECT_EQ(web.Row(0).subItems[0], "a");
    EXPECT_EQ(web.Row(0).caption, "1");
    // The sort was written at once.
    EXPECT_EQ(FileBytes("Favorites_WEB.INI").substr(0, 3), "a\r\n");
}

TEST_F(FavoritesTest, AddressOfEachAction) {
    const ResultRow sponsored = Row({"S", "http://loc.example/", "Src", "D", "http://click.example/?u=1"});
    const ResultRow cnet = Row({"N", "", "", "", "c|net", "", "http://dl.example/0-1.html", ""});
    const ResultRow cows = Row({"N", "", "", "", "TuCows", "", "http://t.example/f.zip", "http://home.example/"});
    const ResultRow hostile = Row({"S", "javascript:alert(1)", "", "", ""});
    struct Case {
        FavoritesList list;
        ResultRow row;
        FavoriteAction action;
        std::string address;
        bool viaDetail;
    };
    const std::vector<Case> cases = {
        {FavoritesList::Web, sponsored, FavoriteAction::View, "http://loc.example/", false},
        {FavoritesList::Web, sponsored, FavoriteAction::Open, "http://click.example/?u=1", false},
        {FavoritesList::Web, sponsored, FavoriteAction::Cut, "http://click.example/?u=1", false},
        {FavoritesList::Web, hostile, FavoriteAction::View, "", false},
        {FavoritesList::Software, cnet, FavoriteAction::Download, "http://dl.example/0-1.html", true},
        {FavoritesList::Software, cnet, FavoriteAction::Visit, "http://dl.example/0-1.html", true},
        {FavoritesList::Software, cows, FavoriteAction::Download, "http://t.example/f.zip", false},
        {FavoritesList::Software, cows, FavoriteAction::Visit, "http://home.example/", false},
        {FavoritesList::Software, cows, FavoriteAction::View, "http://t.example/f.zip", false},
        {FavoritesList::News, Row({"T", "g", "", "", "http://n.example/a"}), FavoriteAction::View,
         "http://n.example/a", false},
        {FavoritesList::Daily, Row({"I", "", "", "", "http://d.example/"}), FavoriteAction::View, "http://d.example/",
         false},
    };
    for (const auto &c : cases) {
        const FavoriteTarget t = FavoriteAddress(c.list, c.row, c.action);
        EXPECT_EQ(t.address, c.address) << int(c.list) << " " << int(c.action);
        EXPECT_EQ(t.viaDetail, c.viaDetail) << int(c.list) << " " << int(c.action);
    }
    // Perform: nothing without a selection; a C|NET row goes to the detail client.
    auto f = Run();
    f->AddRows(FavoritesList::Software, {cnet, cows});
    EXPECT_FALSE(f->Perform(FavoritesList::Software, FavoriteAction::Visit));
    f->List(FavoritesList::Software).SelectRow(0);
    EXPECT_TRUE(f->Perform(FavoritesList::Software, FavoriteAction::Visit));
    f->List(FavoritesList::Software).ClearSelection();
    f->List(FavoritesList::Software).SelectRow(1);
    EXPECT_TRUE(f->Perform(FavoritesList::Software, FavoriteAction::Cut));
    EXPECT_EQ(opened, (std::vector<std::string>{"detail2 http://dl.example/0-1.html", "copy http://t.example/f.zip"}));
}

TEST_F(FavoritesTest, FilesAcrossRuns) {
    {
        auto f = Run();
        f->AddRows(FavoritesList::Web, {Row({"Caf\xe9", "http://c.example/", "Src", "D\xe9", ""}, 3)});
        f->AddRows(FavoritesList::News, {Row({"T", "alt.x", "G", "D", "http://n/"})});
    }  // no end-of-run write: the adds were written already
    EXPECT_EQ(FileBytes("Favorites_WEB.INI"), "Caf\xe9\r\nhttp://c.example/\r\nSrc\r\nD\xe9\r\n\r\n3\r\n");
    for (int run = 0; run < 3; ++run) {
        auto f = Run();
        ASSERT_EQ(f->List(FavoritesList::News).Count(), 1);
        EXPECT_EQ(f->List(FavoritesList::Web).Row(0).image, 3);
        EXPECT_TRUE(f->Save());
    }
    EXPECT_EQ(FileBytes("Favorites_WEB.INI"), "Caf\xe9\r\nhttp://c.example/\r\nSrc\r\nD\xe9\r\n\r\n3\r\n");
    // A last record without its image line is lost on loading.
    std::ofstream(dir.path().toStdString() + "/Favorites_NEWS.INI", std::ios::binary)
        << "A\r\nB\r\nC\r\nD\r\nE\r\n-1\r\nF\r\nG\r\nH\r\nI\r\nJ\r\n";
    EXPECT_EQ(Run()->List(FavoritesList::News).Count(), 1);
}

TEST_F(FavoritesTest, UnreadableFileIsReportedAndKept) {
    const std::string path = dir.path().toStdString() + "/Favorites_PRG.INI";
    std::filesystem::create_directory(path);  // exists, cannot be read as a file
    auto f = Run();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_TRUE(f->Locked(FavoritesList::Software));
    f->AddRows(FavoritesList::Software, {Row({"N", "", "", "", "", "", "http://u/", ""})});
    EXPECT_FALSE(f->Save(FavoritesList::Software));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_FALSE(f->Locked(FavoritesList::Web));
}

}  // namespace
}  // namespace qm
