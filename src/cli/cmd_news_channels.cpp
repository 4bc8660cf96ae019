// quillmar-cli news channels [--format tsv|json]: the 42 channels of the daily news.
#include "cli/NewsCli.h"

namespace {

int RunChannels(const qm::cli::GlobalOptions &, std::vector<std::string> args) {
    std::string format = "json";
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitFormatOnly(args, {"json", "tsv"}, format, words);
    if (!error.empty()) return qm::cli::NewsUsage(error);
    if (!words.empty()) return qm::cli::NewsUsage("news channels takes no words");
    const auto table = qm::BuildNewsChannelTable();
    std::string out = format == "json" ? "[" : "index\tname\turl\thome\tsource\tsection\tgroup\tnode\n";
    for (size_t i = 0; i < table.size(); ++i) {
        const qm::NewsChannel &c = table[i];
        const int node = qm::NodeOfSection(c.group, c.section);
        if (format == "tsv") {
            out += std::to_string(i) + "\t" + qm::cli::TsvField(c.name) + "\t" + qm::cli::TsvField(c.pageUrl) + "\t" +
                   qm::cli::TsvField(c.homeUrl) + "\t" + qm::cli::TsvField(c.source) + "\t" + std::to_string(c.section) +
                   "\t" + std::to_string(c.group) + "\t" + std::to_string(node) + "\n";
            continue;
        }
        out += std::string(i ? ",\n  " : "\n  ") + "{\"index\": " + std::to_string(i) + ", \"name\": " +
               qm::cli::JsonString(c.name) + ", \"url\": " + qm::cli::JsonString(c.pageUrl) + ", \"home\": " +
               qm::cli::JsonString(c.homeUrl) + ", \"source\": " + qm::cli::JsonString(c.source) +
               ", \"section\": " + std::to_string(c.section) + ", \"group\": " + std::to_string(c.group) +
               ", \"node\": " + std::to_string(node) + "}";
    }
    if (format == "json") out += "\n]\n";
    qm::cli::PrintText(out);
    return 0;
}

const qm::cli::NewsCommandRegistration kRegistration("channels", RunChannels);

}  // namespace
