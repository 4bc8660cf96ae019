// quillmar-cli smart: the smart finder's subcommands (tree, parse, search).
#include "cli/SmartCli.h"

#include <algorithm>

namespace qm::cli {
std::vector<CommandInfo> &SmartCommands() {
    static std::vector<CommandInfo> commands;
    return commands;
}
}  // namespace qm::cli

namespace {

std::string Usage() {
    return "tree | parse | search ...  (quillmar-cli smart SUBCOMMAND --help)";
}

int RunSmart(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    auto &commands = qm::cli::SmartCommands();
    if (!args.empty()) {
        auto c = std::find_if(commands.begin(), commands.end(), [&](const auto &x) { return x.name == args[0]; });
        if (c != commands.end()) {
            if (args.size() > 1 && (args[1] == "--help" || args[1] == "-h")) {
                std::printf("usage: quillmar-cli smart %s %s\n", c->name.c_str(), c->usage.c_str());
                return 0;
            }
            return c->run(g, std::vector<std::string>(args.begin() + 1, args.end()));
        }
    }
    std::fprintf(stderr, "usage:\n");
    for (const auto &c : commands) std::fprintf(stderr, "  quillmar-cli smart %s %s\n", c.name.c_str(), c.usage.c_str());
    return 2;
}

const qm::cli::CommandRegistration kRegistration("smart", Usage(), RunSmart);

}  // namespace
