// A whole web search over the fake web with a fixed latency per answer, against the ideal
// time: the longest chain of sequential requests of any engine times that latency (engines
// run side by side; an engine's pages, and a sponsored engine's serve, click hops and pages,
// come one after another).
#include "engines/web/HttpClientAdapter.h"
#include "engines/web/WebEngineTable.h"
#include "engines/web/WebSearchController.h"
#include "fakeweb/Server.h"
#include "net/NetConfig.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    static qm::fakeweb::Server server;  // stopped at exit, after the client's connections closed
    if (!server.start(0)) {
        std::fprintf(stderr, "cannot start the fake web\n");
        return 1;
    }
    qm::RouteServiceHostsTo(server.port());
    std::printf("%-10s %8s %6s %10s %10s %7s\n", "latency", "results", "chain", "ideal ms", "real ms", "ratio");
    for (int latency : {0, 50, 100, 200}) {
        server.setLatencyMs(latency);
        auto table = qm::BuildWebEngineTable();
        std::unique_ptr<qm::ResultListModel> list(qm::ResultListModel::CreateWebList());
        qm::WebSearchEnvironment env;
        env.makeClient = qm::MakeHttpClientFactory();
        qm::UseBuiltInReaders(env);
        QElapsedTimer timer;
        std::vector<qm::EngineReport> report;
        timer.start();
        {
            qm::WebSearchController controller(table, *list, env);
            controller.StartWebSearch(latency == 0 ? "warm up" : "big cat");
            report = controller.Report();
        }
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        int chain = 0;
        for (size_t i = 0; i < report.size(); ++i) {
            // A sponsored engine: serve, click, two redirections, then its pages.
            int c = report[i].pages + (table[i].IsSponsored() ? 4 : 0);
            chain = std::max(chain, c);
        }
        if (latency == 0) continue;  // connections and caches warmed
        const double ideal = double(chain) * latency;
        std::printf("%-10d %8d %6d %10.0f %10.1f %7.3f\n", latency, list->Count(), chain, ideal, ms, ms / ideal);
    }
    qm::RouteServiceHostsTo(0);
    return 0;
}
