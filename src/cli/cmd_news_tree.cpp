// quillmar-cli news tree [--group G] [--today YYYY-MM-DD] [--format json]: a group's section tree,
// its date bar and which nodes have today's cache file.
#include "cli/NewsCli.h"

namespace {

int RunTree(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    std::string format = "json", groupText = "english", todayText;
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitArguments(
        args, {"--format", "--group", "--today"}, {},
        [&](const std::string &a, const std::string &v) {
            (a == "--format" ? format : a == "--group" ? groupText : todayText) = v;
            return std::string();
        },
        words);
    if (!error.empty()) return qm::cli::NewsUsage(error);
    if (format != "json") return qm::cli::NewsUsage("unknown format " + format);
    const int group = qm::ParseNewsGroup(groupText);
    if (group < 0) return qm::cli::NewsUsage("unknown group " + groupText);
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
