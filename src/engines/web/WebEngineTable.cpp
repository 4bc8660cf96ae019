#include "engines/web/WebEngineTable.h"

#include "net/ServiceHosts.h"

#include <algorithm>
#include "service/RemoteConfig.h"

namespace qm {

namespace {

// Partner account of the affiliate network; the same values in the serve and the click
// address of a row.
constexpr const char *kPartnerSite = "40120018";
constexpr const char *kNetscapeMid = "2904433";
constexpr const char *kGotoMid = "1881937";
constexpr const char *kInfoSpaceMid = "3123789";

EngineDescriptor Ordinary(int selector, const char *name, const std::string &root,
                          const char *path, const std::string &all, const std::string &exact) {
    EngineDescriptor d;
    d.selector = selector;
    d.name = name;
    d.templateAll = root + path + "?" + all;
    d.templateAny = d.templateAll;
    d.templateBool = d.templateAll;
    d.templateExact = root + path + "?" + exact;
    d.homePage = root + "/";
    return d;
}

EngineDescriptor Sponsored(int selector, const char *name, const std::string &homeRoot,
                           const std::string &serveQuery, const std::string &clickQuery) {
    const std::string affiliate = ServiceRoot("affiliate");
    EngineDescriptor d;
    d.selector = selector;
    d.name = name;
    d.homePage = homeRoot + "/";
    d.sponsoredServe = affiliate + "/bfast/serve?" + serveQuery;
    d.sponsoredClick = affiliate + "/bfast/click?" + clickQuery;
    return d;
}

// "query" with its "<$QRY>" standing inside "+%22...%22".
std::string Quoted(const std::string &before, const std::string &after) {
    return before + "+%22<$QRY>%22" + after;
}

// The seventeen rows as this release has them, before the home site's configuration.
std::vector<EngineDescriptor> BuiltInRows();

}  // namespace

void TakeConfiguredGoto(EngineDescriptor &row) {
    const RemoteConfig &c = CurrentServiceConfig();
    if (!c.gotoServe.empty()) row.sponsoredServe = c.gotoServe;
    if (!c.gotoClick.empty()) row.sponsoredClick = c.gotoClick;
}

std::vector<EngineDescriptor> BuildWebEngineTable() {
    std::vector<EngineDescriptor> t = BuiltInRows();
    TakeServiceConfig(t);
    return t;
}

void TakeServiceConfig(std::vector<EngineDescriptor> &table) {
    const RemoteConfig &c = CurrentServiceConfig();
    const int rows = std::min<int>(int(table.size()), kWebEngineCount);
    for (int i = 0; i < rows; ++i) {
        EngineDescriptor &d = table[size_t(i)];
        if (d.name == "GOTO") {
            TakeConfiguredGoto(d);
        } else if (d.name == "FindWhat") {
            for (auto [from, to] :
                 {std::pair{&c.findWhatAll, &d.templateAll}, std::pair{&c.findWhatAny, &d.templateAny},
                  std::pair{&c.findWhatExact, &d.templateExact}, std::pair{&c.findWhatBool, &d.templateBool}})
                if (!from->empty()) *to = *from;
        }
    }
}

const std::vector<std::string> &WebEngineHostKeys() {
    static const std::vector<std::string> keys = {
        "altavista", "google",   "netscape",   "goto",       "sprinks",       "hotbot",
        "infospace", "euroseek", "fastsearch", "msnsearch",  "directhit",     "aolnetfind",
        "findwhat",  "nbci",     "webcrawler", "opendirectory", "compuserve"};
    return keys;
}

std::string ServiceRoot(const std::string &key) { return "http://" + ServiceHostFor(key); }

namespace {

std::vector<EngineDescriptor> BuiltInRows() {
    std::vector<EngineDescriptor> t;
    t.reserve(kWebEngineCount);
    const std::string site = kPartnerSite;

    // 0
    {
        auto d = Ordinary(1, "Altavista", ServiceRoot("altavista"), "/cgi-bin/query",
                          "kl=XX&q=<$QRY>&stq=0", Quoted("kl=XX&q=", "&stq=0"));
        d.templateBool = ServiceRoot("altavista-advanced") +
                         "/cgi-bin/query?pg=aq&stype=stext&Translate=on&q=<$QRY>&stq=0";
        t.push_back(d);
    }
    // 1
    {
        const std::string tail =
            "&num=20&btnG=Recherche+Google&as_epq=&as_oq=&as_eq=&lr=&as_occt=any&as_dt=i&as_sitesearch=";
        auto d = Ordinary(0, "Google/Yahoo", ServiceRoot("google"), "/search", "as_q=<$QRY>" + tail,
                          "as_q=%22<$QRY>%22" + tail);
        d.homePage = ServiceRoot("yahoo-directory") + "/";
        t.push_back(d);
    }
    // 2
    t.push_back(Sponsored(11, "Netscape", ServiceRoot("netscape"),
                          "bfmid=" + std::string(kNetscapeMid) + "&siteid=" + site + "&bfpage=netscape_search",
                          "siteid=" + site + "&bfpage=netscape_search&bfmid=" + kNetscapeMid +
                              "&search=<$QRY>&cp=qmsearch"));
    // 3
    t.push_back(Sponsored(10, "GOTO", ServiceRoot("goto"),
                          "bfmid=" + std::string(kGotoMid) + "&bfsiteid=" + site + "&bfpage=goto_search",
                          "bfsiteid=" + site + "&bfpage=goto_search&bfmid=" + kGotoMid +
                              "&Keywords=<$QRY>&Promo=befree"));
    // 4
    t.push_back(Ordinary(9, "Sprinks", ServiceRoot("sprinks"), "/search.htm", "terms=<$QRY>&pg=1",
                         Quoted("terms=", "&pg=1")));
    // 5
    t.push_back(Ordinary(3, "Hotbot/Lycos", ServiceRoot("hotbot"), "/", "MT=<$QRY>&RPN=1&SQ=1&TR=135",
                         Quoted("MT=", "&RPN=1&SQ=1&TR=135")));
    // 6
    t.push_back(Sponsored(14, "InfoSpace", ServiceRoot("infospace"),
                          "bfmid=" + std::string(kInfoSpaceMid) + "&siteid=" + site + "&bfpage=infospace_home",
                          "siteid=" + site + "&bfpage=infospace_results&bfmid=" + kInfoSpaceMid +
                              "&pgtarg=wbsres&qvref=befree&QKW=<$QRY>"));
    // 7
    t.push_back(Ordinary(4, "Euroseek", ServiceRoot("euroseek"), "/query", "q=<$QRY>", Quoted("q=", "")));
    // 8
    t.push_back(Ordinary(5, "FastSearch", ServiceRoot("fastsearch"), "/cgi-bin/search",
                         "offset=0&type=all&query=<$QRY>", Quoted("offset=0&type=all&query=", "")));
    // 9
    t.push_back(Ordinary(6, "MSNSearch", ServiceRoot("msnsearch"), "/results.asp",
                         "FORM=SMCRT&cfg=SMCINITIAL&q=<$QRY>&un=doc&v=1",
                         Quoted("FORM=SMCRT&cfg=SMCINITIAL&q=", "&un=doc&v=1")));
    // 10
    t.push_back(Ordinary(7, "DirectHit", ServiceRoot("directhit"), "/umbrella.asp",
                         "alias=websrch&qry=<$QRY>&base=0", Quoted("alias=websrch&qry=", "&base=0")));
    // 11
    {
        const std::string tail = "&first=1&last=15&diritem=0&dircats=0&aolart=0&news=0&web=1&music=0";
        t.push_back(Ordinary(2, "AOLNetFind", ServiceRoot("aolnetfind"), "/dirsearch.adp",
                             "query=<$QRY>" + tail, Quoted("query=", tail)));
    }
    // 12
    t.push_back(Ordinary(8, "FindWhat", ServiceRoot("findwhat"), "/results.asp",
                         "filter_pref=0&DC=25&Base=0&MT=<$QRY>&pdc=3",
                         Quoted("filter_pref=0&DC=25&Base=0&MT=", "&pdc=3")));
    // 13
    t.push_back(Ordinary(12, "NBCi", ServiceRoot("nbci"), "/search/directory/results/1,61,home-0,00.html",
                         "stype=0&keyword=<$QRY>&adT=CP&tag=st.sn.sr.18111.pg",
                         Quoted("stype=0&keyword=", "&adT=CP&tag=st.sn.sr.18111.pg")));
    // 14
    t.push_back(Ordinary(15, "WebCrawler", ServiceRoot("webcrawler"), "/search.gw",
                         "s=<$QRY>&lk=webcrawler&showSummary=true&start=0&perPage=40",
                         Quoted("s=", "&lk=webcrawler&showSummary=true&start=0&perPage=40")));
    // 15
    t.push_back(Ordinary(16, "OpenDirectory", ServiceRoot("opendirectory"), "/cgi-bin/search",
                         "search=<$QRY>", Quoted("search=", "")));
    // 16
    {
        const std::string tail =
            "&first=1&dfirst=1&sourcePage=CSNextPrev&type=I&brand=CSI&tabs=Y&serviceType=CServe&uType=&dateRange=0&channel=&gfirst=0";
        t.push_back(Ordinary(17, "Compuserve", ServiceRoot("compuserve"), "/cs/results/cssearch-results.adp",
                             "sTerm=<$QRY>" + tail, Quoted("sTerm=", tail)));
    }
    return t;
}

}  // namespace

void SetWebSearchMode(std::vector<EngineDescriptor> &table, SearchMode mode) {
    for (size_t i = 0; i < table.size() && i < size_t(kWebEngineCount); ++i) table[i].mode = mode;
}

int FindWebEngineBySelector(const std::vector<EngineDescriptor> &table, int selector) {
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].selector == selector) return int(i);
    return -1;
}

int FindWebEngineByName(const std::vector<EngineDescriptor> &table, const std::string &name) {
    auto up = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; };
    for (size_t i = 0; i < table.size() && i < size_t(kWebEngineCount); ++i) {
        const auto &n = table[i].name;
        if (n.size() != name.size()) continue;
        bool same = true;
        for (size_t k = 0; k < n.size() && same; ++k) same = up(n[k]) == up(name[k]);
        if (same) return int(i);
    }
    return -1;
}

}  // namespace qm
