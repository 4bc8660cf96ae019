#include "app/Startup.h"

#include "app/ShellModel.h"

#include <QMessageBox>

#include <curl/curl.h>

#include <cstdio>
#include <cstring>
#include <exception>

namespace qm {

bool HaveInternetLibrary() {
    const curl_version_info_data *info = curl_version_info(CURLVERSION_NOW);
    if (!info || !info->protocols) return false;
    for (const char *const *p = info->protocols; *p; ++p)
        if (std::strcmp(*p, "http") == 0) return true;
    return false;
}

std::string MissingLibraryText() {
    return "You must have the libcurl library installed on your machine\n"
           "in order to run this application, since it uses it\n"
           "for every request it sends to the search services\n"
           "\n"
           "Install the package of your distribution (on Debian: libcurl4)\n"
           "\n"
           "The library must be built with HTTP support.";
}

StartArgs ParseStartArgs(const std::vector<std::string> &params, const char *envConnectTo) {
    StartArgs a;
    if (envConnectTo) a.connectTo = envConnectTo;
    bool connectFromCommandLine = false;
    auto addConnect = [&](const std::string &v) {
        // The command line replaces the environment's value; several options add up.
        a.connectTo = connectFromCommandLine && !a.connectTo.empty() ? a.connectTo + "," + v : v;
        connectFromCommandLine = true;
    };
    bool options = true;
    for (size_t i = 0; i < params.size(); ++i) {
        const std::string &p = params[i];
        if (!options) {
            a.query.push_back(p);
            continue;
        }
        auto value = [&](const char *name) -> std::string {
            if (i + 1 >= params.size()) {
                a.error = std::string(name) + " needs a value";
                return {};
            }
            return params[++i];
        };
        if (p == "--") options = false;
        else if (p == "--home") a.home = value("--home");
        else if (p.rfind("--home=", 0) == 0) a.home = p.substr(7);
        else if (p == "--connect-to") {
            std::string v = value("--connect-to");
            if (!v.empty()) addConnect(v);
        } else if (p.rfind("--connect-to=", 0) == 0) addConnect(p.substr(13));
        else if (p == "--demo") a.demo = true;
        else if (p == "--help" || p == "-h") a.help = true;
        else if (p == "--version") a.version = true;
        else a.query.push_back(p);
    }
    return a;
}

std::string StartUsage() {
    return "usage: quillmar [--home DIR] [--connect-to ROUTES] [--demo] [QUERY...]\n"
           "       quillmar --help | --version\n"
           "\n"
           "  --home DIR           keep options, histories and caches in DIR\n"
           "  --connect-to ROUTES  route service hosts elsewhere (HOST:PORT:CONNECT-TO-HOST:PORT,...)\n"
           "  --demo               run on the built-in fake web, in a fresh temporary folder\n"
           "  QUERY                searched on the web page at once (\"quillmar:?Query=\" is removed)\n";
}

std::string StartVersion() {
    return "quillmar " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + " (build " +
           std::to_string(kVersionBuild) + ")\n";
}

int AnswerWithoutWindow(const StartArgs &args) {
    if (args.help) {
        std::fputs(StartUsage().c_str(), stdout);
        return 0;
    }
    if (args.version) {
        std::fputs(StartVersion().c_str(), stdout);
        return 0;
    }
    if (!args.error.empty()) {
        std::fprintf(stderr, "quillmar: %s\n\n%s", args.error.c_str(), StartUsage().c_str());
        return 2;
    }
    return -1;
}

QuillmarApplication::QuillmarApplication(int &argc, char **argv) : QApplication(argc, argv) {
    setApplicationName("quillmar");
    setApplicationDisplayName(QString::fromStdString(AppTitle()));
    setDesktopFileName("quillmar");
}

std::function<void(const std::string &)> &QuillmarApplication::ExceptionDisplay() {
    static std::function<void(const std::string &)> display = [](const std::string &what) {
        QMessageBox::critical(QApplication::activeWindow(), QString::fromStdString(AppTitle()),
                              QString::fromStdString(what));
    };
    return display;
}

bool QuillmarApplication::notify(QObject *receiver, QEvent *event) {
    return DeliverShowingExceptions([&] { return QApplication::notify(receiver, event); });
}

bool DeliverShowingExceptions(const std::function<bool()> &deliver) {
    try {
        return deliver();
    } catch (const std::exception &e) {
        if (auto &show = QuillmarApplication::ExceptionDisplay()) show(e.what());
    } catch (...) {
        if (auto &show = QuillmarApplication::ExceptionDisplay()) show("Unknown error");
    }
    return false;
}

}  // namespace qm
