#include "settings/Opt.h"

#include <climits>
#include <filesystem>
#include <functional>
#include <map>

#include "settings/DataRoot.h"
#include "settings/KeyValue.h"
#include "toolkit/AtomicFile.h"
#include "toolkit/Misc.h"

namespace qm {

namespace {

constexpr std::string_view kWebEnginePrefix = "$WEBEngine_";
constexpr std::string_view kNewsEnginePrefix = "$NEWSEngine_";

bool IsYes(std::string_view v) { return SameTextNoCase(v, "YES"); }

int IndexIn(std::string_view v, int count) {
    int i = kv::ToInt(v);
    return (i >= 0 && i < count) ? i : -1;
}

// Text as written to the file: trimmed, and never spanning lines.
std::string FileText(std::string_view v) {
    std::string s(Trim(v));
    for (char &c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

const EngineSwitch *FindSwitch(const std::vector<EngineSwitch> &list, std::string_view name) {
    for (const auto &e : list)
        if (SameTextNoCase(e.name, name)) return &e;
    return nullptr;
}

struct LoadState {
    std::optional<int> nbModel;
    int colorIndex = 0;
};

using Setter = std::function<void(Options &, const std::string &, LoadState &)>;
struct KeyRule {
    std::string key;
    Setter set;
};

// Every key but the colour models' own lines, in the order of the file.
std::vector<KeyRule> BuildRules(const Options &opt, const std::string &languageFolder) {
    std::vector<KeyRule> r;
    auto flag = [](bool Options::*f) { return [f](Options &o, const std::string &v, LoadState &) { o.*f = IsYes(v); }; };
    auto number = [](int Options::*f) { return [f](Options &o, const std::string &v, LoadState &) { o.*f = kv::ToInt(v); }; };
    auto text = [](std::string Options::*f) { return [f](Options &o, const std::string &v, LoadState &) { o.*f = v; }; };
    auto search = [](SearchOptions Options::*s, auto fn) {
        return [s, fn](Options &o, const std::string &v, LoadState &) { fn(o.*s, v); };
    };
    auto proxy = [](auto fn) { return [fn](Options &o, const std::string &v, LoadState &) { fn(o.proxy, v); }; };

    r.push_back({"$WEB_UseDiskCache", search(&Options::web, [](SearchOptions &s, const std::string &v) { s.useDiskCache = IsYes(v); })});
    r.push_back({"$NEWS_UseDiskCache", search(&Options::news, [](SearchOptions &s, const std::string &v) { s.useDiskCache = IsYes(v); })});
    r.push_back({"$Language", [languageFolder](Options &o, const std::string &v, LoadState &) {
                     if (languageFolder.empty()) return;
                     if (auto found = FindLanguage(languageFolder, v)) o.language = *found;
                 }});
    r.push_back({"$WindowX", [](Options &o, const std::string &v, LoadState &) { o.window.x = kv::ToInt(v); }});
    r.push_back({"$WindowY", [](Options &o, const std::string &v, LoadState &) { o.window.y = kv::ToInt(v); }});
    r.push_back({"$WindowTX", [](Options &o, const std::string &v, LoadState &) { o.window.width = kv::ToInt(v); }});
    r.push_back({"$WindowTY", [](Options &o, const std::string &v, LoadState &) { o.window.height = kv::ToInt(v); }});
    r.push_back({"$WEB_DiskCache", search(&Options::web, [](SearchOptions &s, const std::string &v) { s.diskCacheKB = kv::ToInt(v); })});
    r.push_back({"$NEWS_DiskCache", search(&Options::news, [](SearchOptions &s, const std::string &v) { s.diskCacheKB = kv::ToInt(v); })});
    r.push_back({"$WEB_MaxResults", search(&Options::web, [](SearchOptions &s, const std::string &v) { s.maxResults = kv::ToInt(v); })});
    r.push_back({"$NEWS_MaxResults", search(&Options::news, [](SearchOptions &s, const std::string &v) { s.maxResults = kv::ToInt(v); })});
    r.push_back({"$WEB_ResultMode", search(&Options::web, [](SearchOptions &s, const std::string &v) { s.resultMode = IndexIn(v, 2); })});
    r.push_back({"$NEWS_ResultMode", search(&Options::news, [](SearchOptions &s, const std::string &v) { s.resultMode = IndexIn(v, 2); })});
    // A history mode left without a selection falls back to "Always".
    r.push_back({"$WEB_CacheMode", search(&Options::web, [](SearchOptions &s, const std::string &v) { s.cacheMode = std::max(0, IndexIn(v, 3)); })});
    r.push_back({"$NEWS_CacheMode", search(&Options::news, [](SearchOptions &s, const std::string &v) { s.cacheMode = std::max(0, IndexIn(v, 3)); })});
    r.push_back({"$WEB_MergeSameSite", flag(&Options::mergeSameSite)});
    r.push_back({"$WEB_ShowEngineStatus", flag(&Options::showEngineStatus)});
    r.push_back({"$PROXY_Mode", proxy([](ProxyOptions &p, const std::string &v) { p.mode = IndexIn(v, 3); })});
    r.push_back({"$PROXY_SocksLevel", proxy([](ProxyOptions &p, const std::string &v) { p.socksLevel = IndexIn(v, 3); })});
    r.push_back({"$PROXY_UsePWD", proxy([](ProxyOptions &p, const std::string &v) { p.usePassword = IsYes(v); })});
    r.push_back({"$PROXY_ADDR", proxy([](ProxyOptions &p, const std::string &v) { p.address = v; })});
    r.push_back({"$PROXY_PORT", proxy([](ProxyOptions &p, const std::string &v) { p.port = v; })});
    r.push_back({"$PROXY_USER", proxy([](ProxyOptions &p, const std::string &v) { p.user = v; })});
    r.push_back({"$PROXY_PASS", proxy([](ProxyOptions &p, const std::string &v) { p.password = v; })});
    r.push_back({"$NET_IdleTimeout", number(&Options::idleTimeout)});
    r.push_back({"$NoStartupLogo", flag(&Options::noStartupLogo)});
    r.push_back({"$PING_Amount", number(&Options::pingAmount)});
    r.push_back({"$PING_Delay", number(&Options::pingDelay)});
    r.push_back({"$MuteWAV", flag(&Options::muteWav)});
    r.push_back({"$DisablePanelHelp", flag(&Options::disablePanelHelp)});
    r.push_back({"$DisableWHOQuestion", flag(&Options::disableWhoQuestion)});
    r.push_back({"$BrowseMode", [](Options &o, const std::string &v, LoadState &) {
                     o.browseMode = SameTextNoCase(v, "DefaultNavigator") ? BrowseMode::DefaultNavigator
                                                                           : BrowseMode::ExternalNavigator;
                 }});
    r.push_back({"$ExternalNavigator", text(&Options::externalNavigator)});
    r.push_back({"$SurfMode", [](Options &o, const std::string &v, LoadState &) {
                     if (SameTextNoCase(v, "InSameWindow")) o.surfMode = SurfMode::InSameWindow;
                     else if (SameTextNoCase(v, "InNewWindow")) o.surfMode = SurfMode::InNewWindow;
                 }});
    r.push_back({"$DownloadMode", [](Options &o, const std::string &v, LoadState &) {
                     if (SameTextNoCase(v, "Default")) o.downloadMode = DownloadMode::Default;
                     else if (SameTextNoCase(v, "Clipboard")) o.downloadMode = DownloadMode::Clipboard;
                     else if (SameTextNoCase(v, "External")) o.downloadMode = DownloadMode::External;
                 }});
    r.push_back({"$DownloadAgent", text(&Options::downloadAgent)});
    r.push_back({"$StartupTAB", number(&Options::startupTab)});
    for (size_t i = 0; i < opt.webEngines.size(); ++i)
        r.push_back({std::string(kWebEnginePrefix) + opt.webEngines[i].name,
                     [i](Options &o, const std::string &v, LoadState &) {
                         if (i < o.webEngines.size()) o.webEngines[i].enabled = IsYes(v);
                     }});
    for (size_t i = 0; i < opt.newsEngines.size(); ++i)
        r.push_back({std::string(kNewsEnginePrefix) + opt.newsEngines[i].name,
                     [i](Options &o, const std::string &v, LoadState &) {
                         if (i < o.newsEngines.size()) o.newsEngines[i].enabled = IsYes(v);
                     }});
    r.push_back({"$COLOR_NbModel", [](Options &, const std::string &v, LoadState &st) { st.nbModel = kv::ToInt(v); }});
    r.push_back({"$COLOR_Index", [](Options &, const std::string &v, LoadState &st) { st.colorIndex = kv::ToInt(v); }});
    r.push_back({"$CurrencyFrom", number(&Options::currencyFrom)});
    r.push_back({"$CurrencyTo", number(&Options::currencyTo)});
    r.push_back({"$CurrencyAmount", text(&Options::currencyAmount)});
    r.push_back({"$CurrencyValue", text(&Options::currencyValue)});
    return r;
}

// The colour model lines: "$COLOR[k].Model", ".BeginColor", ".EndColor", ".TextColor".
// Models 0 to nbModel - 1 that have at least one line replace the list, in the order of k;
// a field without a line keeps the value of the built-in "Default" model (an empty name).
void ApplyColorModels(Options &opt, const std::vector<std::string> &lines, int nbModel, int index) {
    static constexpr std::string_view kOpen = "$COLOR[";
    static constexpr std::string_view kFields[] = {"].Model", "].BeginColor", "].EndColor", "].TextColor"};
    const ColorModel &fallback = BuiltInColorModels()[0];
    std::map<int, ColorModel> found;
    for (const auto &line : lines) {
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string_view head(line.data(), eq);
        std::string value = Trim(std::string_view(line).substr(eq + 1));
        size_t from = 0;
        while (from < head.size()) {
            size_t last = kv::FindNoCase(head.substr(from), kOpen);
            if (last == std::string_view::npos) break;
            size_t p = from + last + 1;  // first byte after "$COLOR["
            from = p;
            size_t digits = 0;
            while (p + digits < head.size() && head[p + digits] >= '0' && head[p + digits] <= '9') ++digits;
            // The keys are written with plain decimal numbers: "$COLOR[01]" is no key.
            if (digits == 0 || digits > 10 || (digits > 1 && head[p] == '0')) continue;
            int k = kv::ToInt(head.substr(p, digits));
            if (k >= nbModel) continue;
            std::string_view rest = head.substr(p + digits);
            for (int f = 0; f < 4; ++f) {
                if (rest.size() < kFields[f].size() || !SameTextNoCase(rest.substr(0, kFields[f].size()), kFields[f]))
                    continue;
                auto [it, fresh] = found.try_emplace(k);
                if (fresh) it->second = ColorModel{"", fallback.beginColor, fallback.endColor, fallback.textColor};
                ColorModel &m = it->second;
                if (f == 0) m.name = value;
                else (f == 1 ? m.beginColor : f == 2 ? m.endColor : m.textColor) = kv::ToInt(value);
            }
        }
    }
    if (!found.empty()) {
        opt.colorModels.clear();
        for (auto &[k, m] : found) opt.colorModels.push_back(std::move(m));
    }
    opt.colorIndex = (index >= 0 && index < static_cast<int>(opt.colorModels.size())) ? index : -1;
}

void Line(std::string &out, std::string_view key, std::string_view sep, std::string_view value) {
    out.append(key).append(sep).append(value).append("\r\n");
}

}  // namespace

const std::vector<std::string> &WebEngineNames() {
    static const std::vector<std::string> names = {
        "Altavista", "Google/Yahoo", "Netscape",   "GOTO",       "Sprinks",     "Hotbot/Lycos",
        "InfoSpace", "Euroseek",     "FastSearch", "MSNSearch",  "DirectHit",   "AOLNetFind",
        "FindWhat",  "NBCi",         "WebCrawler", "OpenDirectory", "Compuserve"};
    return names;
}

const std::vector<std::string> &NewsEngineNames() {
    static const std::vector<std::string> names = {"GoogleNews"};
    return names;
}

const std::vector<ColorModel> &BuiltInColorModels() {
    static const std::vector<ColorModel> models = {
        {"Default", 8538889, 15846038, 16777215},   {"Gills", 8538889, 7525168, 16777215},
        {"Fruity mood", 33023, 65535, 0},           {"Amazonium", 7826707, 9106685, 16777215},
        {"Mars dawn", 262336, 8388672, 16777215},   {"eXCENtric", 10028631, 10352620, 16777215}};
    return models;
}

int ProxyOptions::portNumber() const { return kv::ToInt(Trim(port)); }

Options::Options() : colorModels(BuiltInColorModels()) {
    for (const auto &n : WebEngineNames()) webEngines.push_back({n, true});
    for (const auto &n : NewsEngineNames()) newsEngines.push_back({n, true});
}

const ColorModel *Options::currentColorModel() const {
    if (colorModels.empty()) return nullptr;
    if (colorIndex >= 0 && colorIndex < static_cast<int>(colorModels.size())) return &colorModels[colorIndex];
    return &colorModels[0];
}

bool Options::webEngineEnabled(std::string_view name) const {
    const EngineSwitch *e = FindSwitch(webEngines, name);
    return e && e->enabled;
}

bool Options::newsEngineEnabled(std::string_view name) const {
    const EngineSwitch *e = FindSwitch(newsEngines, name);
    return e && e->enabled;
}

bool Options::setWebEngineEnabled(std::string_view name, bool enabled) {
    auto *e = const_cast<EngineSwitch *>(FindSwitch(webEngines, name));
    if (e) e->enabled = enabled;
    return e != nullptr;
}

bool Options::setNewsEngineEnabled(std::string_view name, bool enabled) {
    auto *e = const_cast<EngineSwitch *>(FindSwitch(newsEngines, name));
    if (e) e->enabled = enabled;
    return e != nullptr;
}

std::vector<std::string> ListLanguages(const std::string &languageFolder) {
    static constexpr std::string_view kExt = ".language";
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(languageFolder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code tec;
        if (it->is_directory(tec)) continue;
        std::string file = it->path().filename().string();
        if (file.size() <= kExt.size()) continue;
        std::string_view tail = std::string_view(file).substr(file.size() - kExt.size());
        if (!SameTextNoCase(tail, kExt)) continue;
        names.push_back(file.substr(0, file.size() - kExt.size()));
    }
    return names;
}

std::optional<std::string> FindLanguage(const std::string &languageFolder, std::string_view name) {
    if (name.empty() || name.find('/') != std::string_view::npos || name.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::optional<std::string> match;
    for (auto &entry : ListLanguages(languageFolder)) {
        if (entry == name) return entry;
        if (!match && SameTextNoCase(entry, name)) match = entry;
    }
    return match;
}

void ApplyOptionLines(Options &opt, const std::vector<std::string> &lines, const std::string &languageFolder) {
    const std::vector<KeyRule> rules = BuildRules(opt, languageFolder);
    LoadState st;
    std::string value;
    for (const auto &line : lines) {
        // Every key starts with "$" and must stand before the line's first "=".
        const size_t eq = line.find('=');
        if (eq == std::string::npos || line.find('$') >= eq) continue;
        const std::string_view head(line.data(), eq);
        bool valueTaken = false;
        for (const auto &rule : rules) {
            if (kv::FindNoCase(head, rule.key) == std::string_view::npos) continue;
            if (!valueTaken) {
                value = Trim(std::string_view(line).substr(eq + 1));
                valueTaken = true;
            }
            rule.set(opt, value, st);
        }
    }
    if (st.nbModel && *st.nbModel > 0) ApplyColorModels(opt, lines, *st.nbModel, st.colorIndex);
    else opt.colorIndex = opt.colorModels.empty() ? -1 : 0;
}

bool LoadOptions(Options &opt, const std::string &path, const std::string &languageFolder) {
    std::vector<std::string> lines;
    if (!TMisc::LoadTextLines(path, lines)) return false;
    ApplyOptionLines(opt, lines, languageFolder);
    return true;
}

std::string FormatOptions(const Options &o) {
    static constexpr std::string_view t = "\t=\t", tt = "\t\t=\t";
    auto yn = [](bool b) { return b ? "YES" : "NO"; };
    auto n = [](int v) { return std::to_string(v); };
    std::string s;
    s.reserve(4096);
    Line(s, "$WEB_UseDiskCache", t, yn(o.web.useDiskCache));
    Line(s, "$NEWS_UseDiskCache", t, yn(o.news.useDiskCache));
    Line(s, "$Language", tt, FileText(o.language));
    Line(s, "$WindowX", tt, n(o.window.x));
    Line(s, "$WindowY", tt, n(o.window.y));
    Line(s, "$WindowTX", tt, n(o.window.width));
    Line(s, "$WindowTY", tt, n(o.window.height));
    s += "\r\n";
    Line(s, "$WEB_DiskCache", tt, n(o.web.diskCacheKB));
    Line(s, "$NEWS_DiskCache", tt, n(o.news.diskCacheKB));
    Line(s, "$WEB_MaxResults", tt, n(o.web.maxResults));
    Line(s, "$NEWS_MaxResults", t, n(o.news.maxResults));
    Line(s, "$WEB_ResultMode", tt, n(o.web.resultMode));
    Line(s, "$NEWS_ResultMode", t, n(o.news.resultMode));
    Line(s, "$WEB_CacheMode", tt, n(o.web.cacheMode));
    Line(s, "$NEWS_CacheMode", tt, n(o.news.cacheMode));
    Line(s, "$WEB_MergeSameSite", t, yn(o.mergeSameSite));
    Line(s, "$WEB_ShowEngineStatus", t, yn(o.showEngineStatus));
    Line(s, "$PROXY_Mode", tt, n(o.proxy.mode));
    Line(s, "$PROXY_SocksLevel", t, n(o.proxy.socksLevel));
    Line(s, "$PROXY_UsePWD", tt, yn(o.proxy.usePassword));
    Line(s, "$PROXY_ADDR", tt, FileText(o.proxy.address));
    Line(s, "$PROXY_PORT", tt, FileText(o.proxy.port));
    Line(s, "$PROXY_USER", tt, FileText(o.proxy.user));
    Line(s, "$PROXY_PASS", tt, FileText(o.proxy.password));
    Line(s, "$NET_IdleTimeout", t, n(o.idleTimeout));
    Line(s, "$NoStartupLogo", tt, yn(o.noStartupLogo));
    Line(s, "$PING_Amount", tt, n(o.pingAmount));
    Line(s, "$PING_Delay", tt, n(o.pingDelay));
    Line(s, "$MuteWAV", tt, yn(o.muteWav));
    Line(s, "$DisablePanelHelp", t, yn(o.disablePanelHelp));
    Line(s, "$DisableWHOQuestion", t, yn(o.disableWhoQuestion));
    Line(s, "$BrowseMode", tt,
         o.browseMode == BrowseMode::DefaultNavigator ? "DefaultNavigator" : "ExternalNavigator");
    Line(s, "$ExternalNavigator", t, FileText(o.externalNavigator));
    Line(s, "$SurfMode", tt, o.surfMode == SurfMode::InSameWindow ? "InSameWindow" : "InNewWindow");
    Line(s, "$DownloadMode", tt,
         o.downloadMode == DownloadMode::Clipboard ? "Clipboard"
         : o.downloadMode == DownloadMode::External ? "External" : "Default");
    Line(s, "$DownloadAgent", tt, FileText(o.downloadAgent));
    Line(s, "$StartupTAB", "\t\t=", n(o.startupTab));
    s += "\r\n";
    for (const auto &e : o.webEngines) Line(s, std::string(kWebEnginePrefix) + FileText(e.name), tt, yn(e.enabled));
    s += "\r\n";
    for (const auto &e : o.newsEngines) Line(s, std::string(kNewsEnginePrefix) + FileText(e.name), t, yn(e.enabled));
    s += "\r\n";
    Line(s, "$COLOR_NbModel", tt, n(static_cast<int>(o.colorModels.size())));
    Line(s, "$COLOR_Index", tt, n(o.colorIndex));
    for (size_t k = 0; k < o.colorModels.size(); ++k) {
        const ColorModel &m = o.colorModels[k];
        std::string key = "$COLOR[" + std::to_string(k) + "]";
        Line(s, key + ".Model", tt, FileText(m.name));
        Line(s, key + ".BeginColor", t, n(m.beginColor));
        Line(s, key + ".EndColor", t, n(m.endColor));
        Line(s, key + ".TextColor", t, n(m.textColor));
    }
    s += "\r\n";
    Line(s, "$CurrencyFrom", tt, n(o.currencyFrom));
    Line(s, "$CurrencyTo", tt, n(o.currencyTo));
    Line(s, "$CurrencyAmount", t, FileText(o.currencyAmount));
    Line(s, "$CurrencyValue", t, FileText(o.currencyValue));
    return s;
}

bool SaveOptions(const Options &opt, const std::string &path) {
    std::error_code ec;
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    return WriteFileAtomic(path, FormatOptions(opt), /*ownerOnly=*/true);
}

bool LoadOptions(Options &opt, const DataRoot &root) {
    return LoadOptions(opt, root.optionsFile(), root.languageDir());
}

bool SaveOptions(const Options &opt, const DataRoot &root) { return SaveOptions(opt, root.optionsFile()); }

std::optional<WindowGeometry> FitWindowGeometry(const WindowGeometry &saved, int screenWidth, int screenHeight) {
    if (saved.width <= 10 || saved.height <= 10) return std::nullopt;
    long long x = saved.x, y = saved.y, w = saved.width, h = saved.height;
    if (x + w > screenWidth || x + w <= 0) x = 0;
    if (y + h > screenHeight || y + h <= 0) y = 0;
    if (x + w > screenWidth) w = screenWidth - 5;
    if (y + h > screenHeight) h = screenHeight - 5;
    return WindowGeometry{static_cast<int>(x), static_cast<int>(y), static_cast<int>(w), static_cast<int>(h)};
}

void OptionsHolder::set(const Options &opt) {
    if (opt == opt_) return;
    opt_ = opt;
    emit changed();
}

}  // namespace qm
