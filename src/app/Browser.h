#pragma once
// Opening an address in the browser chosen in the options: the desktop's default browser,
// or another browser program started with the address as its one argument (never
// through a shell).
#include "app/ShellModel.h"

#include <functional>
#include <string>
#include <vector>

namespace qm {

struct BrowserPlan {
    enum Kind { OpenWithDesktop, StartProgram, NavigatorMissing, Nothing } kind = Nothing;
    std::string url;                 // OpenWithDesktop: the address as a URL
    std::string program;             // StartProgram: full path of the browser
    std::vector<std::string> args;   // StartProgram: the address
    std::string workDir;             // StartProgram: the data root
};

// Rewrites every address before a browser gets it (the demo shows its fake sites through the
// loopback web this way); unset: addresses go as they are.
using BrowserAddressMap = std::function<std::string(const std::string &address)>;
BrowserAddressMap &BrowserAddressMapSlot();

// Decides how an address is opened. An external browser is taken from
// $ExternalNavigator, trimmed: a path to an executable file, or a program name found on
// the PATH. An empty address opens nothing.
BrowserPlan PlanBrowser(const ShellOptions &options, const std::string &address,
                        const std::string &programDir);

// Carries a plan out (replaceable in tests). False when the browser could not be started.
using BrowserRunner = std::function<bool(const BrowserPlan &)>;
BrowserRunner &BrowserRunnerSlot();
bool RunBrowserPlan(const BrowserPlan &plan);

// Hands an address to the desktop's own handler for its scheme (the default browser for
// web addresses, the mail program for "mailto:"), whatever browser the options choose.
// Replaceable in tests; false when nothing could take it.
using DesktopOpener = std::function<bool(const std::string &address)>;
DesktopOpener &DesktopOpenerSlot();
bool OpenWithDesktop(const std::string &address);

}  // namespace qm
