#pragma once
// What the newsgroup and software subcommands share: the rows as JSON or TSV and the
// engines' outcome.
#include "cli/WebCli.h"
#include "engines/vertical/VerticalFeatures.h"
#include "engines/web/HttpClientAdapter.h"

#include <QCoreApplication>
#include <QEvent>
#include <cstdio>
#include <string>
#include <vector>

namespace qm::cli {

inline const std::vector<const char *> &VerticalKeys(bool news) {
    static const std::vector<const char *> newsKeys = {"title", "newsgroups", "source", "description", "address"};
    static const std::vector<const char *> prgKeys = {"name",   "type",        "size", "comments",
                                                      "source", "description", "url",  "homepage"};
    return news ? newsKeys : prgKeys;
}

// {"rows": [...], then "pages" (when given) or "engines" (when given)} or TSV lines: the
// rows' fields, then one line per page. The "Nothing found for" notice (no caption) is no row.
inline std::string FormatVerticalRows(const std::vector<const char *> &keys, const std::vector<ResultRow> &rows,
                                      const std::vector<std::string> *pages, bool json,
                                      const std::vector<EngineReport> *engines = nullptr) {
    std::string out;
    if (!json) {
        for (const auto &r : rows) {
            if (r.caption.empty()) continue;
            for (size_t i = 0; i < keys.size(); ++i)
                out += (i ? "\t" : "") + TsvField(i < r.subItems.size() ? r.subItems[i] : std::string());
            out += "\n";
        }
        if (pages)
            for (const auto &p : *pages) out += TsvField(p) + "\n";
        return out;
    }
    out = "{\"rows\": [";
    bool first = true;
    for (const auto &r : rows) {
        if (r.caption.empty()) continue;
        out += first ? "\n  {" : ",\n  {";
        for (size_t i = 0; i < keys.size(); ++i)
            out += std::string(i ? ", " : "") + "\"" + keys[i] + "\": " +
                   JsonString(i < r.subItems.size() ? r.subItems[i] : std::string());
        out += "}";
        first = false;
    }
    out += first ? "]" : "\n ]";
    if (pages) {
        out += ",\n \"pages\": [";
        for (size_t i = 0; i < pages->size(); ++i) out += (i ? ",\n  " : "\n  ") + JsonString((*pages)[i]);
        out += pages->empty() ? "]" : "\n ]";
    }
    if (engines) {
        out += ",\n \"engines\": [";
        first = true;
        for (const auto &e : *engines) {
            out += std::string(first ? "\n" : ",\n") + "  {\"name\": " + JsonString(e.name) +
                   ", \"pages\": " + std::to_string(e.pages) + ", \"results\": " + std::to_string(e.results) +
                   ", \"status\": " + JsonString(e.status) + ", \"ms\": " +
                   (e.ms < 0 ? std::string("null") : std::to_string(e.ms)) + ", \"bytes\": " + std::to_string(e.bytes) +
                   ", \"duplicates\": " + std::to_string(e.duplicates) +
                   ", \"error\": " + (e.error.empty() ? std::string("null") : JsonString(e.error)) + "}";
            first = false;
        }
        out += first ? "]" : "\n ]";
    }
    return out + "}\n";
}

inline std::string FormatVerticalRows(bool news, const std::vector<ResultRow> &rows,
                                      const std::vector<std::string> *pages, bool json,
                                      const std::vector<EngineReport> *engines = nullptr) {
    return FormatVerticalRows(VerticalKeys(news), rows, pages, json, engines);
}

// The surroundings of a vertical search run from the command line: the session's data root,
// clients with the options' proxy and bounds, alerts on stderr, no sounds.
inline VerticalHost CliVerticalHost(const WebCliSession &session, const char *command) {
    VerticalHost h;
    const ProxySettings proxy = ProxyFrom(session.Opts());
    const HttpLimits limits = LimitsFrom(session.Opts());
    h.makeClient = MakeHttpClientFactory([proxy] { return proxy; }, [limits] { return limits; });
    const std::string root = session.Root();
    h.dataRoot = [root] { return root; };
    h.alert = [command](const std::string &m) { std::fprintf(stderr, "quillmar-cli %s: %s\n", command, m.c_str()); };
    h.mute = [] { return true; };
    return h;
}

// After a search: prints the rows and engines, the notice on stderr. Exit status 0, or 3
// when no engine answered.
inline int FinishVerticalRun(const std::vector<const char *> &keys, VerticalSearchController &c,
                             const std::string &format) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const auto &rows = c.List().Rows();
    const std::string out = FormatVerticalRows(keys, rows, nullptr, format == "json", &c.Report());
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (rows.size() == 1 && rows[0].caption.empty())
        std::fprintf(stderr, "%s\n", Shown(rows[0].subItems[0]).c_str());
    const int taking = c.Status().Taking();
    if (taking > 0 && c.Status().Answered() == 0) {
        std::fprintf(stderr, "No engine could be reached: check the connection or the proxy settings\n");
        return 3;
    }
    return 0;
}

inline int FinishVerticalRun(bool news, VerticalSearchController &c, const std::string &format) {
    return FinishVerticalRun(VerticalKeys(news), c, format);
}

}  // namespace qm::cli
