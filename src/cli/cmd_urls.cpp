// quillmar-cli urls: the first request address each enabled web engine would get.
#include "cli/WebCli.h"
#include "engines/web/HttpClientAdapter.h"
#include "engines/web/WebEngineTable.h"
#include "search/ExpandQuery.h"

#include <cstdio>

namespace {

constexpr const char *kUsage = "[--mode all|any|exact|bool] [--format tsv|json] QUERY...";

int Fail(const std::string &message) {
    std::fprintf(stderr, "quillmar-cli urls: %s\nusage: quillmar-cli urls %s\n", message.c_str(), kUsage);
    return 2;
}

int RunUrls(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    qm::SearchMode mode = qm::SearchMode::All;
    std::string format = "tsv";
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitArguments(
        args, {"--mode", "--format"}, {},
        [&](const std::string &a, const std::string &v) -> std::string {
            if (a == "--mode" && !qm::cli::ParseMode(v, mode)) return "unknown mode " + v;
            if (a == "--format") format = v;
            return "";
        },
        words);
    if (!error.empty()) return Fail(error);
    if (format != "tsv" && format != "json") return Fail("unknown format " + format);
    const std::string query = qm::PrepareQuery(qm::cli::JoinWords(words));
    if (query.empty()) return Fail("no query");

    qm::cli::WebCliSession session;
    if (!session.Open(g, "urls")) return 1;
    auto table = qm::BuildWebEngineTable();
    qm::SetWebSearchMode(table, mode);
    const auto settings = qm::WebSettingsFrom(session.Opts());

    std::string out = format == "json" ? "[" : "";
    bool first = true;
    for (int i = 0; i < qm::kWebEngineCount; ++i) {
        if (!settings.engineEnabled[size_t(i)]) continue;
        const auto x = qm::ExpandQuery(table[size_t(i)], query);
        const std::string &url = x.sponsored ? x.click : x.address;
        if (format == "json") {
            out += std::string(first ? "\n" : ",\n") + "  {\"engine\": " + qm::cli::JsonString(table[size_t(i)].name) +
                   ", \"query\": " + qm::cli::JsonString(x.query) + ", \"url\": " + qm::cli::JsonString(url) + "}";
        } else {
            out += qm::cli::TsvField(table[size_t(i)].name) + "\t" + qm::cli::TsvField(x.query) + "\t" +
                   qm::cli::TsvField(url) + "\n";
        }
        first = false;
    }
    if (format == "json") out += first ? "]\n" : "\n]\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

const qm::cli::CommandRegistration kRegistration("urls", kUsage, RunUrls);

}  // namespace
