// quillmar-cli news: the daily news. Each subcommand lives in its own cmd_news_*.cpp.
#include "cli/NewsCli.h"

namespace {

int RunNews(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    if (args.empty()) return qm::cli::NewsUsage("which news subcommand?");
    const std::string name = args.front();
    args.erase(args.begin());
    auto &commands = qm::cli::NewsCommands();
    auto it = commands.find(name);
    if (it == commands.end()) return qm::cli::NewsUsage("unknown news subcommand " + name);
    return it->second(g, std::move(args));
}

const qm::cli::CommandRegistration kRegistration("news", qm::cli::kNewsUsage, RunNews);

}  // namespace
