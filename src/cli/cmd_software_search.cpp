// quillmar-cli software-search: a whole software search (C|NET and TuCows), through the
// controller the window's PRG page drives.
#include "cli/VerticalCli.h"
#include "search/ExpandQuery.h"

namespace {

constexpr const char *kUsage = "[--mode all|any|exact|bool] [--format tsv|json] QUERY...";

int Fail(const std::string &message) {
    std::fprintf(stderr, "quillmar-cli software-search: %s\nusage: quillmar-cli software-search %s\n",
                 message.c_str(), kUsage);
    return 2;
}

int RunSoftwareSearch(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
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
    const std::string typed = qm::cli::JoinWords(words);
    if (qm::PrepareQuery(typed).empty()) return Fail("no query");

    qm::cli::WebCliSession session;
    if (!session.Open(g, "software-search")) return 1;
    qm::SoftwareSearch search(qm::cli::CliVerticalHost(session, "software-search"));
    search.SetMode(mode);
    search.Controller().Start(typed);
    return qm::cli::FinishVerticalRun(false, search.Controller(), format);
}

const qm::cli::CommandRegistration kRegistration("software-search", kUsage, RunSoftwareSearch);

}  // namespace
