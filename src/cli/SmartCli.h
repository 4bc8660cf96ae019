#pragma once
// The "smart" subcommands of quillmar-cli: `smart tree`, `smart parse`, `smart search`,
// one file each, registered with a static SmartRegistration.
#include "cli/Command.h"
#include "cli/WebCli.h"
#include "search/ResultRow.h"
#include "smart/SmartSearch.h"

#include <string>
#include <vector>

namespace qm::cli {

std::vector<CommandInfo> &SmartCommands();

struct SmartRegistration {
    SmartRegistration(std::string name, std::string usage, CommandFn fn) {
        SmartCommands().push_back({std::move(name), std::move(usage), std::move(fn), false});
    }
};

inline int SmartFail(const char *command, const std::string &message, const char *usage) {
    std::fprintf(stderr, "quillmar-cli smart %s: %s\nusage: quillmar-cli smart %s %s\n", command, message.c_str(),
                 command, usage);
    return 2;
}

// The rows of a smart list as JSON objects (site, location, cost, description, url); the
// "Nothing found for" notice (no caption) is left out.
inline std::string SmartRowsJson(const std::vector<ResultRow> &rows) {
    std::string out = "[";
    bool first = true;
    for (const auto &r : rows) {
        if (r.caption.empty() || r.subItems.size() < 5) continue;
        out += std::string(first ? "\n" : ",\n") + "  {\"site\": " + JsonString(r.subItems[kSite]) +
               ", \"location\": " + JsonString(r.subItems[kLocation]) +
               ", \"cost\": " + JsonString(r.subItems[kSmartCost]) +
               ", \"description\": " + JsonString(r.subItems[kDescription]) +
               ", \"url\": " + JsonString(r.subItems[kUrl]) + "}";
        first = false;
    }
    return out + (first ? "]" : "\n ]");
}

}  // namespace qm::cli
