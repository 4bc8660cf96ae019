// quillmar-cli search: a whole web search, through the same controller, request objects,
// readers, merge and limits as the window.
#include "cli/WebCli.h"
#include "net/CookieStore.h"
#include "engines/web/HttpClientAdapter.h"
#include "engines/web/WebBotEngine.h"
#include "engines/web/WebEngineTable.h"
#include "engines/web/WebSearchController.h"
#include "search/ExpandQuery.h"
#include "search/Export.h"
#include "search/ResultCache.h"
#include "search/ResultListModel.h"

#include <QCoreApplication>
#include <algorithm>
#include <QEvent>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char *kUsage =
    "[--mode all|any|exact|bool] [--max N] [--per-engine] [--engines NAME,NAME...] [--group FILE] "
    "[--format tsv|json] [--export FILE] [--merge] QUERY...\n"
    "               --engines takes built-in engines and engines of the group file (Engines/WebSearch.grp\n"
    "               of the data root, or FILE); --export writes the result page the window's\n"
    "               \"Save site(s) to a file\" writes; --merge lists one row per site, counting its engines.\n"
    "               Exit status 0 when an engine answered, 3 when none could be reached";

int Fail(const std::string &message) {
    std::fprintf(stderr, "quillmar-cli search: %s\nusage: quillmar-cli search %s\n", message.c_str(), kUsage);
    return 2;
}

std::vector<std::string> SplitCommas(const std::string &text) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t comma = text.find(',', pos);
        if (comma == std::string::npos) comma = text.size();
        if (comma > pos) out.push_back(text.substr(pos, comma - pos));
        pos = comma + 1;
    }
    return out;
}

int RunSearch(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    qm::SearchMode mode = qm::SearchMode::All;
    std::string format = "tsv", max, engines, group, exportFile;
    bool perEngine = false, haveMax = false, haveEngines = false, merge = false;
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitArguments(
        args, {"--mode", "--format", "--max", "--engines", "--group", "--export"}, {"--per-engine", "--merge"},
        [&](const std::string &a, const std::string &v) -> std::string {
            if (a == "--mode" && !qm::cli::ParseMode(v, mode)) return "unknown mode " + v;
            if (a == "--format") format = v;
            if (a == "--max") max = v, haveMax = true;
            if (a == "--engines") engines = v, haveEngines = true;
            if (a == "--group") group = v;
            if (a == "--export") exportFile = v;
            if (a == "--per-engine") perEngine = true;
            if (a == "--merge") merge = true;
            return "";
        },
        words);
    if (!error.empty()) return Fail(error);
    if (format != "tsv" && format != "json") return Fail("unknown format " + format);
    const std::string typed = qm::cli::JoinWords(words);
    if (qm::PrepareQuery(typed).empty()) return Fail("no query");

    auto table = qm::BuildWebEngineTable();
    qm::SetWebSearchMode(table, mode);
    std::vector<bool> only;
    std::vector<std::string> otherNames;  // looked up among the engines of the group file
    if (haveEngines) {
        only.assign(table.size(), false);
        for (const auto &name : SplitCommas(engines)) {
            int row = qm::FindWebEngineByName(table, name);
            if (row < 0) otherNames.push_back(name);
            else only[size_t(row)] = true;
        }
    }

    qm::cli::WebCliSession session;
    if (!session.Open(g, "search")) return 1;

    // Engines described by files: run only when --engines names them.
    qm::TemplateEngineTable templates;
    std::vector<int> templateOnly;
    if (!otherNames.empty()) {
        bool loaded = group.empty() ? qm::LoadDataRootEngines(templates, session.Root()) : templates.LoadEngineGroup(group);
        for (const auto &note : templates.Notes()) std::fprintf(stderr, "quillmar-cli search: %s\n", note.c_str());
        if (!loaded && !group.empty()) return Fail("no engine definitions in " + group);
        for (const auto &name : otherNames) {
            int i = templates.Find(name);
            if (i < 0) return Fail("unknown engine " + name);
            templateOnly.push_back(i);
            if (!templates.Definitions()[size_t(i)].included)
                std::fprintf(stderr, "quillmar-cli search: %s is switched off (UsedByDefault is not YES)\n", name.c_str());
        }
        templates.SetSearchMode(mode);
    }
    const bool runBuiltIn = !haveEngines || std::find(only.begin(), only.end(), true) != only.end();
    qm::WebSearchSettings settings = qm::WebSettingsFrom(session.Opts());
    settings.muteSounds = true;
    if (haveMax) settings.maxResults = max;
    if (perEngine) settings.resultMode = 1;
    if (haveEngines) settings.engineEnabled = only;
    if (merge) settings.mergeSameSite = true;

    std::unique_ptr<qm::ResultListModel> list(qm::ResultListModel::CreateWebList());
    qm::CookieStore cookies(qm::CookieFileIn(session.Root()));
    const qm::ProxySettings proxy = qm::ProxyFrom(session.Opts());
    qm::WebSearchEnvironment env;
    env.settings = [settings] { return settings; };
    const qm::HttpLimits limits = qm::LimitsFrom(session.Opts());
    env.makeClient = qm::MakeHttpClientFactory([proxy] { return proxy; }, [limits] { return limits; });
    env.alert = [](const std::string &m) { std::fprintf(stderr, "quillmar-cli search: %s\n", m.c_str()); };
    env.cookies = &cookies;
    // The end of a search writes its cache as the window does.
    env.saveCache = [&list, &session](const std::string &query) {
        qm::WriteWebSearchCache(session.Root(), list->Rows(), query, session.Opts().web.useDiskCache);
    };
    qm::UseBuiltInReaders(env);
    std::vector<qm::EngineReport> report;
    int answered = 0;
    std::string summary;
    auto countSites = [&list] {
        int n = 0;
        for (const auto &r : list->Rows()) n += !r.caption.empty();  // not the "Nothing found for" notice
        return n;
    };
    {
        qm::WebSearchController controller(table, *list, env);
        if (runBuiltIn) {
            controller.StartWebSearch(typed);
            report = controller.Report();
            answered += controller.Status().Answered();
            summary = qm::SearchStatusText(controller.Status(), false, countSites());
        }
        if (!templateOnly.empty()) {
            qm::TemplateSearchController byFiles(templates, controller);
            byFiles.StartTemplateSearch(typed, &templateOnly, runBuiltIn);
            for (const auto &r : byFiles.Report())
                if (r.enabled) report.push_back(r);
            answered += byFiles.Status().Answered();
            if (!runBuiltIn) summary = qm::SearchStatusText(byFiles.Status(), false, countSites());
        }
    }
    const int sites = countSites();
    if (answered == 0) summary = "No engine could be reached: check the connection or the proxy settings";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    std::string out;
    if (format == "json") {
        out = "{\"rows\": [";
        bool first = true;
        for (const auto &r : list->Rows()) {
            if (r.caption.empty()) continue;  // the "Nothing found for" notice
            out += std::string(first ? "\n" : ",\n") + "  {\"site\": " + qm::cli::JsonString(r.subItems[qm::kSite]) +
                   ", \"location\": " + qm::cli::JsonString(r.subItems[qm::kLocation]) +
                   ", \"source\": " + qm::cli::JsonString(r.subItems[qm::kSource]) +
                   ", \"description\": " + qm::cli::JsonString(r.subItems[qm::kDescription]) +
                   ", \"url\": " + qm::cli::JsonString(r.subItems[qm::kUrl]) + "}";
            first = false;
        }
        out += first ? "],\n \"engines\": [" : "\n ],\n \"engines\": [";
        first = true;
        for (const auto &e : report) {
            out += std::string(first ? "\n" : ",\n") + "  {\"name\": " + qm::cli::JsonString(e.name) +
                   ", \"pages\": " + std::to_string(e.pages) + ", \"results\": " + std::to_string(e.results) +
                   ", \"status\": " + qm::cli::JsonString(e.status) + ", \"ms\": " +
                   (e.ms < 0 ? std::string("null") : std::to_string(e.ms)) + ", \"bytes\": " + std::to_string(e.bytes) +
                   ", \"duplicates\": " + std::to_string(e.duplicates) + ", \"merged\": " + std::to_string(e.merged) +
                   ", \"error\": " + (e.error.empty() ? std::string("null") : qm::cli::JsonString(e.error)) +
                   ", \"note\": " + (e.note.empty() ? std::string("null") : qm::cli::JsonString(e.note)) + "}";
            first = false;
        }
        out += first ? "],\n" : "\n ],\n";
        out += " \"sites\": " + std::to_string(sites) + ",\n \"answered\": " + std::to_string(answered) +
               ",\n \"summary\": " + qm::cli::JsonString(summary) + "}\n";
    } else {
        for (const auto &r : list->Rows()) {
            if (r.caption.empty()) continue;
            out += qm::cli::TsvField(r.subItems[qm::kSite]) + "\t" + qm::cli::TsvField(r.subItems[qm::kLocation]) +
                   "\t" + qm::cli::TsvField(r.subItems[qm::kSource]) + "\t" +
                   qm::cli::TsvField(r.subItems[qm::kDescription]) + "\t" + qm::cli::TsvField(r.subItems[qm::kUrl]) +
                   "\n";
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (!exportFile.empty()) {
        qm::SetExportEngineHomes(qm::EngineHomesOf(table));
        if (!qm::ExportWebResultPage(session.Root(), list->Rows(), exportFile)) {
            std::fprintf(stderr, "quillmar-cli search: %s (%s)\n", qm::kExportDiskError, exportFile.c_str());
            return 1;
        }
    }
    if (answered == 0) {
        std::fprintf(stderr, "quillmar-cli search: %s\n", summary.c_str());
        return 3;
    }
    if (list->Count() == 1 && list->Row(0).caption.empty())
        std::fprintf(stderr, "%s\n", qm::cli::Shown(list->Row(0).subItems[qm::kSite]).c_str());
    return 0;
}

const qm::cli::CommandRegistration kRegistration("search", kUsage, RunSearch);

}  // namespace
