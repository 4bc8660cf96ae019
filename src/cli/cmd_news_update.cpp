// quillmar-cli [--home DIR] [--connect-to ROUTES] [--demo] news update [--group G] [--section S]
// [--format json]: "Update all" of a group, or "Update a section", through the real client,
// writing the cache files as the window does.
#include "cli/NewsCli.h"

namespace {

const char *ImageName(qm::NodeImage image) {
    switch (image) {
    case qm::NodeImage::Fetching: return "fetching";
    case qm::NodeImage::Cached: return "cached";
    default: return "none";
    }
}

int RunUpdate(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    qm::cli::NewsArguments parsed;
    if (int status = qm::cli::ParseNewsArguments(args, "--section", parsed)) return status;
    const int group = parsed.group;
    const std::string &section = parsed.third;
    int node = 0;
    if (!section.empty() && (node = qm::cli::ParseNewsNode(group, section)) == 0)
        return qm::cli::NewsUsage("unknown section " + section);
    qm::cli::WebCliSession session;
    if (!session.Open(g, "news")) return 1;
    auto news = qm::cli::MakeDailyNews(session, nullptr, true);
    news->SelectNewsGroup(group);
    if (node) {
        news->ClickNode(node);
        news->PressUpdateOne();
    } else {
        news->PressUpdateAll();
    }
    std::string out = "{\"group\": " + std::to_string(group) + ", \"nodes\": [";
    for (int n = 1; n <= news->ChildCount(); ++n) {
        const std::string file = news->CacheFileOf(n);
        qm::HeadlineList rows;
        const bool cached = qm::ReadNewsCache(file, rows);
        out += std::string(n > 1 ? ",\n  " : "\n  ") + "{\"node\": " + std::to_string(n) + ", \"caption\": " +
               qm::cli::JsonString(news->Tree().children[size_t(n - 1)].caption) + ", \"state\": \"" +
               ImageName(news->Image(n)) + "\", \"file\": " +
               (cached ? qm::cli::JsonString("Cache/" + std::string(qm::kDailyNewsCacheFolder) + "/" + qm::cli::BaseName(file))
                       : std::string("null")) +
               ", \"rows\": " + qm::cli::NewsRowsJson(rows) + "}";
    }
    out += "\n], \"channels\": [";
    bool anyAnswered = false;
    const auto &outcomes = news->Outcomes();
    for (size_t i = 0; i < outcomes.size(); ++i) {
        const qm::ChannelOutcome &o = outcomes[i];
        anyAnswered = anyAnswered || o.status == 200;
        out += std::string(i ? ",\n  " : "\n  ") + "{\"index\": " + std::to_string(o.index) + ", \"name\": " +
               qm::cli::JsonString(news->Channels()[size_t(o.index)].name) + ", \"status\": " + std::to_string(o.status) +
               ", \"bytes\": " + std::to_string(o.bytes) + ", \"ms\": " + (o.ms < 0 ? "null" : std::to_string(o.ms)) +
               ", \"error\": " + (o.reason.empty() ? std::string("null") : qm::cli::JsonString(o.reason)) + "}";
    }
    qm::cli::PrintText(out + "\n]}\n");
    return outcomes.empty() || anyAnswered ? 0 : 3;
}

const qm::cli::NewsCommandRegistration kRegistration("update", RunUpdate);

}  // namespace
