// quillmar-cli urls: the first request address each enabled engine of a search kind would get.
#include "cli/WebCli.h"
#include "engines/vertical/VerticalTables.h"
#include "engines/web/HttpClientAdapter.h"
#include "engines/web/WebEngineTable.h"
#include "search/ExpandQuery.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char *kUsage =
    "[--kind web|news|software] [--mode all|any|exact|bool] [--group TEXT] [--lang N] [--collapsed]\n"
    "               [--format tsv|json] QUERY...   (--group and --lang open the newsgroup row, --collapsed\n"
    "               keeps it shut; --mode applies to web and software, news always uses All)";

int Fail(const std::string &message) {
    std::fprintf(stderr, "quillmar-cli urls: %s\nusage: quillmar-cli urls %s\n", message.c_str(), kUsage);
    return 2;
}

int RunUrls(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    qm::SearchMode mode = qm::SearchMode::All;
    std::string format = "tsv", kind = "web";
    qm::NewsRestriction news;
    bool collapsed = false;
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitArguments(
        args, {"--mode", "--format", "--kind", "--group", "--lang"}, {"--collapsed"},
        [&](const std::string &a, const std::string &v) -> std::string {
            if (a == "--mode" && !qm::cli::ParseMode(v, mode)) return "unknown mode " + v;
            if (a == "--format") format = v;
            if (a == "--kind") kind = v;
            if (a == "--group") news.group = v, news.open = true;
            if (a == "--lang") {
                if (v.empty() || v.find_first_not_of("-0123456789") != std::string::npos) return "--lang needs a number";
                news.language = std::atoi(v.c_str());
                news.open = true;
            }
            if (a == "--collapsed") collapsed = true;
            return "";
        },
        words);
    if (!error.empty()) return Fail(error);
    if (kind != "web" && kind != "news" && kind != "software") return Fail("unknown kind " + kind);
    if (collapsed) news.open = false;
    if (format != "tsv" && format != "json") return Fail("unknown format " + format);
    const std::string query = qm::PrepareQuery(qm::cli::JoinWords(words));
    if (query.empty()) return Fail("no query");

    qm::cli::WebCliSession session;
    if (!session.Open(g, "urls")) return 1;
    struct Line {
        std::string engine, query, url;
    };
    std::vector<Line> lines;
    if (kind == "web") {
        auto table = qm::BuildWebEngineTable();
        qm::SetWebSearchMode(table, mode);
        const auto settings = qm::WebSettingsFrom(session.Opts());
        for (int i = 0; i < qm::kWebEngineCount; ++i) {
            if (!settings.engineEnabled[size_t(i)]) continue;
            const auto x = qm::ExpandQuery(table[size_t(i)], query);
            lines.push_back({table[size_t(i)].name, x.query, x.sponsored ? x.click : x.address});
        }
    } else if (kind == "news") {
        const auto table = qm::BuildNewsEngineTable();
        if (session.Opts().newsEngineEnabled(qm::kNewsEngineName)) {
            std::string expanded;
            const std::string url = qm::NewsFirstAddress(table[0], query, news, &expanded);
            lines.push_back({table[0].name, expanded, url});
        }
    } else {
        auto table = qm::BuildSoftwareEngineTable();
        qm::SetSoftwareSearchMode(table, mode);
        for (const auto &row : table) {
            std::string expanded;
            const std::string url = qm::SoftwareFirstAddress(row, query, &expanded);
            lines.push_back({row.name, expanded, url});
        }
    }

    std::string out = format == "json" ? "[" : "";
    bool first = true;
    for (const auto &l : lines) {
        if (format == "json") {
            out += std::string(first ? "\n" : ",\n") + "  {\"engine\": " + qm::cli::JsonString(l.engine) +
                   ", \"query\": " + qm::cli::JsonString(l.query) + ", \"url\": " + qm::cli::JsonString(l.url) + "}";
        } else {
            out += qm::cli::TsvField(l.engine) + "\t" + qm::cli::TsvField(l.query) + "\t" + qm::cli::TsvField(l.url) + "\n";
        }
        first = false;
    }
    if (format == "json") out += first ? "]\n" : "\n]\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

const qm::cli::CommandRegistration kRegistration("urls", kUsage, RunUrls);

}  // namespace
