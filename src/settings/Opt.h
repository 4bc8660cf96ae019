#pragma once
// The user's settings: one typed record, its options file ("Options/Configuration.ini")
// and the rule that fits the saved main-window geometry onto the screen.
//
// Every feature reads its settings from an `Options` value (usually the one held by the
// `OptionsHolder` of the running program); the options window is the only writer.
#include <QObject>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class DataRoot;

// How a result maximum applies ($WEB_ResultMode, $NEWS_ResultMode).
enum class ResultLimit { Total = 0, PerEngine = 1 };
// Keeping of query histories and result caches ($WEB_CacheMode, $NEWS_CacheMode).
enum class HistoryMode { Always = 0, CurrentSession = 1, Never = 2 };
enum class ProxyKind { None = 0, Http = 1, Socks = 2 };
enum class SocksVersion { V4 = 0, V4a = 1, V5 = 2 };
enum class BrowseMode { DefaultNavigator, ExternalNavigator };
enum class SurfMode { InNewWindow, InSameWindow };
enum class DownloadMode { Default, Clipboard, External };

// Settings of one search kind (web or newsgroups).
struct SearchOptions {
    bool useDiskCache = true;  // "backup results on disk"
    int diskCacheKB = 5000;    // kept in the file, used nowhere else
    int maxResults = 500;
    int resultMode = 0;  // list index: 0 "in total", 1 "per engine", -1 nothing selected
    int cacheMode = 0;   // list index: 0 "Always", 1 "Only current session", 2 "Never"

    ResultLimit limit() const { return resultMode == 1 ? ResultLimit::PerEngine : ResultLimit::Total; }
    HistoryMode history() const {
        return cacheMode == 1 ? HistoryMode::CurrentSession
                              : cacheMode == 2 ? HistoryMode::Never : HistoryMode::Always;
    }
    bool operator==(const SearchOptions &) const = default;
};

struct ProxyOptions {
    int mode = 0;        // list index: 0 "None", 1 "HTTP Proxy", 2 "SOCKS proxy", -1 nothing selected
    int socksLevel = 0;  // list index: 0 "4", 1 "4a", 2 "5", -1 nothing selected
    bool usePassword = false;  // "Authentication is required"
    std::string address, port, user, password;  // trimmed, password in clear text

    ProxyKind kind() const {
        return mode == 1 ? ProxyKind::Http : mode == 2 ? ProxyKind::Socks : ProxyKind::None;
    }
    SocksVersion socks() const {
        return socksLevel == 1 ? SocksVersion::V4a : socksLevel == 2 ? SocksVersion::V5 : SocksVersion::V4;
    }
    // The port as a number (C-style conversion of the trimmed text; 0 when not a number).
    int portNumber() const;
    bool operator==(const ProxyOptions &) const = default;
};

// A colour as stored in the file: red in the low byte, then green, then blue.
struct ColorModel {
    std::string name;
    int beginColor = 0;  // gradient start
    int endColor = 0;    // gradient end
    int textColor = 0;
    bool operator==(const ColorModel &) const = default;
};
inline int ColorRed(int c) { return c & 0xFF; }
inline int ColorGreen(int c) { return (c >> 8) & 0xFF; }
inline int ColorBlue(int c) { return (c >> 16) & 0xFF; }

// One engine's "takes part in searches" switch, in table order.
struct EngineSwitch {
    std::string name;
    bool enabled = true;
    bool operator==(const EngineSwitch &) const = default;
};

struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const WindowGeometry &) const = default;
};

// The engine names of the "$WEBEngine_" keys, in table order, and the one newsgroup engine.
const std::vector<std::string> &WebEngineNames();
const std::vector<std::string> &NewsEngineNames();
// The six built-in colour models.
const std::vector<ColorModel> &BuiltInColorModels();

class Options {
public:
    Options();

    SearchOptions web, news;
    std::string language = "English";
    // Main window placement; all zero means "the window's own" (the fit rule then leaves
    // the window alone). The main window stores its current geometry here before saving.
    WindowGeometry window;
    ProxyOptions proxy;
    int idleTimeout = 20;  // seconds without a byte before a request gives up; 0: never
    bool noStartupLogo = false;
    int pingAmount = 5;
    int pingDelay = 500;  // ms
    bool muteWav = false;  // "Disable audio alerts"
    bool disablePanelHelp = false;
    bool disableWhoQuestion = false;
    BrowseMode browseMode = BrowseMode::DefaultNavigator;
    std::string externalNavigator;
    SurfMode surfMode = SurfMode::InNewWindow;
    DownloadMode downloadMode = DownloadMode::Default;
    std::string downloadAgent;
    int startupTab = 2;  // side-bar position of the start page
    std::vector<EngineSwitch> webEngines;   // WebEngineNames(), all enabled
    std::vector<EngineSwitch> newsEngines;  // NewsEngineNames(), all enabled
    std::vector<ColorModel> colorModels;    // BuiltInColorModels()
    int colorIndex = 0;                     // -1 when nothing is selected
    int currencyFrom = 154;
    int currencyTo = 48;
    std::string currencyAmount = "1.0";
    std::string currencyValue = "0.00";
    bool mergeSameSite = false;    // "Merge results that lead to the same site"
    bool showEngineStatus = true;  // the engine status panel under the web list

    // The selected colour model, or model 0 when nothing (or nothing valid) is selected;
    // nullptr when there are no models at all.
    const ColorModel *currentColorModel() const;

    // Enabled flag of an engine by name (compared ignoring case); false for an unknown name.
    bool webEngineEnabled(std::string_view name) const;
    bool newsEngineEnabled(std::string_view name) const;
    // Sets an engine's flag by name; false for an unknown name.
    bool setWebEngineEnabled(std::string_view name, bool enabled);
    bool setNewsEngineEnabled(std::string_view name, bool enabled);

    bool operator==(const Options &) const = default;
};

// Looks a language up among the "*.language" files of `languageFolder` (listed in
// directory order). Returns the language's name as its file spells it when a file
// "<name>.language" exists, comparing names ignoring case; nothing otherwise.
std::optional<std::string> FindLanguage(const std::string &languageFolder, std::string_view name);
// Every language of the folder, in directory order: the file names with the first
// ".language" (any case) removed.
std::vector<std::string> ListLanguages(const std::string &languageFolder);

// Applies the lines of an options file to `opt`, line by line, key by key; a later line
// wins, unknown lines are ignored. `languageFolder` decides whether "$Language" is taken
// (an empty folder name accepts no language).
void ApplyOptionLines(Options &opt, const std::vector<std::string> &lines,
                      const std::string &languageFolder);

// Reads the options file into `opt`. False (and `opt` unchanged) when the file is absent
// or unreadable.
bool LoadOptions(Options &opt, const std::string &path, const std::string &languageFolder);

// The whole file, in the order and with the separators of the file format, CR LF lines.
std::string FormatOptions(const Options &opt);

// Replaces the options file atomically; the file is readable by its owner only, as it
// holds the proxy password. False when it cannot be written (nothing is shown).
bool SaveOptions(const Options &opt, const std::string &path);

// The same for the options file and language folder of a data root.
bool LoadOptions(Options &opt, const DataRoot &root);
bool SaveOptions(const Options &opt, const DataRoot &root);

// The saved-geometry rule. Nothing when width or height is 10 or less (the window keeps
// its own geometry). Otherwise a window that runs past the right (bottom) edge moves to
// x = 0 (y = 0), and one still wider (taller) than the screen shrinks to the screen size
// less 5. A window lying wholly left of or above the screen moves to 0 as well.
std::optional<WindowGeometry> FitWindowGeometry(const WindowGeometry &saved, int screenWidth,
                                                int screenHeight);

// The running program's settings, shared by every feature; `changed` tells readers that
// cache what they read.
class OptionsHolder : public QObject {
    Q_OBJECT
public:
    explicit OptionsHolder(QObject *parent = nullptr) : QObject(parent) {}
    const Options &get() const { return opt_; }
    // Replaces the settings; emits `changed` when they differ.
    void set(const Options &opt);

signals:
    void changed();

private:
    Options opt_;
};

}  // namespace qm
