// The daily news, side by side in one run:
//  (a) "Update all" of every group over the fake web with a fixed latency per page, against
//      the ideal time: every channel is one request and all start at once, so the longest
//      chain of sequential requests is one latency;
//  (b) each of the 25 headline parsers on a 1 MB page of its own layout: MB/s and headlines/s.
#include "engines/web/HttpClientAdapter.h"
#include "fakeweb/Server.h"
#include "net/NetConfig.h"
#include "news/DailyNews.h"
#include "toolkit/Misc.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

class CountingSink : public qm::HeadlineSink {
public:
    bool KeepReading() override { return true; }
    void ClearList() override { rows.Clear(); }
    void AddRow(qm::HeadlineRow row) override { rows.Add(std::move(row)); }
    bool HasUrl(std::string_view url) const override { return rows.HasUrl(url); }
    void Complete() override {}
    qm::HeadlineNodeList rows;
};

// One headline of a section's layout, with a unique address.
std::string Snippet(int section, int i) {
    const std::string n = std::to_string(i);
    static const char *tf1[] = {"monde", "people", "sciences", "insolite", "multimedia", "france"};
    static const char *es[] = {"mundo", "latin", "deportes", "tec", "gente"};
    switch (section) {
    case 0: return "<tr><td><a href=\"/sections/world/dailynews/s" + n + ".html\" class=\"h\">Headline " + n +
                   "</a></td></tr>\n<a href=\"/wire/world/w" + n + ".html\" class=bluesmall>Wire " + n + "</a> 9 AM</div>\n";
    case 1: return "<a href=\"/sections/entertainment/dailynews/s" + n + ".html\" class=\"h\">Headline " + n +
                   "</a>\n<a href=\"/wire/enter/w" + n + ".html\" class=bluesmall>Wire " + n + "</a> 9 AM</div>\n";
    case 5: return "<a href=\"/sections/us/dailynews/s" + n + ".html\" class=\"h\">Headline " + n +
                   "</a>\n<a href=\"/wire/us/w" + n + ".html\" class=bluesmall>Wire " + n + "</a> 9 AM</div>\n";
    case 2: return "<tr><td><a href=\"/sections/scitech/dailynews/s" + n + ".html\" class=\"h\">Headline " + n + "</a></td></tr>\n";
    case 3: return "<tr><td><a href=\"/sections/living/dailynews/s" + n + ".html\" class=\"h\">Headline " + n + "</a></td></tr>\n";
    case 4: return "<tr><td><a href=\"/sections/gma/s" + n + ".html\" class=\"h\">Headline " + n + "</a></td></tr>\n";
    case 6: case 7:
        return "<tr><td class=\"adlink\"><a href=\"/content/" + n + ".html\"><strong>Story " + n + "</strong></a></td></tr>\n";
    case 14: return "<tr><td><a href=\"/nouvelles/" + n + ".asp\">\r\n<b>Manchette " + n + "</b></a></td></tr>\r\n";
    case 17: return "<a href=\"/t\" class=\"listethema\">Sport</a><br><a href=\"/s/" + n + ".html\">Meldung " + n + "</a>\n";
    case 25: return "<td class=\"heading\"><a href=\"/n/" + n + ".html\">Bericht " + n + "</a></td>\n";
    case 37: return "<tr><td><a href=\"/common/story_page/0," + n + ".html\"><font>Story " + n + "</font></a></td></tr>\n";
    case 38: return "<td class=\"bodytext\"><a href=\"/p.stm\"><img></a><a href=\"/hi/" + n +
                    ".stm\"><font class=\"h\">Report " + n + "</font></a><br>x</td>\n";
    case 40: return "<tr><td><b><a href=/y/" + n + ".html>Item " + n + "</a></b></td></tr>\n";
    default:
        if (section >= 8 && section <= 13)
            return "<tr><td><a href=\"/news/" + std::string(tf1[section - 8]) + "/0," + n + ".html\" class=\"t\">Nouvelle " + n +
                   "</a></td></tr>\n";
        return "<tr><td><a href=\"/2001/" + std::string(es[section - 29]) + "/" + n + ".html\">Noticia " + n + "</a></td></tr>\n";
    }
}

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    static qm::fakeweb::Server server;
    if (!server.start(0)) {
        std::fprintf(stderr, "cannot start the fake web\n");
        return 1;
    }
    qm::RouteServiceHostsTo(server.port(), "127.0.0.1", /*everyHost=*/true);

    // (a) Update all, group by group, at a few latencies.
    std::printf("(a) Update all over the fake web\n%-8s %8s %8s %9s %9s %7s\n", "group", "latency", "channels", "ideal ms",
                "real ms", "ratio");
    // The cache files go where the first argument says (default: the temporary folder), to
    // tell the cost of the files' flush to disk from the rest.
    QTemporaryDir tmp(argc > 1 ? QString::fromLocal8Bit(argv[1]) + "/qm-bench-XXXXXX" : QString());
    for (int latency : {100, 200, 500}) {
        server.setLatencyMs(latency);
        double worst = 0;
        for (int g = 0; g < qm::kNewsGroupCount; ++g) {
            qm::DailyNewsEnvironment env;
            env.makeClient = qm::MakeHttpClientFactory();
            const std::string folder = tmp.path().toStdString() + "/Cache/DailyNews";
            env.cacheFolder = [folder] { return folder; };
            qm::DailyNews news(env);
            news.SelectNewsGroup(g);
            QElapsedTimer t;
            t.start();
            news.PressUpdateAll();
            const double real = double(t.nsecsElapsed()) / 1e6, ratio = real / latency;
            worst = std::max(worst, ratio);
            std::printf("%-8s %8d %8zu %9d %9.1f %7.3f\n", qm::NewsGroupName(g), latency, news.Started().size(), latency,
                        real, ratio);
        }
        std::printf("worst ratio at %d ms: %.3f (aim: under 1.10)\n", latency, worst);
    }
    std::printf("\n");

    // (b) Each parser on a 1 MB page.
    const int sections[qm::kHeadlineRoutineCount] = {0, 1, 5, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12,
                                                     13, 14, 17, 25, 29, 33, 32, 31, 30, 37, 38, 40};
    std::printf("(b) Headline parsers on a 1 MB page\n%-8s %-10s %10s %12s %14s\n", "section", "bytes", "headlines", "MB/s",
                "headlines/s");
    for (int s : sections) {
        std::string page = s == 40 ? "<a href=/p>Photos</a>\n" : "";
        for (int i = 0; page.size() < (1u << 20); ++i) page += Snippet(s, i);
        qm::HeadlineInput in;
        in.channel = "Bench";
        in.pageRoot = "http://r";
        in.year = 2001;
        CountingSink sink;
        QElapsedTimer t;
        t.start();
        qm::ParseHeadlines(s, page, in, sink);
        const double secs = double(t.nsecsElapsed()) / 1e9;
        size_t headlines = 0;
        for (const auto &r : sink.rows.Rows()) headlines += !r.url.empty();
        std::printf("%-8d %-10zu %10zu %12.1f %14.0f\n", s, page.size(), headlines, double(page.size()) / 1048576.0 / secs,
                    double(headlines) / secs);
    }
    qm::RouteServiceHostsTo(0);
    return 0;
}
