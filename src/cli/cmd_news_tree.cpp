// quillmar-cli news tree [--group G] [--today YYYY-MM-DD] [--format json]: a group's section tree,
// its date bar and which nodes have today's cache file.
#include "cli/NewsCli.h"

namespace {

int RunTree(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    qm::cli::NewsArguments parsed;
    if (int status = qm::cli::ParseNewsArguments(args, "--today", parsed)) return status;
    const int group = parsed.group;
    const std::string &todayText = parsed.third;
    qm::NewsDay day;
    if (!todayText.empty() && !qm::cli::ParseNewsDay(todayText, day)) return qm::cli::NewsUsage("bad date " + todayText);
    qm::cli::WebCliSession session;
    if (!session.Open(g, "news")) return 1;
    auto news = qm::cli::MakeDailyNews(session, todayText.empty() ? nullptr : &day, false);
    news->SelectNewsGroup(group);
    const qm::NewsTree &t = news->Tree();
    std::string out = "{\"group\": " + std::to_string(group) + ", \"root\": " + qm::cli::JsonString(t.root) +
                      ", \"date\": " + qm::cli::JsonString(qm::Trim(news->DateBar())) + ", \"children\": [";
    for (int n = 1; n <= news->ChildCount(); ++n) {
        const qm::NewsNode &node = t.children[size_t(n - 1)];
        std::string sections;
        for (int s : node.sections) sections += (sections.empty() ? "" : ", ") + std::to_string(s);
        out += std::string(n > 1 ? ",\n  " : "\n  ") + "{\"node\": " + std::to_string(n) + ", \"caption\": " +
               qm::cli::JsonString(node.caption) + ", \"section\": " + std::to_string(node.sections.front()) +
               ", \"sections\": [" + sections + "], \"lead\": " +
               qm::cli::JsonString(news->Channels()[size_t(news->LeadOf(n))].name) +
               ", \"cached\": " + (news->Image(n) == qm::NodeImage::Cached ? "true" : "false") + "}";
    }
    qm::cli::PrintText(out + "\n]}\n");
    return 0;
}

const qm::cli::NewsCommandRegistration kRegistration("tree", RunTree);

}  // namespace
