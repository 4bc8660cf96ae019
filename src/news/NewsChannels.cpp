#include "news/NewsChannels.h"

#include "net/ServiceHosts.h"
#include "toolkit/Misc.h"

namespace qm {

namespace {

// The German news site's and the Dutch news site's own names.
constexpr const char *kGermanSite = "Tagesblick.de";
constexpr const char *kDutchSite = "Nieuwsblik.nl";

std::string Site(const char *key) { return "http://" + ServiceHostFor(key); }

}  // namespace

std::vector<NewsChannel> BuildNewsChannelTable() {
    const std::string abc = Site("news-abc"), reg = Site("news-register"), tf1 = Site("news-tf1"),
                      rc = Site("news-radiocanada"), de = Site("news-de"), dePages = Site("news-de-pages"),
                      nu = Site("news-nu"), es = Site("news-cnn-es"), au = Site("news-australian"),
                      bbc = Site("news-bbc"), yca = Site("news-yahoo-ca");
    const std::string g = std::string(kGermanSite) + " ";
    struct Row {
        const char *name;
        std::string host;
        const char *page;  // "" for the home page
        std::string homeHost;
        std::string source;
        int section;
        int group;
    };
    const Row rows[kNewsChannelCount] = {
        {"ABC World News", abc, "/sections/world/", abc, "ABC News", 0, kEnglish},
        {"ABC Entertainment", abc, "/sections/entertainment/", abc, "ABC News", 1, kEnglish},
        {"ABC Science & Technology", abc, "/sections/scitech/", abc, "ABC News", 2, kEnglish},
        {"ABC Health", abc, "/sections/living/", abc, "ABC News", 3, kEnglish},
        {"ABC LifeStyle", abc, "/sections/gma/", abc, "ABC News", 4, kEnglish},
        {"The Register UK", reg, "", reg, "The Register", 6, kEnglish},
        {"The Register UK", reg, "/content/8/index.html", reg, "The Register", 7, kEnglish},
        {"ABC US", abc, "/sections/US/", abc, "ABC News", 5, kEnglish},
        {"TF1 Monde", tf1, "/news/monde/", tf1, "TF1", 8, kFrench},
        {"TF1 People", tf1, "/news/people/", tf1, "TF1", 9, kFrench},
        {"TF1 Science", tf1, "/news/sciences/", tf1, "TF1", 10, kFrench},
        {"TF1 Insolite", tf1, "/news/insolite/", tf1, "TF1", 11, kFrench},
        {"TF1 Multimedia", tf1, "/news/multimedia/", tf1, "TF1", 12, kFrench},
        {"TF1 France", tf1, "/news/france/", tf1, "TF1", 13, kFrench},
        {"Radio Canada News", rc, "/nouvelles/index.asp", rc, "Radio Canada", 14, kFrench},
        {"Radio Canada Economie", rc, "/nouvelles/econo.asp", rc, "Radio Canada", 15, kFrench},
        {"Radio Canada Politique", rc, "/nouvelles/polit.asp", rc, "Radio Canada", 16, kFrench},
        {"Ubersicht", dePages, "/183.html", de, "CNN", 17, kGerman},
        {"Inland", dePages, "/110.html", de, "CNN", 18, kGerman},
        {"Ausland", dePages, "/111.html", de, "CNN", 19, kGerman},
        {"Wirtschaft", dePages, "/112.html", de, "CNN", 20, kGerman},
        {"Sport", dePages, "/550166.html", de, "CNN", 21, kGerman},
        {"Entertainment", dePages, "/650219.html", de, "CNN", 22, kGerman},
        {"Computer", dePages, "/503517.html", de, "CNN", 23, kGerman},
        {"Bucher", dePages, "/1250506.html", de, "CNN", 24, kGerman},
        {"NU Algemeen nieuws", nu, "/nieuws", nu, kDutchSite, 25, kDutch},
        {"NU Achterklap", nu, "/achterklap", nu, kDutchSite, 26, kDutch},
        {"NU Internet", nu, "/net", nu, kDutchSite, 27, kDutch},
        {"NU Sport", nu, "/sport", nu, kDutchSite, 28, kDutch},
        {"CNN Mundo", es, "/mundo/", es, "CNN", 29, kSpanish},
        {"CNN LatinoAmerica", es, "/latin/", es, "CNN", 30, kSpanish},
        {"CNN Deportes", es, "/deportes/", es, "CNN", 31, kSpanish},
        {"CNN Tecnologia", es, "/tec/", es, "CNN", 32, kSpanish},
        {"CNN Gente", es, "/gente/", es, "CNN", 33, kSpanish},
        {"The Australian news", au, "/sectionindex1/0,5745,National^^TEXT,00.html", au, "The Australian", 37, kEnglish},
        {"BBC Online", bbc, "/hi/english/uk/default.stm", bbc, "BBC Online", 38, kEnglish},
        {"BBC Online - Politics", bbc, "/hi/english/uk_politics/default.stm", bbc, "BBC Online", 39, kEnglish},
        {"Yahoo Canada", yca, "/39", yca, "Yahoo Canada", 40, kEnglish},
        {"Yahoo Canada", yca, "/44/", yca, "Yahoo Canada", 41, kEnglish},
        {"Yahoo Canada", yca, "/22/", yca, "Yahoo Canada", 42, kEnglish},
        {"Yahoo Canada", yca, "/72/", yca, "Yahoo Canada", 43, kEnglish},
        {"Yahoo Canada", yca, "/35/", yca, "Yahoo Canada", 44, kEnglish},
    };
    std::vector<NewsChannel> table;
    table.reserve(kNewsChannelCount);
    for (const Row &r : rows) {
        NewsChannel c;
        c.section = r.section;
        c.group = r.group;
        c.name = r.group == kGerman ? g + r.name : r.name;
        c.pageUrl = r.host + (*r.page ? r.page : "/");
        c.homeUrl = r.homeHost + "/";
        c.source = r.source;
        table.push_back(std::move(c));
    }
    return table;
}

const NewsTree &SectionTree(int group) {
    static const NewsTree trees[kNewsGroupCount] = {
        {"WHAT'S NEW TODAY?",
         {{"WORLD NEWS", {0}},
          {"ENTERTAINMENT", {1}},
          {"SCIENCE & TECHNOLOGY", {2}},
          {"HEALTH & LIFESTYLES", {3, 4}},
          {"COMPUTER & INTERNET", {6, 7}},
          {"USA", {5}},
          {"AUSTRALIA", {37}},
          {"ENGLAND", {38, 39}},
          {"CANADA", {40, 41, 42, 43, 44}}}},
        {"LES ACTUALITES DU JOUR",
         {{"NOUVELLES DU MONDE", {8}},
          {"PEOPLE", {9}},
          {"SCIENCE & TECHNOLOGIE", {10}},
          {"INSOLITE", {11}},
          {"MULTIMEDIA", {12}},
          {"FRANCE", {13}},
          {"CANADA / QUEBEC", {14, 15, 16}}}},
        {"WAS IST HEUTE NEU?",
         {{"UBERSICHT", {17}},
          {"INLAND", {18}},
          {"AUSLAND", {19}},
          {"WIRTSCHAFT", {20}},
          {"SPORT", {21}},
          {"ENTERTAINMENT", {22}},
          {"COMPUTER", {23}},
          {"BUCHER", {24}}}},
        {"NUEVAS DE AHORA",
         {{"MUNDO", {29}}, {"GENTE", {33}}, {"TECNOLOGIA", {32}}, {"DEPORTES", {31}}, {"LATINOAMERICA", {30}}}},
        {"(DUTCH)", {{"ALGEMEEN NIEUWS", {25}}, {"ACHTERKLAP", {26}}, {"INTERNET", {27}}, {"SPORT", {28}}}},
    };
    return trees[group < 0 || group >= kNewsGroupCount ? 0 : group];
}

int NodeOfSection(int group, int section) {
    if (group < 0 || group >= kNewsGroupCount) return 0;
    const NewsTree &t = SectionTree(group);
    for (size_t n = 0; n < t.children.size(); ++n)
        for (int s : t.children[n].sections)
            if (s == section) return int(n) + 1;
    return 0;
}

int GroupOfSection(int section) {
    for (int g = 0; g < kNewsGroupCount; ++g)
        if (NodeOfSection(g, section)) return g;
    return -1;
}

int LeadChannelOf(const std::vector<NewsChannel> &channels, int section) {
    for (size_t i = 0; i < channels.size(); ++i)
        if (channels[i].section == section) return int(i);
    return -1;
}

int CompletionCounterOf(int group, int node) {
    // "COMPUTER & INTERNET", "CANADA / QUEBEC", "ENGLAND", "CANADA"
    if (group == kEnglish && node == 5) return 0;
    if (group == kFrench && node == 7) return 1;
    if (group == kEnglish && node == 8) return 2;
    if (group == kEnglish && node == 9) return 3;
    return -1;
}

int CompletionTotal(int counter) {
    static const int totals[4] = {2, 3, 2, 5};
    return counter >= 0 && counter < 4 ? totals[counter] : 0;
}

namespace {
const char *const kGroupNames[kNewsGroupCount] = {"english", "french", "german", "spanish", "dutch"};
}

int ParseNewsGroup(std::string_view text) {
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '4') return text[0] - '0';
    for (int g = 0; g < kNewsGroupCount; ++g)
        if (SameTextNoCase(text, kGroupNames[g])) return g;
    return -1;
}

const char *NewsGroupName(int group) { return group >= 0 && group < kNewsGroupCount ? kGroupNames[group] : ""; }

int NewsGroupOfLanguage(std::string_view language) {
    static const char *const names[kNewsGroupCount] = {"English", "French", "German", "Spanish", "Dutch"};
    for (int g = 0; g < kNewsGroupCount; ++g)
        if (language == names[g]) return g;
    return -1;
}

std::string PageRoot(std::string_view url) {
    size_t scheme = url.find("://");
    size_t from = scheme == std::string_view::npos ? 0 : scheme + 3;
    size_t slash = url.find_first_of("/?#", from);
    return std::string(url.substr(0, slash == std::string_view::npos ? url.size() : slash));
}

}  // namespace qm
