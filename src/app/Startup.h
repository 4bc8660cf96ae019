#pragma once
// Process start of the window program: the Internet library check, the program's own
// options (--home, --connect-to, --demo), the data root, and the application object that
// shows an escaped exception and goes on.
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
    bool help = false;                 // --help
    std::vector<std::string> query;    // every other parameter, in order
    std::string error;                 // an option without its value
};
// Parses the parameters after the program name. "--" ends the options; everything that is
// not one of the program's options is a query parameter. $QUILLMAR_CONNECT_TO is the
// starting value of connectTo.
StartArgs ParseStartArgs(const std::vector<std::string> &params, const char *envConnectTo = nullptr);
std::string StartUsage();

// --- Data root ----------------------------------------------------------------------------
// The folder that holds Options, Cache, Language, Engines, Sounds and GFX, by the settings
// layer's rule (--home DIR, $QUILLMAR_HOME, the executable's folder when writable,
// $XDG_DATA_HOME/quillmar). `home` (from --home, or the demo's temporary folder) wins
// when not empty.
std::string ResolveDataRoot(const std::string &home);

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
