// The channel table, the five trees and the section-to-node mapping.
#include "news/NewsChannels.h"

#include <gtest/gtest.h>

using namespace qm;

TEST(NewsTables, ChannelRowsAndHosts) {
    const auto t = BuildNewsChannelTable();
    ASSERT_EQ(t.size(), 42u);
    struct Row {
        int index, section, group;
        const char *name, *source, *pathEnd;
    };
    for (const Row &r : std::vector<Row>{{0, 0, 0, "ABC World News", "ABC News", "/sections/world/"},
                                         {5, 6, 0, "The Register UK", "The Register", ".example/"},
                                         {7, 5, 0, "ABC US", "ABC News", "/sections/US/"},
                                         {14, 14, 1, "Radio Canada News", "Radio Canada", "/nouvelles/index.asp"},
                                         {24, 24, 2, "Tagesblick.de Bucher", "CNN", "/1250506.html"},
                                         {25, 25, 4, "NU Algemeen nieuws", "Nieuwsblik.nl", "/nieuws"},
                                         {33, 33, 3, "CNN Gente", "CNN", "/gente/"},
                                         {34, 37, 0, "The Australian news", "The Australian", "National^^TEXT,00.html"},
                                         {41, 44, 0, "Yahoo Canada", "Yahoo Canada", "/35/"}}) {
        const NewsChannel &c = t[size_t(r.index)];
        EXPECT_EQ(c.section, r.section) << r.index;
        EXPECT_EQ(c.group, r.group) << r.index;
        EXPECT_EQ(c.name, r.name) << r.index;
        EXPECT_EQ(c.source, r.source) << r.index;
        EXPECT_TRUE(c.pageUrl.size() >= strlen(r.pathEnd) &&
                    c.pageUrl.compare(c.pageUrl.size() - strlen(r.pathEnd), std::string::npos, r.pathEnd) == 0)
            << c.pageUrl;
        EXPECT_TRUE(c.enabled);
    }
    // Only the German pages lie on another host than their home page.
    for (size_t i = 0; i < t.size(); ++i)
        EXPECT_EQ(PageRoot(t[i].pageUrl) != PageRoot(t[i].homeUrl), i >= 17 && i <= 24) << i;
}

TEST(NewsTables, TreesAndTheSectionToNodeMapping) {
    const char *roots[5] = {"WHAT'S NEW TODAY?", "LES ACTUALITES DU JOUR", "WAS IST HEUTE NEU?", "NUEVAS DE AHORA", "(DUTCH)"};
    const size_t children[5] = {9, 7, 8, 5, 4};
    for (int g = 0; g < 5; ++g) {
        EXPECT_STREQ(SectionTree(g).root, roots[g]);
        EXPECT_EQ(SectionTree(g).children.size(), children[g]);
    }
    struct Map {
        int group, section, node;
    };
    for (const Map &m : std::vector<Map>{{0, 0, 1}, {0, 1, 2}, {0, 2, 3}, {0, 3, 4}, {0, 4, 4}, {0, 5, 6}, {0, 6, 5},
                                         {0, 7, 5}, {0, 37, 7}, {0, 38, 8}, {0, 39, 8}, {0, 40, 9}, {0, 44, 9},
                                         {1, 8, 1}, {1, 13, 6}, {1, 14, 7}, {1, 16, 7}, {2, 17, 1}, {2, 24, 8},
                                         {3, 29, 1}, {3, 33, 2}, {3, 32, 3}, {3, 31, 4}, {3, 30, 5}, {4, 25, 1},
                                         {4, 28, 4}, {0, 8, 0}, {1, 0, 0}, {0, 35, 0}})
        EXPECT_EQ(NodeOfSection(m.group, m.section), m.node) << m.group << "/" << m.section;
    EXPECT_EQ(CompletionTotal(CompletionCounterOf(0, 5)), 2);
    EXPECT_EQ(CompletionTotal(CompletionCounterOf(1, 7)), 3);
    EXPECT_EQ(CompletionTotal(CompletionCounterOf(0, 8)), 2);
    EXPECT_EQ(CompletionTotal(CompletionCounterOf(0, 9)), 5);
    EXPECT_EQ(CompletionCounterOf(0, 4), -1);
    EXPECT_EQ(ParseNewsGroup("Spanish"), 3);
    EXPECT_EQ(ParseNewsGroup("4"), 4);
    EXPECT_EQ(ParseNewsGroup("klingon"), -1);
    EXPECT_EQ(NewsGroupOfLanguage("French"), 1);
}
