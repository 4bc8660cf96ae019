// quillmar-cli smart tree: the category list at a level, or the whole raw table.
#include "cli/SmartCli.h"
#include "smart/CategoryTable.h"
#include "toolkit/JsonText.h"
#include "toolkit/Misc.h"

namespace {

constexpr const char *kUsage = "[--path TOP[/SUB]] [--all] [--format json|text]";

int RunTree(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    std::string path, format = "text";
    bool all = false, havePath = false;
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitArguments(
        args, {"--path", "--format"}, {"--all"},
        [&](const std::string &a, const std::string &v) -> std::string {
            if (a == "--path") path = v, havePath = true;
            if (a == "--format") format = v;
            if (a == "--all") all = true;
            return "";
        },
        words);
    if (!error.empty()) return qm::cli::SmartFail("tree", error, kUsage);
    if (!words.empty()) return qm::cli::SmartFail("tree", "unexpected argument " + words[0], kUsage);
    if (format != "json" && format != "text") return qm::cli::SmartFail("tree", "unknown format " + format, kUsage);

    std::string out;
    if (all) {
        const auto &table = qm::SmartCategoryTable();
        if (format == "json") {
            out = "[";
            for (size_t i = 0; i < table.size(); ++i) {
                out += i ? ",\n " : "\n ";
                qm::AppendJsonString(out, qm::cli::Shown(table[i]));
            }
            out += "\n]\n";
        } else {
            for (const auto &e : table) out += qm::cli::Shown(e) + "\n";
        }
        std::fwrite(out.data(), 1, out.size(), stdout);
        return 0;
    }

    const qm::SmartPlace place = qm::FindSmartPlace(havePath ? path : std::string());
    if (!place.found || place.level > 2) return qm::cli::SmartFail("tree", "unknown category " + path, kUsage);
    std::vector<std::pair<std::string, bool>> entries;
    if (place.level == 0) {
        for (const auto &t : qm::SmartTops()) entries.emplace_back(t, false);
    } else if (place.level == 1) {
        for (const auto &s : qm::SmartSubcategories(place.top)) entries.emplace_back(qm::Trim(s), false);
    } else {
        for (const auto &l : qm::SmartLeaves(place.top, place.sub)) entries.emplace_back(l, qm::SmartCacheExists(g.home, l));
    }
    if (format == "json") {
        out = "{\"level\": " + std::to_string(place.level) + ", \"entries\": [";
        for (size_t i = 0; i < entries.size(); ++i)
            out += std::string(i ? ",\n  " : "\n  ") + "{\"name\": " + qm::cli::JsonString(entries[i].first) +
                   ", \"cached\": " + (entries[i].second ? "true" : "false") + "}";
        out += entries.empty() ? "]}\n" : "\n ]}\n";
    } else {
        for (const auto &[name, cached] : entries) out += qm::cli::Shown(name) + (cached ? "\t(cached)\n" : "\n");
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

const qm::cli::SmartRegistration kRegistration("tree", kUsage, RunTree);

}  // namespace
