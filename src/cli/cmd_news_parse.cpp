// quillmar-cli news parse [--today D] [--host PREFIX] --channel N FILE [--channel N FILE...]
// [--format json]: each channel's headline parser over its file, in the order given, into the
// one empty list of the node they all feed. Writes nothing.
#include "cli/NewsCli.h"
#include "toolkit/AtomicFile.h"

namespace {

// The node list of the parse and the completion rule of its node.
class ParseSink : public qm::HeadlineSink {
public:
    ParseSink(int group, int node) : counter_(qm::CompletionCounterOf(group, node)) {}
    bool KeepReading() override { return true; }
    void ClearList() override { rows.Clear(); }
    void AddRow(qm::HeadlineRow row) override { rows.Add(std::move(row)); }
    bool HasUrl(std::string_view url) const override { return rows.HasUrl(url); }
    void Complete() override {
        marked = counter_ < 0 || ++count_ >= qm::CompletionTotal(counter_);
    }
    qm::HeadlineNodeList rows;
    bool marked = false;

private:
    int counter_;
    int count_ = 0;
};

int RunParse(const qm::cli::GlobalOptions &, std::vector<std::string> args) {
    std::string format = "json", todayText, host;
    std::vector<std::pair<int, std::string>> pages;
    std::vector<std::string> words;
    std::string pending;
    bool bad = false;
    const std::string error = qm::cli::SplitArguments(
        args, {"--format", "--today", "--host", "--channel"}, {},
        [&](const std::string &a, const std::string &v) -> std::string {
            if (a == "--format") format = v;
            if (a == "--today") todayText = v;
            if (a == "--host") host = v;
            if (a == "--channel") {
                bool digits = !v.empty();
                for (char c : v) digits = digits && c >= '0' && c <= '9';
                const long n = digits ? std::atol(v.c_str()) : -1;
                if (n < 0 || n >= qm::kNewsChannelCount) bad = true;
                pages.emplace_back(int(n), "");
            }
            return "";
        },
        words);
    if (!error.empty()) return qm::cli::NewsUsage(error);
    if (format != "json") return qm::cli::NewsUsage("unknown format " + format);
    // Each --channel takes the next file named after it.
    if (bad) {
        std::fprintf(stderr, "quillmar-cli news parse: unknown channel\n");
        return 2;
    }
    if (pages.empty() || words.size() != pages.size()) return qm::cli::NewsUsage("give one FILE after each --channel N");
    for (size_t i = 0; i < pages.size(); ++i) pages[i].second = words[i];
    qm::NewsDay day;
    if (todayText.empty()) {
        const QDate d = QDate::currentDate();
        day = {d.year(), d.month(), d.day()};
    } else if (!qm::cli::ParseNewsDay(todayText, day)) {
        return qm::cli::NewsUsage("bad date " + todayText);
    }
    const auto table = qm::BuildNewsChannelTable();
    const qm::NewsChannel &first = table[size_t(pages.front().first)];
    const int group = first.group, node = qm::NodeOfSection(group, first.section);
    ParseSink sink(group, node);
    for (const auto &[index, file] : pages) {
        const qm::NewsChannel &c = table[size_t(index)];
        if (c.group != group || qm::NodeOfSection(c.group, c.section) != node) {
            std::fprintf(stderr, "quillmar-cli news parse: channel %d feeds another node\n", index);
            return 2;
        }
        std::string page;
        if (!qm::ReadWholeFile(file, page)) {
            std::fprintf(stderr, "quillmar-cli news parse: cannot read %s\n", file.c_str());
            return 2;
        }
        qm::HeadlineInput in;
        in.channel = c.name;
        in.pageRoot = host.empty() ? qm::PageRoot(c.pageUrl) : host;
        while (!in.pageRoot.empty() && in.pageRoot.back() == '/') in.pageRoot.pop_back();
        in.year = day.year;
        sink.marked = false;
        qm::ParseHeadlines(c.section, page, in, sink);
    }
    qm::cli::PrintText("{\"node\": " + qm::cli::JsonString(qm::SectionTree(group).children[size_t(node - 1)].caption) +
                       ", \"marked\": " + (sink.marked ? "true" : "false") +
                       ", \"rows\": " + qm::cli::NewsRowsJson(sink.rows.Rows()) + "}\n");
    return 0;
}

const qm::cli::NewsCommandRegistration kRegistration("parse", RunParse);

}  // namespace
