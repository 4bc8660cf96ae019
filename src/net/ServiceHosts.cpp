#include "net/ServiceHosts.h"

namespace qm {

namespace {

// Rows are added by each feature that talks to a service.
std::vector<ServiceHost> Defaults() {
    return {
        {"home", "www.quillmar.example"},
        // The advertising network whose banners the remote configuration names.
        {"banners", "ads.quillmar.example"},
        // Web search engines and the affiliate network of the sponsored ones.
        {"altavista", "www.altavista.example"},
        {"altavista-advanced", "advanced.altavista.example"},
        {"google", "www.google.example"},
        {"yahoo-directory", "dir.yahoo.example"},
        {"netscape", "search.netscape.example"},
        {"goto", "www.goto.example"},
        {"sprinks", "www.sprinks.example"},
        {"hotbot", "www.hotbot.example"},
        {"infospace", "www.infospace.example"},
        {"euroseek", "www.euroseek.example"},
        {"fastsearch", "www.fastsearch.example"},
        {"msnsearch", "search.msn.example"},
        {"directhit", "www.directhit.example"},
        {"aolnetfind", "search.aol.example"},
        {"findwhat", "www.findwhat.example"},
        {"nbci", "www.nbci.example"},
        {"webcrawler", "www.webcrawler.example"},
        {"opendirectory", "search.opendirectory.example"},
        {"compuserve", "www.compuserve.example"},
        {"affiliate", "bfast.affiliate.example"},
        // The partner search form of exported result pages.
        {"partner-search", "search.partner.example"},
        // Sites for the verification of result addresses (the fake web's test sites).
        {"verify-sites", "www.verify.example"},
        {"verify-refuse", "refuse.verify.example"},
        // Search services described by the bundled engine definition files.
        {"owlfind", "www.owlfind.example"},
        {"lanternseek", "search.lanternseek.example"},
        {"bramblehunt", "www.bramblehunt.example"},
        {"quarrysearch", "find.quarrysearch.example"},
        {"mossindex", "www.mossindex.example"},
        // The quote service of the currency converter.
        {"quotes", "quote.yahoo.example"},
        {"road-us", "travel.lycos.example"},
        {"road-eu", "www.itiroute.example"},
        // The WHOIS gateway of the domain name search.
        {"whois", "www.whois-gateway.example"},
        // The web search of the smart finder (Google's result-page layout).
        {"smart-search", "www.smartsearch.example"},
        // The newsgroup article search and the two software directories.
        {"news-groups", "groups.google.example"},
        {"software-cnet", "download.cnet.example"},
        {"software-tucows", "www.tucows.example"},
        // The daily news's channel sites (the German site's pages lie on a host of their own).
        {"news-abc", "abcnews.go.example"},
        {"news-register", "www.theregister.example"},
        {"news-tf1", "www.tf1.example"},
        {"news-radiocanada", "radio-canada.example"},
        {"news-de", "www.tagesblick.example"},
        {"news-de-pages", "pages.tagesblick.example"},
        {"news-nu", "www.nieuwsblik.example"},
        {"news-cnn-es", "cnnenespanol.example"},
        {"news-australian", "www.theaustralian.example"},
        {"news-bbc", "news.bbc.example"},
        {"news-yahoo-ca", "ca.news.yahoo.example"},
        // The forum directories (Delphi Center links its forums on a host of their own) and
        // the two MP3 file-search sites.
        {"forum-delphi", "www.delphicenter.example"},
        {"forum-delphi-boards", "forums.delphicenter.example"},
        {"forum-ezboard", "www.ezboard.example"},
        {"forum-yahoo", "groups.yahoo.example"},
        {"forum-topica", "www.topica.example"},
        {"forum-boardserver", "www.boardserver.example"},
        {"mp3-kazaa", "www.kazaa.example"},
        {"mp3-avfind", "www.avfind.example"},
        // The software catalogue's listing pages.
        {"software-catalogue", "download.cnet.example"},
    };
}

std::vector<ServiceHost> &Table() {
    static std::vector<ServiceHost> table = Defaults();
    return table;
}

bool SameKey(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

const std::vector<ServiceHost> &ServiceHosts() { return Table(); }

std::string ServiceHostFor(std::string_view key) {
    for (const auto &row : Table())
        if (SameKey(row.key, key)) return row.host;
    return {};
}

bool SetServiceHost(std::string_view key, std::string_view host) {
    if (host.empty()) return false;
    for (auto &row : Table())
        if (SameKey(row.key, key)) {
            row.host = std::string(host);
            return true;
        }
    return false;
}

void ResetServiceHosts() { Table() = Defaults(); }

}  // namespace qm
