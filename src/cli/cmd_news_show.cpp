// quillmar-cli [--home DIR] news show [--group G] --section S [--format json]: a section shown
// from today's cache file, without network.
#include "cli/NewsCli.h"

namespace {

int RunShow(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    qm::cli::NewsArguments parsed;
    if (int status = qm::cli::ParseNewsArguments(args, "--section", parsed)) return status;
    const int group = parsed.group;
    const std::string &section = parsed.third;
    const int node = qm::cli::ParseNewsNode(group, section);
    if (!node) return qm::cli::NewsUsage(section.empty() ? "--section is needed" : "unknown section " + section);
    qm::cli::WebCliSession session;
    if (!session.Open(g, "news")) return 1;
    auto news = qm::cli::MakeDailyNews(session, nullptr, false);
    news->SelectNewsGroup(group);
    news->ClickNode(node);
    const bool cached = !news->Shown().empty();
    qm::cli::PrintText("{\"node\": " + std::to_string(node) + ", \"caption\": " +
                       qm::cli::JsonString(news->Tree().children[size_t(node - 1)].caption) + ", \"source\": " +
                       qm::cli::JsonString(news->SourceLabel()) + ", \"home\": " + qm::cli::JsonString(news->HomePage()) +
                       ", \"cached\": " + (cached ? "true" : "false") + ", \"rows\": " +
                       qm::cli::NewsRowsJson(news->Shown()) + "}\n");
    return 0;
}

const qm::cli::NewsCommandRegistration kRegistration("show", RunShow);

}  // namespace
