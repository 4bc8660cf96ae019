// The catalogue table, the sub-category caches (one spelling, a name with a slash, an empty
// refresh) and the conversion of a title to a software favorite.
#include "engines/vertical/Catalogue.h"
#include "engines/vertical/CatalogueBrowser.h"
#include "engines/web/HttpClientAdapter.h"
#include "fakeweb/Server.h"
#include "net/NetConfig.h"
#include "net/ServiceHosts.h"

#include <QCoreApplication>
#include "engines/vertical/VerticalReaders.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>

namespace qm {
namespace {

TEST(Catalogue, TableOrderNamesAndAddresses) {
    const auto &t = CatalogueTable();
    ASSERT_EQ(t.size(), 225u);
    const auto cats = CatalogueCategories();
    ASSERT_EQ(cats.size(), 17u);
    EXPECT_EQ(cats.front(), "MP3 & Audio");
    EXPECT_EQ(cats.back(), "Wallpaper");
    struct Case {
        const char *category;
        size_t count;
        int position;
        const char *name;
    };
    for (const Case &c : std::vector<Case>{{"Business & Finance", 15, 7, "Personnal Finance"},
                                           {"ActiveX", 9, 1, "New release"},
                                           {"Screensavers", 13, 2, "Animals & NAture"},
                                           {"Desktop themes", 13, 4, "Catoon & Anime"},
                                           {"Desktop enhancements", 13, 10, "Startup/shutdown screens"},
                                           {"Internet", 25, 24, "Search Tools"}}) {
        const auto subs = CatalogueSubcategories(c.category);
        ASSERT_EQ(subs.size(), c.count) << c.category;
        EXPECT_STREQ(t[size_t(subs[size_t(c.position)])].subcategory, c.name);
    }
    std::set<std::string> paths;
    const std::regex form(R"(/downloads/[0-9]+([,-][0-9]+)+\.html\?tag=[a-z]+)");
    for (const auto &e : t) {
        EXPECT_TRUE(std::regex_match(e.path, form)) << e.path;
        paths.insert(e.path);
    }
    EXPECT_EQ(paths.size(), 225u);
    EXPECT_TRUE(IsMostPopular("MOST popular"));
    EXPECT_FALSE(IsMostPopular("New releases"));
    EXPECT_EQ(FindCatalogueEntry("Games", "Kids"), 13 + 6);
    EXPECT_EQ(FindCatalogueEntry("Games", "kids"), -1);
}

TEST(Catalogue, CachesAndFavorites) {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    const std::string cat = "Desktop enhancements", sub = "Startup/shutdown screens";
    EXPECT_FALSE(IsCatalogueCached(root, cat, sub));
    ResultRow title{"1", -1, {"Boot\xe9", "Free", "1.2MB", "85%", "1200", "12/01/02", "Nice", "http://c/0-1.html"}};
    ASSERT_TRUE(WriteCatalogueCache(root, cat, sub, {title}));
    const std::string file = root + "/Cache/Software/Desktop enhancements/Startup.shutdown screens.softwares";
    EXPECT_EQ(CatalogueCacheFile(root, cat, sub), file);
    std::stringstream bytes;
    bytes << std::ifstream(file, std::ios::binary).rdbuf();
    EXPECT_EQ(bytes.str(), "Boot\xe9\r\nFree\r\n1.2MB\r\n85%\r\n1200\r\n12/01/02\r\nNice\r\nhttp://c/0-1.html\r\n");
    std::vector<ResultRow> rows;
    ASSERT_TRUE(LoadCatalogueCache(root, cat, sub, rows));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].subItems, title.subItems);
    EXPECT_EQ(rows[0].caption, "1");

    // An empty refresh: the notice is no title, the file is empty, marked but not loaded.
    ASSERT_TRUE(WriteCatalogueCache(root, cat, "Themes", {CatalogueNothingFoundRow("")}));
    EXPECT_TRUE(IsCatalogueCached(root, cat, "Themes"));
    EXPECT_EQ(std::filesystem::file_size(CatalogueCacheFile(root, cat, "Themes")), 0u);
    EXPECT_FALSE(LoadCatalogueCache(root, cat, "Themes", rows));
    EXPECT_TRUE(RemoveCatalogueCache(root, cat, "Themes"));
    EXPECT_FALSE(RemoveCatalogueCache(root, cat, "Themes"));

    const ResultRow f = CatalogueToFavorite(title);
    EXPECT_EQ(f.subItems, (std::vector<std::string>{"Boot\xe9", "Free", "1.2MB", "85% / 1200  (rated/#downloads)",
                                                    "C|NET", "Nice", "http://c/0-1.html", ""}));
}

std::string Listing(const std::string &id, const std::string &name, const std::string &rating) {
    return "<td class=\"f\"><a href=\"/downloads/0-" + id + ".html\">" + name + "</a><span class=\"d\">About " +
           name + "</span><td class=\"t\">Freeware</td><span class=\"s\"> 12/05/02 </span><a href=\"/r\">" +
           rating + "</a><span class=\"n\">1,234</span><td class=\"z\">99K</td>\n";
}

std::string Popular(const std::string &id, const std::string &name, const std::string &downloads) {
    return "<a href=\"/downloads/0-" + id + ".html\">" + name + "</a><br>Plays " + name +
           " well.X<br><b>OS:</b> Win98<br><b>License:</b> Shareware<br><td w=2>a</td><td w=2>b</td><td w=2>" +
           downloads + "</td>\n";
}

TEST(CatalogueReaders, BothLayouts) {
    const std::string host = "http://cat.example";
    // Ordinary: the Date is the text the search passes over; a rating without "%" is empty;
    // a name listed again is skipped.
    const auto o = ParseCataloguePage(false, host,
                                      Listing("1", "Alpha", "85%") + Listing("2", "Beta", "n/a") +
                                          Listing("3", "ALPHA", "90%") +
                                          "<a href=/downloads/0,1-0-2.html?tag=dir&pg=2&>2</a>");
    ASSERT_EQ(o.rows.size(), 2u);
    EXPECT_EQ(o.rows[0].subItems, (std::vector<std::string>{"Alpha", "Freeware", "99K", "85%", "1234", "12/05/02",
                                                            "About Alpha", host + "/downloads/0-1.html"}));
    EXPECT_EQ(o.rows[1].subItems[kCatRated], "");
    EXPECT_EQ(o.pages, std::vector<std::string>{host + "/downloads/0,1-0-2.html?tag=dir&pg=2&"});

    // Most popular: nothing before ">buy<"; the list ends at the first link to another page
    // of the list; only such links are queued.
    const auto p = ParseCataloguePage(
        true, host,
        Popular("0", "Before", "1") + "<td> >Buy</td>" + Popular("1", "Player", "12,345") + Popular("2", "player", "9") +
            Popular("3", "Burner", "77") + "<a href=\"/downloads/0-9.list.next.html\">next</a>" +
            Popular("4", "After", "5") + "<a href=\"/downloads/0-8.other.html\">x</a>");
    ASSERT_EQ(p.rows.size(), 2u);
    EXPECT_EQ(p.rows[0].subItems, (std::vector<std::string>{"Player", "Shareware", "", "", "12345", "",
                                                            "Plays Player well.  -  Win98",
                                                            host + "/downloads/0-1.html"}));
    EXPECT_EQ(p.rows[1].subItems[kCatName], "Burner");
    EXPECT_EQ(p.pages, std::vector<std::string>{host + "/downloads/0-9.list.next.html"});
}

// Updates over the fake web: every page read and cached, a column click rewrites the cache,
// a click on another sub-category ends a running update and keeps what it had.
TEST(CatalogueBrowser, UpdateSortAndInterruption) {
    static fakeweb::Server web;
    if (!web.running()) ASSERT_TRUE(web.start(0));
    ResetServiceHosts();
    SetConnectTo("");
    RouteServiceHostsTo(web.port());
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    VerticalHost host;
    host.makeClient = MakeHttpClientFactory();
    host.dataRoot = [root] { return root; };
    host.mute = [] { return true; };
    {
        CatalogueBrowser b(host);
        ASSERT_TRUE(b.Update("Games", "Kids"));
        EXPECT_EQ(b.PagesFetched(), 3);
        const int n = b.List().Count();
        ASSERT_EQ(n, 10);  // 12 titles, the first one again on pages 2 and 3
        std::vector<ResultRow> cached;
        ASSERT_TRUE(LoadCatalogueCache(root, "Games", "Kids", cached));
        EXPECT_EQ(int(cached.size()), n);

        b.SortByColumn(int(kCatDownloads) + 1);
        ASSERT_TRUE(LoadCatalogueCache(root, "Games", "Kids", cached));
        for (size_t i = 1; i < cached.size(); ++i)
            EXPECT_GE(std::atol(cached[i - 1].subItems[kCatDownloads].c_str()),
                      std::atol(cached[i].subItems[kCatDownloads].c_str()));
        EXPECT_EQ(cached[0].subItems, b.List().Row(0).subItems);

        // A click on "Kids" while "Action" updates: the update ends with what it had, and
        // the clicked sub-category is shown from its cache.
        bool clicked = false;
        QObject::connect(&b.List(), &QAbstractItemModel::rowsInserted, &b, [&] {
            if (clicked || b.Subcategory() != "Action") return;
            clicked = true;
            EXPECT_TRUE(b.ShowCached("Games", "Kids"));
        });
        ASSERT_TRUE(b.Update("Games", "Action"));
        EXPECT_TRUE(clicked);
        EXPECT_FALSE(b.Updating());
        EXPECT_EQ(b.Subcategory(), "Kids");
        ASSERT_TRUE(LoadCatalogueCache(root, "Games", "Action", cached));
        EXPECT_LT(cached.size(), 10u);
        EXPECT_FALSE(b.Update("Games", "Nope"));
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    RouteServiceHostsTo(0);
}

}  // namespace
}  // namespace qm
