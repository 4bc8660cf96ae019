// The 42 news pages of the daily news. Each page carries the landmarks its headline parser
// reads, and things the parser must pass over: links it drops (a quote closed by ">", a title
// that is the section's own word, a "suite de l'article" link, an image link, last year's
// paths, a cell break inside a title) and a repeated link.
//
// Headlines change with every request and every minute: the "edition" of a page is the number
// of minutes since the epoch plus the number of requests the page has had, and it is part of
// every title and address. "/fail/..." on any news host answers 503.
#include "fakeweb/Service.h"

#include <atomic>
#include <ctime>
#include <map>
#include <mutex>

namespace qm::fakeweb::services {

namespace {

long long Edition(const std::string &key) {
    static std::mutex lock;
    static std::map<std::string, long long> counts;
    long long n;
    {
        std::lock_guard<std::mutex> guard(lock);
        n = counts[key]++;
    }
    return (long long)(std::time(nullptr) / 60) + n;
}

int ThisYear() {
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    return t.tm_year + 1900;
}

std::string Ed(long long e) { return std::to_string(e); }
std::string K(int k) { return std::to_string(k); }

constexpr int kHeadlines = 7;

std::string Page(const std::string &title, const std::string &body) {
    return "<html><head><title>" + title + "</title></head>\r\n<body bgcolor=white>\r\n<table>\r\n" + body +
           "</table>\r\n</body></html>\r\n";
}

// ABC News: section links (and wire links on the pages that have them).
std::string AbcPage(const std::string &path, const std::string &word, long long e) {
    // path: "/sections/world/" etc.
    std::string section = path, wire;
    if (path == "/sections/world/") wire = "/wire/world";
    if (path == "/sections/entertainment/") wire = "/wire/enter";
    if (path == "/sections/US/") wire = "/wire/us";
    std::string base = path == "/sections/gma/" ? "/sections/gma/" : path + "dailynews/";
    std::string b;
    b += "<tr><td><a href=\"" + base + "closed" + Ed(e) + ".html\">Dropped: the quote is closed by a bracket</a></td></tr>\r\n";
    for (int k = 1; k <= kHeadlines; ++k)
        b += "<tr><td><a href=\"" + base + "story_" + Ed(e) + "_" + K(k) + ".html\" class=\"hl\">" + word +
             " headline " + K(k) + " &amp; more, <i>edition</i> " + Ed(e) + "</a></td></tr>\r\n";
    b += "<tr><td><a href=\"" + base + "STORY_" + Ed(e) + "_1.html\" class=\"hl\">Repeated " + word + " headline</a></td></tr>\r\n";
    b += "<tr><td><a href=\"" + base + "celled" + Ed(e) + ".html\" class=\"x\">Broken cell</td><td>rest</a></td></tr>\r\n";
    if (!wire.empty())
        for (int k = 1; k <= 4; ++k)
            b += "<tr><td><a href=\"" + wire + "/item_" + Ed(e) + "_" + K(k) + ".html\" class=bluesmall>" + word +
                 " wire " + K(k) + " (" + Ed(e) + ")</a> 10:0" + K(k) + " ET</div></td></tr>\r\n";
    return Page("ABCNEWS.com: " + word, b);
}

std::string RegisterPage(const std::string &what, long long e) {
    std::string b;
    for (int k = 1; k <= kHeadlines; ++k)
        b += "<tr><td class=\"adlink\"><a href=\"/content/" + what + "/" + Ed(e) + "_" + K(k) + ".html\"><strong>" + what +
             " story " + K(k) + " of edition " + Ed(e) + "</strong></a><br>Biting the hand</td></tr>\r\n";
    b += "<tr><td class=\"adlink\"><a href=\"/content/" + what + "/" + Ed(e) + "_1.html\"><strong>Repeated</strong></a></td></tr>\r\n";
    return Page("The Register", b);
}

std::string Tf1Page(const std::string &dir, const std::string &word, long long e) {
    std::string p = "/news/" + dir + "/0,,";
    std::string b;
    b += "<tr><td><a href=\"" + p + "own" + Ed(e) + ",00.html\">" + word + "</a></td></tr>\r\n";
    b += "<tr><td><a href=\"" + p + "more" + Ed(e) + ",00.html\">Lire la Suite de l'article</a></td></tr>\r\n";
    b += "<tr><td><a href=\"" + p + "bad" + Ed(e) + ",00.html\"title=\"x\">Dropped: no blank after the quote</a></td></tr>\r\n";
    for (int k = 1; k <= kHeadlines; ++k)
        b += "<tr><td><a href=\"" + p + Ed(e) + "_" + K(k) + ",00.html\" class=\"titre\">Nouvelle " + K(k) + " (" + dir +
             ") &eacute;dition " + Ed(e) + "</a></td></tr>\r\n";
    return Page("TF1 - " + word, b);
}

std::string RadioCanadaPage(const std::string &what, long long e) {
    std::string b;
    b += "<tr><td><a href=\"/nouvelles/photo" + Ed(e) + ".asp\"><img src=\"/i/p.gif\"></a></td></tr>\r\n";
    for (int k = 1; k <= kHeadlines; ++k)
        b += "<tr><td><a href=\"/nouvelles/" + what + "/" + Ed(e) + "_" + K(k) + ".asp\">\r\n" +
             (k % 2 ? "<b>" : "") + "Manchette " + K(k) + " " + what + "\r\n\u00e9dition " + Ed(e) + (k % 2 ? "</b>" : "") +
             "</a></td></tr>\r\n";
    return Page("Radio-Canada " + what, b);
}

std::string GermanPage(const std::string &file, long long e) {
    static const char *const topics[] = {"Sport", "Politik", "Wetter", "Kultur", "Technik", "Boerse", "Reise"};
    std::string b;
    for (int k = 1; k <= kHeadlines; ++k)
        b += "<tr><td><a href=\"/themen/" + K(k) + ".html\" class=\"listethema\">" + topics[k - 1] +
             "</a><br><a href=\"/" + file + "/" + Ed(e) + "_" + K(k) + ".html\" class=\"text\">Meldung " + K(k) +
             " der Ausgabe " + Ed(e) + "</a></td></tr>\r\n";
    return Page("Nachrichten", b);
}

std::string NuPage(const std::string &dir, long long e) {
    std::string b;
    for (int k = 1; k <= 6; ++k)
        b += "<tr><td class=\"heading\"><a href=\"/" + dir + "/" + Ed(e) + "_" + K(k) + ".html\">Bericht " + K(k) +
             " editie " + Ed(e) + "</a></td></tr>\r\n";
    b += "<tr><td><h3>Overig nieuws</h3></td></tr>\r\n";
    for (int k = 1; k <= 4; ++k)
        b += "<tr><td><a href=\"/" + dir + "/overig/" + Ed(e) + "_" + K(k) + ".html\"><img src=\"/b.gif\"></img>Kort " +
             K(k) + " editie " + Ed(e) + "</a></td></tr>\r\n";
    return Page("Nieuws", b);
}

std::string SpanishPage(const std::string &dir, long long e) {
    const int year = ThisYear();
    std::string b;
    b += "<tr><td><a href=\"/" + std::to_string(year - 1) + "/" + dir + "/viejo.html\">Noticia del a&ntilde;o pasado</a></td></tr>\r\n";
    b += "<tr><td><a href=\"/" + std::to_string(year) + "/" + dir + "/foto" + Ed(e) + ".html\"><img src=\"/f.jpg\"></a></td></tr>\r\n";
    for (int k = 1; k <= kHeadlines; ++k)
        b += "<tr><td><a href=\"/" + std::to_string(year) + "/" + dir + "/" + Ed(e) + "_" + K(k) + ".html\">Noticia " +
             K(k) + " edici&oacute;n " + Ed(e) + "</a></td></tr>\r\n";
    return Page("CNN en Espa&ntilde;ol", b);
}

std::string AustralianPage(long long e) {
    std::string b;
    for (int k = 1; k <= kHeadlines; ++k)
        b += "<tr><td><a href=\"/common/story_page/0,5744," + Ed(e) + K(k) + ",00.html\"><font class=\"h\">Story " +
             K(k) + " of edition " + Ed(e) + "</font></a></td></tr>\r\n";
    return Page("The Australian", b);
}

std::string BbcPage(const std::string &dir, long long e) {
    std::string b;
    for (int k = 1; k <= kHeadlines; ++k)
        b += "<tr><td class=\"bodytext\"><a href=\"/hi/english/" + dir + "/pic_" + K(k) + ".stm\"><img src=\"/p.gif\"></a>"
             "<a href=\"/hi/english/" + dir + "/newsid_" + Ed(e) + "/" + K(k) + ".stm\"><font class=\"h\">" + dir +
             " report " + K(k) + " edition " + Ed(e) + "</font></a><br>Summary</td></tr>\r\n";
    return Page("BBC News", b);
}

std::string YahooPage(const std::string &cat, long long e) {
    std::string b = "<tr><td><a href=/photos/" + cat + ">Photos</a></td></tr>\r\n";
    for (int k = 1; k <= kHeadlines; ++k)
        b += "<tr><td><b><a href=/" + cat + "/" + Ed(e) + "_" + K(k) + ".html>Canada " + cat + " item " + K(k) +
             " edition " + Ed(e) + "</a></b></td></tr>\r\n";
    b += "<tr><td><b><a href=/" + cat + "/" + Ed(e) + "_2.html>Repeated</a></b></td></tr>\r\n";
    return Page("Yahoo! Canada", b);
}

using Maker = std::string (*)(const std::string &path, long long e);

void Add(Registry &registry, const char *key, std::map<std::string, std::function<std::string(long long)>> pages) {
    registry.add(key, [key, pages = std::move(pages)](const Request &r) -> std::optional<Response> {
        if (r.path.rfind("/fail/", 0) == 0) return Response::Html("<html><body>Service Unavailable</body></html>", 503);
        auto it = pages.find(r.path);
        if (it == pages.end()) return std::nullopt;
        return Response::Html(it->second(Edition(std::string(key) + r.path)));
    });
}

}  // namespace

void RegisterDailyNews(Registry &registry) {
    Add(registry, "news-abc",
        {{"/sections/world/", [](long long e) { return AbcPage("/sections/world/", "World", e); }},
         {"/sections/entertainment/", [](long long e) { return AbcPage("/sections/entertainment/", "Entertainment", e); }},
         {"/sections/scitech/", [](long long e) { return AbcPage("/sections/scitech/", "Science", e); }},
         {"/sections/living/", [](long long e) { return AbcPage("/sections/living/", "Health", e); }},
         {"/sections/gma/", [](long long e) { return AbcPage("/sections/gma/", "Lifestyle", e); }},
         {"/sections/US/", [](long long e) { return AbcPage("/sections/US/", "U.S.", e); }}});
    Add(registry, "news-register",
        {{"/", [](long long e) { return RegisterPage("home", e); }},
         {"/content/8/index.html", [](long long e) { return RegisterPage("security", e); }}});
    Add(registry, "news-tf1",
        {{"/news/monde/", [](long long e) { return Tf1Page("monde", "Monde", e); }},
         {"/news/people/", [](long long e) { return Tf1Page("people", "People", e); }},
         {"/news/sciences/", [](long long e) { return Tf1Page("sciences", "Sciences", e); }},
         {"/news/insolite/", [](long long e) { return Tf1Page("insolite", "Insolite", e); }},
         {"/news/multimedia/", [](long long e) { return Tf1Page("multimedia", "Multim&eacute;dia", e); }},
         {"/news/france/", [](long long e) { return Tf1Page("france", "France", e); }}});
    Add(registry, "news-radiocanada",
        {{"/nouvelles/index.asp", [](long long e) { return RadioCanadaPage("actualites", e); }},
         {"/nouvelles/econo.asp", [](long long e) { return RadioCanadaPage("economie", e); }},
         {"/nouvelles/polit.asp", [](long long e) { return RadioCanadaPage("politique", e); }}});
    std::map<std::string, std::function<std::string(long long)>> german;
    for (const char *file : {"183", "110", "111", "112", "550166", "650219", "503517", "1250506"})
        german["/" + std::string(file) + ".html"] = [f = std::string(file)](long long e) { return GermanPage(f, e); };
    Add(registry, "news-de-pages", std::move(german));
    Add(registry, "news-de", {{"/", [](long long) { return Page("Tagesblick", "<tr><td>Startseite</td></tr>"); }}});
    Add(registry, "news-nu",
        {{"/nieuws", [](long long e) { return NuPage("nieuws", e); }},
         {"/achterklap", [](long long e) { return NuPage("achterklap", e); }},
         {"/net", [](long long e) { return NuPage("net", e); }},
         {"/sport", [](long long e) { return NuPage("sport", e); }}});
    std::map<std::string, std::function<std::string(long long)>> spanish;
    for (const char *dir : {"mundo", "latin", "deportes", "tec", "gente"})
        spanish["/" + std::string(dir) + "/"] = [d = std::string(dir)](long long e) { return SpanishPage(d, e); };
    Add(registry, "news-cnn-es", std::move(spanish));
    Add(registry, "news-australian",
        {{"/sectionindex1/0,5745,National^^TEXT,00.html", [](long long e) { return AustralianPage(e); }}});
    Add(registry, "news-bbc",
        {{"/hi/english/uk/default.stm", [](long long e) { return BbcPage("uk", e); }},
         {"/hi/english/uk_politics/default.stm", [](long long e) { return BbcPage("uk_politics", e); }}});
    std::map<std::string, std::function<std::string(long long)>> yahoo;
    for (const char *path : {"/39", "/44/", "/22/", "/72/", "/35/"}) {
        std::string cat = path + 1;
        if (!cat.empty() && cat.back() == '/') cat.pop_back();
        yahoo[path] = [cat](long long e) { return YahooPage(cat, e); };
    }
    Add(registry, "news-yahoo-ca", std::move(yahoo));
}

}  // namespace qm::fakeweb::services
