#pragma once
// Process start of the window program: the program's own options (--home, --connect-to,
// --demo, --help, --version), the Internet library check, and the application object that
// shows an escaped exception and goes on. The data root of a run is settings/DataRoot.h's
// RunDataRoot.
#include <QApplication>

#include <functional>
#include <string>
#include <vector>

namespace qm {

// --- Internet library -------------------------------------------------------------------
// True when the libcurl found at run time can speak HTTP.
bool HaveInternetLibrary();
// Text of the "Missing library" message box.
std::string MissingLibraryText();
// Exit code when the library is missing.
inline constexpr int kExitNoInternetLibrary = -2;

// --- Command line ---------------------------------------------------------------------------
struct StartArgs {
    std::string home;                  // --home DIR
    std::string connectTo;             // --connect-to ROUTES (several joined with ",")
    bool demo = false;                 // --demo
    bool help = false;                 // --help, -h
    bool version = false;              // --version
    std::vector<std::string> query;    // every other parameter, in order
    std::string error;                 // an option without its value
};
// Parses the parameters after the program name. "--" ends the options; everything that is
// not one of the program's options is a query parameter. $QUILLMAR_CONNECT_TO is the
// starting value of connectTo.
StartArgs ParseStartArgs(const std::vector<std::string> &params, const char *envConnectTo = nullptr);
std::string StartUsage();
// "quillmar 1.22 (build 1170)".
std::string StartVersion();
// --help and --version print on stdout and end the run with 0, an option without its value
// prints on stderr and ends it with 2, before any window system is touched (they work
// without a display). Otherwise returns -1: the run goes on.
int AnswerWithoutWindow(const StartArgs &args);

// --- Application object ---------------------------------------------------------------------
// Runs one event delivery; an exception that escapes it is shown through the exception
// display and reported as "not handled".
bool DeliverShowingExceptions(const std::function<bool()> &deliver);

class QuillmarApplication : public QApplication {
    Q_OBJECT
public:
    QuillmarApplication(int &argc, char **argv);

    // Shows an exception that escaped an event handler; the program goes on.
    // Replaceable (tests); the default is a modal error box.
    static std::function<void(const std::string &what)> &ExceptionDisplay();

    bool notify(QObject *receiver, QEvent *event) override;
};

}  // namespace qm
