// quillmar-cli news-search: a whole newsgroup article search, through the controller the
// window's NEWS page drives.
#include "cli/VerticalCli.h"
#include "search/ExpandQuery.h"

#include <cstdlib>

namespace {

constexpr const char *kUsage =
    "[--group TEXT] [--lang N] [--collapsed] [--max N] [--per-engine] [--format tsv|json] [--export FILE] QUERY...\n"
    "               --export writes the page of \"Save article(s) to a file\"";

int Fail(const std::string &message) {
    std::fprintf(stderr, "quillmar-cli news-search: %s\nusage: quillmar-cli news-search %s\n", message.c_str(), kUsage);
    return 2;
}

bool IsNumber(const std::string &v) {
    size_t i = v.size() > 1 && v[0] == '-' ? 1 : 0;
    return i < v.size() && v.find_first_not_of("0123456789", i) == std::string::npos;
}

int RunNewsSearch(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    std::string format = "tsv", exportFile, max;
    qm::NewsRestriction restriction;
    bool collapsed = false, perEngine = false, haveMax = false;
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitArguments(
        args, {"--group", "--lang", "--max", "--format", "--export"}, {"--collapsed", "--per-engine"},
        [&](const std::string &a, const std::string &v) -> std::string {
            if (a == "--group") restriction.group = v, restriction.open = true;
            if (a == "--lang") {
                if (!IsNumber(v)) return "--lang needs a number";
                restriction.language = std::atoi(v.c_str());
                restriction.open = true;
            }
            if (a == "--max") {
                if (!IsNumber(v)) return "--max needs a number";
                max = v, haveMax = true;
            }
            if (a == "--format") format = v;
            if (a == "--export") {
                if (v.empty()) return "--export needs a file";
                exportFile = v;
            }
            if (a == "--collapsed") collapsed = true;
            if (a == "--per-engine") perEngine = true;
            return "";
        },
        words);
    if (!error.empty()) return Fail(error);
    if (format != "tsv" && format != "json") return Fail("unknown format " + format);
    if (collapsed) restriction.open = false;
    const std::string typed = qm::cli::JoinWords(words);
    if (qm::PrepareQuery(typed).empty()) return Fail("no query");

    qm::cli::WebCliSession session;
    if (!session.Open(g, "news-search")) return 1;
    qm::NewsOptions options = qm::NewsOptionsFrom(session.Opts());
    if (haveMax) options.maximum = qm::CStyleNumber(max);
    if (perEngine) options.resultMode = 1;
    options.mute = true;
    qm::NewsSearch search(qm::cli::CliVerticalHost(session, "news-search"), [options] { return options; });
    search.Restriction() = restriction;
    search.Controller().Start(typed);
    const int status = qm::cli::FinishVerticalRun(true, search.Controller(), format);
    if (!exportFile.empty() && !search.ExportPage(exportFile)) {
        std::fprintf(stderr, "quillmar-cli news-search: %s (%s)\n", qm::kExportDiskError, exportFile.c_str());
        return 1;
    }
    return status;
}

const qm::cli::CommandRegistration kRegistration("news-search", kUsage, RunNewsSearch);

}  // namespace
