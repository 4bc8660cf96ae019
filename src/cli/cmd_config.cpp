// quillmar-cli config: the home site's configuration. Each subcommand lives in its own
// cmd_config_*.cpp.
#include "cli/ConfigCli.h"

namespace {

int RunConfig(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    if (args.empty()) return qm::cli::ConfigUsage("which config subcommand?");
    const std::string name = args.front();
    args.erase(args.begin());
    auto &commands = qm::cli::ConfigCommands();
    auto it = commands.find(name);
    if (it == commands.end()) return qm::cli::ConfigUsage("unknown config subcommand " + name);
    return it->second(g, std::move(args));
}

const qm::cli::CommandRegistration kRegistration("config", qm::cli::kConfigUsage, RunConfig);

}  // namespace
