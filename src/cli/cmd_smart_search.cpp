// quillmar-cli smart search: opens a leaf as the category list does (its cache when there is
// one) or, with --fresh, as the search button does (always a search), through the same
// controller as the window, and writes the leaf's cache as the window does.
#include "cli/SmartCli.h"
#include "net/CookieStore.h"
#include "engines/web/HttpClientAdapter.h"
#include "smart/CategoryTable.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

constexpr const char *kUsage =
    "[--max N] [--per-engine] [--fresh] [--format json|tsv] PATH\n"
    "               PATH names a leaf: TOP/SUB/LEAF (case ignored). Exit status 3 when a search\n"
    "               ran and no engine could be reached";

std::string EngineJson(const qm::SmartEngineReport &e) {
    const auto &f = e.figures;
    return "{\"name\": " + qm::cli::JsonString(e.name) + ", \"url\": " + qm::cli::JsonString(e.url) +
           ", \"pages\": " + std::to_string(e.pages) + ", \"results\": " + std::to_string(e.results) +
           ", \"status\": " + qm::cli::JsonString(e.status) +
           ", \"ms\": " + (f.ms < 0 ? std::string("null") : std::to_string(f.ms)) +
           ", \"bytes\": " + std::to_string(f.bytes) + ", \"duplicates\": " + std::to_string(f.duplicates) +
           ", \"error\": " + (f.error.empty() ? std::string("null") : qm::cli::JsonString(f.error)) + "}";
}

int RunSearch(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    std::string max, format = "json";
    bool perEngine = false, fresh = false, haveMax = false;
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitArguments(
        args, {"--max", "--format"}, {"--per-engine", "--fresh"},
        [&](const std::string &a, const std::string &v) -> std::string {
            if (a == "--max") max = v, haveMax = true;
            if (a == "--format") format = v;
            if (a == "--per-engine") perEngine = true;
            if (a == "--fresh") fresh = true;
            return "";
        },
        words);
    if (!error.empty()) return qm::cli::SmartFail("search", error, kUsage);
    if (format != "json" && format != "tsv") return qm::cli::SmartFail("search", "unknown format " + format, kUsage);
    const std::string path = qm::cli::JoinWords(words);
    const qm::SmartPlace place = qm::FindSmartPlace(path);
    if (path.empty() || !place.found || place.level != 3)
        return qm::cli::SmartFail("search", "no leaf category named " + path, kUsage);

    qm::cli::WebCliSession session;
    if (!session.Open(g, "smart search")) return 1;
    qm::WebSearchSettings settings = qm::WebSettingsFrom(session.Opts());
    settings.muteSounds = true;
    if (haveMax) settings.maxResults = max;
    if (perEngine) settings.resultMode = 1;

    std::unique_ptr<qm::ResultListModel> list(qm::CreateSmartList());
    qm::CookieStore cookies(qm::CookieFileIn(session.Root()));
    const qm::ProxySettings proxy = qm::ProxyFrom(session.Opts());
    const qm::HttpLimits limits = qm::LimitsFrom(session.Opts());
    qm::WebSearchEnvironment env;
    env.settings = [settings] { return settings; };
    env.makeClient = qm::MakeHttpClientFactory([proxy] { return proxy; }, [limits] { return limits; });
    env.alert = [](const std::string &m) { std::fprintf(stderr, "quillmar-cli smart search: %s\n", m.c_str()); };
    env.cookies = &cookies;

    std::vector<qm::SmartEngineReport> report;
    bool cached = false, searched = false;
    int answered = 0;
    std::string query;
    {
        qm::SmartSearchController controller(*list, env, session.Root());
        const auto opened = controller.OpenLeaf(place.leaf, fresh);
        cached = opened == qm::SmartSearchController::Opened::Cache;
        searched = opened == qm::SmartSearchController::Opened::Searched;
        query = controller.SmartQuery();
        if (searched) {
            report = controller.Report();
            answered = controller.Status().Answered();
        }
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    std::string out;
    if (format == "json") {
        out = "{\"query\": " + qm::cli::JsonString(query) + ",\n \"cached\": " + (cached ? "true" : "false") +
              ",\n \"file\": " + qm::cli::JsonString(qm::SmartCachePath(session.Root(), place.leaf)) +
              ",\n \"rows\": " + qm::cli::SmartRowsJson(list->Rows()) + ",\n \"engines\": [";
        for (size_t i = 0; i < report.size(); ++i) out += std::string(i ? ",\n  " : "\n  ") + EngineJson(report[i]);
        out += report.empty() ? "]}\n" : "\n ]}\n";
    } else {
        for (const auto &r : list->Rows()) {
            if (r.caption.empty() || r.subItems.size() < 5) continue;
            out += qm::cli::TsvField(r.subItems[qm::kSite]) + "\t" + qm::cli::TsvField(r.subItems[qm::kLocation]) +
                   "\t" + qm::cli::TsvField(r.subItems[qm::kSmartCost]) + "\t" +
                   qm::cli::TsvField(r.subItems[qm::kDescription]) + "\t" + qm::cli::TsvField(r.subItems[qm::kUrl]) +
                   "\n";
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (searched && answered == 0) {
        std::fprintf(stderr, "quillmar-cli smart search: No engine could be reached: check the connection or the proxy settings\n");
        return 3;
    }
    if (!cached && !searched) return 1;
    return 0;
}

const qm::cli::SmartRegistration kRegistration("search", kUsage, RunSearch);

}  // namespace
