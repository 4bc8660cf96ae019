#pragma once
// Subcommands of quillmar-cli. Each lives in its own file and registers itself with
// a static CommandRegistration, so adding one never touches the dispatcher.
#include <functional>
#include <string>
#include <vector>

namespace qm::cli {

// Options that come before the subcommand name and apply to every subcommand.
struct GlobalOptions {
    // The data root of the run, prepared as the window prepares it (folders, bundled data):
    // --home DIR, else for --demo a temporary folder, else the data-root rule.
    std::string home;
    std::string connectTo;  // --connect-to ROUTES (may hold several entries, comma separated)
    bool demo = false;      // --demo: start the fake web in-process and route every service host to it
};

using CommandFn = std::function<int(const GlobalOptions &, std::vector<std::string> args)>;

struct CommandInfo {
    std::string name;
    std::string usage;
    CommandFn run;
    bool paints = false;  // runs in an offscreen GUI application (fonts, printing)
};

std::vector<CommandInfo> &Commands();

struct CommandRegistration {
    CommandRegistration(std::string name, std::string usage, CommandFn fn, bool paints = false) {
        Commands().push_back({std::move(name), std::move(usage), std::move(fn), paints});
    }
};

}  // namespace qm::cli
