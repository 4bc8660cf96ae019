// The category table: its counts, the telling rows, the entries that are never shown, leaf
// names distinct by cache file, and what each level of the list shows.
#include "smart/CategoryTable.h"
#include "smart/SmartCategoryModel.h"

#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace qm {
namespace {

size_t Tabs(const std::string &e) { return size_t(std::count(e.begin(), e.end(), '\t')); }

TEST(SmartCategories, CountsAndTellingRows) {
    const auto &t = SmartCategoryTable();
    ASSERT_EQ(t.size(), 3570u);
    size_t tops = 0, subs = 0, deeper = 0;
    for (const auto &e : t) (Tabs(e) == 0 ? tops : Tabs(e) == 1 ? subs : deeper)++;
    EXPECT_EQ(tops, 15u);
    EXPECT_EQ(subs, 162u);
    EXPECT_EQ(deeper, 3393u);
    EXPECT_EQ(t[0], "Books");
    EXPECT_EQ(t[1], "Books\tArts & Photography");
    EXPECT_EQ(t[2], "Books\tArts & Photography\tArchitecture Books");

    const std::map<std::string, std::pair<size_t, size_t>> expected = {  // subcategories, leaves
        {"Books", {17, 384}}, {"Computing", {10, 260}}, {"Education & Career", {12, 172}},
        {"Entertainment", {8, 224}}, {"Esoterism", {9, 116}}, {"Finance", {9, 168}}, {"Health", {12, 250}},
        {"Homelife", {12, 197}}, {"Music", {10, 246}}, {"Reference", {10, 238}}, {"Shopping", {11, 156}},
        {"Small Business Directory", {7, 102}}, {"Sports", {11, 410}}, {"Transport", {12, 282}},
        {"Travel", {11, 171}}};
    const auto topNames = SmartTops();
    ASSERT_EQ(topNames.size(), 15u);
    size_t shownLeaves = 0;
    for (const auto &top : topNames) {
        ASSERT_TRUE(expected.count(top)) << top;
        const auto subNames = SmartSubcategories(top);
        size_t leaves = 0;
        for (const auto &s : subNames) leaves += SmartLeaves(top, s).size();
        EXPECT_EQ(subNames.size(), expected.at(top).first) << top;
        EXPECT_EQ(leaves, expected.at(top).second) << top;
        shownLeaves += leaves;
    }
    EXPECT_EQ(shownLeaves, 3376u);
    // The Part's spellings, misspellings included.
    const auto ent = SmartSubcategories("Entertainment");
    EXPECT_NE(std::find(ent.begin(), ent.end(), "Familly Attractions"), ent.end());
    const auto tr = SmartSubcategories("transport");  // case ignored
    EXPECT_EQ(tr.at(2), "Balooning");

    const auto hw = SmartLeaves("Computing", "Computer Hardware");
    ASSERT_EQ(hw.size(), 24u);
    EXPECT_EQ(std::vector<std::string>(hw.begin(), hw.begin() + 5),
              (std::vector<std::string>{"CD Burners", "CDR", "Computer Buses", "Computer Cables", "Computer Parts"}));
    EXPECT_NE(std::find(hw.begin(), hw.end(), "Hard Drives"), hw.end());
}

TEST(SmartCategories, NeverShownEntriesAndDistinctCaches) {
    const auto &t = SmartCategoryTable();
    const auto topList = SmartTops();
    const std::set<std::string> topSet(topList.begin(), topList.end());
    auto topOf = [](const std::string &e) { return e.substr(0, e.find('\t')); };
    size_t orphanSubs = 0, orphanLeaves = 0, trailing = 0;
    for (const auto &e : t) {
        if (Tabs(e) == 1 && !topSet.count(topOf(e))) ++orphanSubs;
        if (Tabs(e) == 2 && !topSet.count(topOf(e))) ++orphanLeaves;
        if (Tabs(e) == 3) {
            EXPECT_EQ(e.back(), '\t');
            ++trailing;
        }
        EXPECT_LE(Tabs(e), 3u);
    }
    EXPECT_EQ(orphanSubs, 1u);
    EXPECT_EQ(orphanLeaves, 14u);
    EXPECT_EQ(trailing, 3u);

    // Every shown leaf has a cache of its own, case ignored; names are trimmed and not empty.
    std::set<std::string> names;
    for (const auto &top : topList)
        for (const auto &s : SmartSubcategories(top))
            for (const auto &leaf : SmartLeaves(top, s)) {
                EXPECT_FALSE(leaf.empty());
                std::string file = SmartCacheFileName(leaf);
                std::transform(file.begin(), file.end(), file.begin(), [](unsigned char c) { return char(std::tolower(c)); });
                EXPECT_TRUE(names.insert(file).second) << top << " / " << s << " / " << leaf;
            }
    EXPECT_EQ(names.size(), 3376u);
    EXPECT_EQ(SmartCacheFileName("Hard Drives"), "Hard+Drives.SMRCache");
}

TEST(SmartCategories, LevelsMatchWholeNamesOnly) {
    // A top merely containing another's name, and a subcategory that merely begins with one.
    const std::vector<std::string> table = {
        "Computing", "Computing\tComputer Hardware", "Computing\tComputer Hardware\tCDR",
        "Computing\tComputer Hardware Extra", "Computing\tComputer Hardware Extra\tOther",
        "My Computing", "My Computing\tElsewhere", "Computing\tComputer Hardware\tBad\t",
        "Lost\tOrphan", "Lost\tOrphan\tLeaf"};
    EXPECT_EQ(SmartTops(table), (std::vector<std::string>{"Computing", "My Computing"}));
    EXPECT_EQ(SmartSubcategories("computing", table),
              (std::vector<std::string>{"Computer Hardware", "Computer Hardware Extra"}));
    EXPECT_EQ(SmartLeaves("Computing", "Computer Hardware", table), std::vector<std::string>{"CDR"});

    struct Case {
        const char *path;
        bool found;
        int level;
        const char *leaf;
    };
    for (const Case &c : {Case{"", true, 0, ""}, Case{"computing", true, 1, ""}, Case{"Shopping/Music/Video", true, 2, ""},
                          Case{"Computing/Computer Hardware/hard drives", true, 3, "Hard Drives"},
                          Case{"Collecting/Stamps", false, 0, ""}, Case{"Computing/Nope", false, 0, ""},
                          Case{"Computing/Computer Hardware/Hard Drives/x", false, 0, ""}}) {
        const SmartPlace p = FindSmartPlace(c.path);
        EXPECT_EQ(p.found, c.found) << c.path;
        if (!c.found) continue;
        EXPECT_EQ(p.level, c.level) << c.path;
        EXPECT_EQ(p.leaf, c.leaf) << c.path;
    }
}

TEST(SmartCategories, ModelBrowsesAndMarksCachedLeaves) {
    QTemporaryDir tmp;
    const std::string root = tmp.path().toStdString();
    SmartCategoryModel m(root);
    m.ShowTops();
    EXPECT_EQ(m.Level(), 0);
    EXPECT_EQ(m.Count(), 15);
    EXPECT_TRUE(m.Top().empty() && m.Sub().empty());
    ASSERT_TRUE(m.Descend(1));  // Computing
    EXPECT_EQ(m.Top(), "Computing");
    EXPECT_EQ(m.Level(), 1);
    ASSERT_EQ(m.At(0).caption, "Computer Hardware");
    ASSERT_TRUE(m.Descend(0));
    EXPECT_EQ(m.Level(), 2);
    EXPECT_EQ(m.Count(), 24);
    EXPECT_FALSE(m.AnyCached());
    EXPECT_FALSE(m.Descend(3));  // a leaf opens, it does not descend

    // A cache file appears: showing the leaves again marks it.
    std::filesystem::create_directories(SmartCacheFolder(root));
    std::ofstream(SmartCachePath(root, "CDR")) << "";
    m.ShowLeaves();
    EXPECT_TRUE(m.At(1).cached);
    EXPECT_FALSE(m.At(0).cached);
    EXPECT_TRUE(m.data(m.index(1), SmartCategoryModel::CachedRole).toBool());
    m.ShowSubcategories();
    EXPECT_EQ(m.Level(), 1);
    EXPECT_TRUE(m.Sub().empty());
}

}  // namespace
}  // namespace qm
