// quillmar-cli: the Quillmar core without a window. Each run is a run of the program like
// the window's: its data root is prepared the same way, and its end deletes the session
// files as the cache modes of the options say.
#include "cli/Command.h"
#include "settings/DataRoot.h"
#include "settings/Opt.h"
#include "toolkit/History.h"

#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace qm::cli {
std::vector<CommandInfo> &Commands() {
    static std::vector<CommandInfo> commands;
    return commands;
}
}  // namespace qm::cli

namespace {

void PrintUsage(FILE *to) {
    std::fprintf(to, "usage: quillmar-cli [--home DIR] [--connect-to ROUTES] [--demo] COMMAND [ARGS...]\n\ncommands:\n");
    auto commands = qm::cli::Commands();
    std::sort(commands.begin(), commands.end(),
              [](const auto &a, const auto &b) { return a.name < b.name; });
    for (const auto &c : commands)
        std::fprintf(to, "  %-12s %s\n", c.name.c_str(), c.usage.c_str());
}

}  // namespace

int main(int argc, char **argv) {
    qm::cli::GlobalOptions global;
    if (const char *env = std::getenv("QUILLMAR_CONNECT_TO"))
        global.connectTo = env;

    int i = 1;
    for (; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const char *name) -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "quillmar-cli: %s needs a value\n", name);
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--home") global.home = value("--home");
        else if (a.rfind("--home=", 0) == 0) global.home = a.substr(7);
        else if (a == "--connect-to") {
            std::string v = value("--connect-to");
            global.connectTo = global.connectTo.empty() || !global.demo ? v : global.connectTo + "," + v;
        } else if (a.rfind("--connect-to=", 0) == 0) global.connectTo = a.substr(13);
        else if (a == "--demo") global.demo = true;
        else if (a == "--help" || a == "-h") { PrintUsage(stdout); return 0; }
        else break;
    }
    if (i >= argc) {
        PrintUsage(stderr);
        return 2;
    }
    std::string name = argv[i++];
    std::vector<std::string> args(argv + i, argv + argc);
    auto command = std::find_if(qm::cli::Commands().begin(), qm::cli::Commands().end(),
                                [&](const qm::cli::CommandInfo &c) { return c.name == name; });
    if (command == qm::cli::Commands().end()) {
        std::fprintf(stderr, "quillmar-cli: unknown command \"%s\"\n\n", name.c_str());
        PrintUsage(stderr);
        return 2;
    }

    // A subcommand that paints (a PDF file needs fonts) runs in a GUI application without a
    // screen; the others need no more than the core.
    std::unique_ptr<QCoreApplication> app;
    if (command->paints) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }

    const qm::RunDataRoot runRoot(global.home, global.demo);
    global.home = runRoot.path();
    const qm::DataRoot root(global.home);
    if (!qm::PrepareDataRoot(root))
        std::fprintf(stderr, "quillmar-cli: cannot create the data folders in %s\n", global.home.c_str());
    const int rc = command->run(global, std::move(args));

    // The end of the run: histories and caches of the modes "Only current session" and
    // "Never" go, as when the window closes.
    qm::Options options;
    qm::LoadOptions(options, root);  // defaults when absent
    qm::DeleteSessionFiles(qm::DataFolders{root.root()}, options.web.cacheMode, options.news.cacheMode);
    return rc;
}
