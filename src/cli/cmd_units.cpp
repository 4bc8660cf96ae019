// quillmar-cli units: the unit-conversion grid without a window.
//   units --list                              every category with its units, in list order
//   units --category NAME -- VALUE UNIT       VALUE typed into UNIT's row, then Enter
#include "cli/WebCli.h"
#include "tools/UnitGrid.h"

#include <cstdio>

namespace {

constexpr const char *kUsage = "--list | --category NAME [--format json|tsv] -- VALUE UNIT";

int Fail(const std::string &message) {
    std::fprintf(stderr, "quillmar-cli units: %s\nusage: quillmar-cli units %s\n", message.c_str(), kUsage);
    return 2;
}

std::string ListJson() {
    qm::UnitGrid grid;
    std::string out = "[";
    for (int i = 0; i < qm::kUnitCategoryCount; ++i) {
        grid.SelectCategory(i);
        out += i ? ",\n  {\"category\": " : "\n  {\"category\": ";
        qm::AppendJsonString(out, qm::UnitCategories()[size_t(i)].caption);
        out += ", \"units\": [";
        for (size_t r = 0; r < grid.Rows().size(); ++r) {
            if (r) out += ", ";
            qm::AppendJsonString(out, grid.Rows()[r].name);
        }
        out += "]}";
    }
    return out + "\n]\n";
}

int RunUnits(const qm::cli::GlobalOptions &, std::vector<std::string> args) {
    bool list = false;
    std::string category, format = "json";
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitArguments(
        args, {"--category", "--format"}, {"--list"},
        [&](const std::string &a, const std::string &v) -> std::string {
            if (a == "--list") list = true;
            else if (a == "--category") category = v;
            else if (a == "--format") format = v;
            return "";
        },
        words);
    if (!error.empty()) return Fail(error);
    if (format != "json" && format != "tsv") return Fail("unknown format " + format);
    if (list) {
        if (!words.empty() || !category.empty()) return Fail("--list takes nothing else");
        std::string out;
        if (format == "json") {
            out = ListJson();
        } else {
            qm::UnitGrid grid;
            for (int i = 0; i < qm::kUnitCategoryCount; ++i) {
                grid.SelectCategory(i);
                for (const auto &r : grid.Rows()) out += std::string(qm::UnitCategories()[size_t(i)].caption) + "\t" + r.name + "\n";
            }
        }
        std::fwrite(out.data(), 1, out.size(), stdout);
        return 0;
    }
    if (words.size() != 2) return Fail("expected VALUE and UNIT");
    const int index = qm::FindUnitCategory(category);
    if (index < 0) return Fail("unknown category \"" + category + "\"");
    qm::UnitGrid grid;
    grid.SelectCategory(index);
    const int row = grid.FindRow(words[1]);
    if (row < 0) return Fail("no unit \"" + words[1] + "\" in " + qm::UnitCategories()[size_t(index)].caption);
    grid.SetValue(row, words[0]);
    grid.ConvertFrom(row, 1);
    const std::string out = format == "json" ? qm::UnitGridJson(grid, words[1], words[0]) + "}\n" : qm::UnitGridTsv(grid);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

qm::cli::CommandRegistration registration("units", kUsage, RunUnits);

}  // namespace
