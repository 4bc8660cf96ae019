#include "settings/OptionsEdit.h"

#include <climits>
#include <cstdio>
#include <filesystem>

#include "settings/KeyValue.h"
#include "toolkit/Misc.h"

namespace qm {

namespace {

bool StartsNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && SameTextNoCase(s.substr(0, prefix.size()), prefix);
}

// Key of a colour model line: model number and field ("Model", "BeginColor", ...).
bool ColorKey(std::string_view key, int &k, std::string &field) {
    if (!StartsNoCase(key, "$COLOR[")) return false;
    size_t p = 7, d = 0;
    while (p + d < key.size() && key[p + d] >= '0' && key[p + d] <= '9') ++d;
    if (d == 0 || d > 9 || p + d + 2 > key.size() || key.substr(p + d, 2) != "].") return false;
    k = int(Atol(key.substr(p, d)));
    field = std::string(key.substr(p + d + 2));
    return true;
}

std::string TypeOf(std::string_view key) {
    static const char *flags[] = {"$WEB_UseDiskCache", "$NEWS_UseDiskCache", "$WEB_MergeSameSite",
                                  "$WEB_ShowEngineStatus", "$PROXY_UsePWD", "$NoStartupLogo", "$MuteWAV",
                                  "$DisablePanelHelp", "$DisableWHOQuestion"};
    static const char *indexes[] = {"$WEB_ResultMode", "$NEWS_ResultMode", "$WEB_CacheMode", "$NEWS_CacheMode",
                                    "$PROXY_Mode", "$PROXY_SocksLevel", "$StartupTAB", "$COLOR_Index",
                                    "$CurrencyFrom", "$CurrencyTo"};
    static const char *texts[] = {"$Language", "$PROXY_ADDR", "$PROXY_PORT", "$PROXY_USER", "$PROXY_PASS",
                                  "$ExternalNavigator", "$DownloadAgent", "$CurrencyAmount", "$CurrencyValue"};
    static const char *choices[] = {"$BrowseMode", "$SurfMode", "$DownloadMode"};
    for (auto f : flags) if (SameTextNoCase(key, f)) return "flag";
    if (StartsNoCase(key, "$WEBEngine_") || StartsNoCase(key, "$NEWSEngine_")) return "flag";
    for (auto i : indexes) if (SameTextNoCase(key, i)) return "index";
    for (auto t : texts) if (SameTextNoCase(key, t)) return "text";
    for (auto c : choices) if (SameTextNoCase(key, c)) return "choice";
    int k;
    std::string field;
    if (ColorKey(key, k, field)) return SameTextNoCase(field, "Model") ? "text" : "integer";
    return "integer";
}

// Strict decimal: optional "-" when allowed, digits, within int.
std::optional<int> Decimal(std::string_view v, bool negativeAllowed) {
    bool neg = !v.empty() && v[0] == '-';
    if (neg && !negativeAllowed) return std::nullopt;
    std::string_view d = neg ? v.substr(1) : v;
    if (d.empty() || d.size() > 11) return std::nullopt;
    long long n = 0;
    for (char c : d) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (neg) n = -n;
    if (n < INT_MIN || n > INT_MAX) return std::nullopt;
    return int(n);
}

std::string Refuse(const std::string &key, const std::string &accepts) { return key + " accepts " + accepts; }

}  // namespace

std::vector<OptionEntry> ListOptionEntries(const Options &opt) {
    std::vector<OptionEntry> out;
    for (const auto &line : kv::Lines(FormatOptions(opt))) {
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = Trim(std::string_view(line).substr(0, eq));
        std::string value = Trim(std::string_view(line).substr(eq + 1));
        out.push_back({key, value, TypeOf(key)});
    }
    return out;
}

std::optional<std::string> CanonicalOptionKey(const Options &opt, std::string_view typed) {
    std::string k = Trim(typed);
    if (k.empty()) return std::nullopt;
    if (k[0] != '$') k.insert(k.begin(), '$');
    for (const auto &e : ListOptionEntries(opt))
        if (SameTextNoCase(e.key, k)) return e.key;
    return std::nullopt;
}

std::string SetOptionValue(Options &opt, const std::string &key, std::string_view rawValue,
                           const std::string &languageFolder) {
    if (rawValue.find('\r') != std::string_view::npos || rawValue.find('\n') != std::string_view::npos)
        return key + " accepts no line break";
    const std::string v = Trim(rawValue);
    const std::string type = TypeOf(key);
    std::string stored;  // the value as the file writes it, applied through the file's own rules
    int k = 0;
    std::string field;
    if (SameTextNoCase(key, "$COLOR_NbModel")) return key + " follows the colour models and cannot be set";
    if (ColorKey(key, k, field)) {
        if (k < 0 || k >= int(opt.colorModels.size())) return Refuse(key, "nothing: there is no such model");
        ColorModel &m = opt.colorModels[size_t(k)];
        if (SameTextNoCase(field, "Model")) {
            if (v.empty()) return Refuse(key, "a name that is not empty");
            m.name = v;
            return "";
        }
        auto n = Decimal(v, false);
        if (!n || *n > 16777215) return Refuse(key, "a colour from 0 to 16777215");
        (SameTextNoCase(field, "BeginColor") ? m.beginColor : SameTextNoCase(field, "EndColor") ? m.endColor : m.textColor) = *n;
        return "";
    }
    if (type == "flag") {
        if (!SameTextNoCase(v, "YES") && !SameTextNoCase(v, "NO")) return Refuse(key, "YES or NO");
        stored = SameTextNoCase(v, "YES") ? "YES" : "NO";
    } else if (type == "integer") {
        const bool signedOk = SameTextNoCase(key, "$WindowX") || SameTextNoCase(key, "$WindowY");
        auto n = Decimal(v, signedOk);
        if (!n) return Refuse(key, signedOk ? "a whole number" : "a whole number from 0 to 2147483647");
        stored = std::to_string(*n);
    } else if (type == "index") {
        int count = 2;
        if (SameTextNoCase(key, "$WEB_CacheMode") || SameTextNoCase(key, "$NEWS_CacheMode") ||
            SameTextNoCase(key, "$PROXY_Mode") || SameTextNoCase(key, "$PROXY_SocksLevel"))
            count = 3;
        else if (SameTextNoCase(key, "$StartupTAB")) count = 13;
        else if (SameTextNoCase(key, "$COLOR_Index")) count = int(opt.colorModels.size());
        else if (SameTextNoCase(key, "$CurrencyFrom") || SameTextNoCase(key, "$CurrencyTo")) count = 167;
        auto n = Decimal(v, false);
        if (!n || *n >= count) return Refuse(key, "an index from 0 to " + std::to_string(count - 1));
        if (SameTextNoCase(key, "$COLOR_Index")) {
            opt.colorIndex = *n;
            return "";
        }
        stored = std::to_string(*n);
    } else if (type == "choice") {
        std::vector<std::string> words = SameTextNoCase(key, "$BrowseMode")
                                             ? std::vector<std::string>{"DefaultNavigator", "ExternalNavigator"}
                                         : SameTextNoCase(key, "$SurfMode")
                                             ? std::vector<std::string>{"InNewWindow", "InSameWindow"}
                                             : std::vector<std::string>{"Default", "Clipboard", "External"};
        std::string list;
        for (const auto &w : words) {
            if (SameTextNoCase(v, w)) stored = w;
            list += (list.empty() ? "" : ", ") + w;
        }
        if (stored.empty()) return Refuse(key, "one of " + list);
    } else if (SameTextNoCase(key, "$Language")) {
        auto found = FindLanguage(languageFolder, v);
        if (!found) {
            std::string list;
            for (const auto &n : ListLanguages(languageFolder)) list += (list.empty() ? "" : ", ") + n;
            return Refuse(key, "a listed language (" + list + ")");
        }
        opt.language = *found;
        return "";
    } else {  // text
        if (SameTextNoCase(key, "$PROXY_PORT") && !v.empty()) {
            auto n = Decimal(v, false);
            if (!n || *n < 1 || *n > 65535) return Refuse(key, "nothing or a port from 1 to 65535");
        }
        stored = v;
    }
    int colorIndex = opt.colorIndex;
    ApplyOptionLines(opt, {key + "\t=\t" + stored}, languageFolder);
    opt.colorIndex = colorIndex;
    return "";
}

// ---- Cache page ----

const CacheTypeInfo &CacheType(int type) {
    static const CacheTypeInfo types[kCacheTypeCount] = {
        {"Web search", HistoryId::Web, "WEBSearch", ".webcache", true, false},
        {"News search", HistoryId::News, "NEWSSearch", ".newssearch", true, false},
        {"Software finder", HistoryId::Software, "SoftSearch", ".prgsearch", false, false},
        {"DNS/Ping", HistoryId::Dns, nullptr, nullptr, false, false},
        {"Domain Info", HistoryId::Whois, "WHOSearch", ".whosearch", false, true},
        {"Forum finder", HistoryId::Forum, "ForumSearch", ".forumsearch", false, false},
        {"MP3 finder", HistoryId::Mp3, "MP3Search", ".mp3search", false, false}};
    return types[(type >= 0 && type < kCacheTypeCount) ? type : 0];
}

std::string CacheTotalText(int type, double total, std::string_view filesCachedText) {
    char buf[64];
    std::snprintf(buf, sizeof buf, " : %.02f %s", total, CacheType(type).totalInKB ? "KB" : "MB");
    return std::string(filesCachedText) + buf;
}

CacheListing ListCacheType(const DataFolders &folders, const HistoryBox &history, int type,
                           std::string_view filesCachedText) {
    CacheListing out;
    out.words.assign(history.entries.begin(), history.entries.end());
    const CacheTypeInfo &t = CacheType(type);
    if (!t.folder) return out;
    std::vector<CacheFileRow> rows;
    long long sum = 0;
    const std::string_view ext = t.extension;
    std::error_code ec;
    std::filesystem::directory_iterator it(folders.CacheSub(t.folder), ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code fe;
        if (!it->is_regular_file(fe)) continue;
        const std::string name = it->path().filename().string();
        if (name.size() < ext.size() || !SameTextNoCase(std::string_view(name).substr(name.size() - ext.size()), ext))
            continue;
        CacheFileRow row;
        row.fileName = name;
        row.caption = name;
        size_t at = kv::FindNoCase(name, ext);
        if (at != std::string_view::npos) row.caption.erase(at + 1 - ext.size(), ext.size());
        row.bytes = static_cast<long long>(it->file_size(fe));
        if (fe) row.bytes = 0;
        row.size = t.sizeInKB ? std::to_string(row.bytes / 1024) + " KB" : std::to_string(row.bytes) + " Bytes";
        sum += row.bytes;
        rows.push_back(std::move(row));
    }
    out.total = t.totalInKB ? double(sum) / 1024.0 : double(sum) / 1048576.0;
    out.files = std::move(rows);
    out.label = CacheTotalText(type, out.total, filesCachedText);
    return out;
}

void RemoveHistoryWords(HistoryBox &history, const std::vector<std::string> &words) {
    for (const auto &w : words) {
        for (auto it = history.entries.begin(); it != history.entries.end(); ++it)
            if (*it == w) {
                history.entries.erase(it);
                break;
            }
    }
}

void RemoveCacheFiles(const DataFolders &folders, int type, const std::vector<CacheFileRow> &rows) {
    const CacheTypeInfo &t = CacheType(type);
    if (!t.folder) return;
    for (const auto &r : rows) {
        if (r.fileName.empty() || r.fileName.find('/') != std::string::npos || r.fileName == "..") continue;
        std::error_code ec;
        std::filesystem::remove(folders.CacheSub(t.folder) + "/" + r.fileName, ec);
    }
}

bool CaptionLess(std::string_view a, std::string_view b) { return CompareNoCase(a, b) < 0; }

// ---- Colour models ----

int ColorModelNamed(const Options &opt, std::string_view text) {
    const std::string t = Trim(text);
    for (size_t i = 0; i < opt.colorModels.size(); ++i)
        if (SameTextNoCase(opt.colorModels[i].name, t)) return int(i);
    return -1;
}

int SaveColorModel(Options &opt, std::string_view name, int begin, int end, int text) {
    const std::string n = Trim(name);
    if (n.empty()) return -1;
    int i = ColorModelNamed(opt, n);
    if (i < 0) {
        opt.colorModels.push_back({n, begin, end, text});
        return int(opt.colorModels.size()) - 1;
    }
    ColorModel &m = opt.colorModels[size_t(i)];
    m.beginColor = begin, m.endColor = end, m.textColor = text;
    return i;
}

std::string SelectorTextAfterSwatch(const Options &opt, std::string_view selectorText) {
    const std::string t = Trim(selectorText);
    const size_t n = std::min<size_t>(6, opt.colorModels.size());
    for (size_t i = 0; i < n; ++i)
        if (SameTextNoCase(opt.colorModels[i].name, t)) return "New Model";
    return std::string(selectorText);
}

// ---- Visibility ----

ProxyVisibility ProxyRules(int proxyMode, bool authTicked) {
    ProxyVisibility v;
    v.server = v.authBox = proxyMode == 1 || proxyMode == 2;
    v.socks = proxyMode == 2;
    v.userPass = v.authBox && authTicked;
    return v;
}

std::string ProbeDownloadAgent(const std::string &pathVariable) {
    std::string found;
    for (const char *agent : {"dap", "go", "getright"}) {
        size_t from = 0;
        while (from <= pathVariable.size()) {
            size_t colon = pathVariable.find(':', from);
            std::string dir = pathVariable.substr(from, colon == std::string::npos ? std::string::npos : colon - from);
            from = colon == std::string::npos ? pathVariable.size() + 1 : colon + 1;
            if (dir.empty()) continue;
            std::string candidate = dir + "/" + agent;
            std::error_code ec;
            auto st = std::filesystem::status(candidate, ec);
            if (!ec && std::filesystem::is_regular_file(st) &&
                (st.permissions() & std::filesystem::perms::owner_exec) != std::filesystem::perms::none) {
                found = candidate;
                break;
            }
        }
    }
    return found;
}

// ---- Pages ----

OptionsPage OptionsPageState::Open(OptionsOpener by) {
    switch (by) {
    case OptionsOpener::Button:
        if (firstButtonOpening_) {
            firstButtonOpening_ = false;
            last_ = OptionsPage::Search;
        }
        break;
    case OptionsOpener::Ping: last_ = OptionsPage::Misc; break;
    case OptionsOpener::Browser: last_ = OptionsPage::Browse; break;
    }
    return last_;
}

Msg PageTitleMessage(OptionsPage p) {
    switch (p) {
    case OptionsPage::Search: return Msg::TsFind;
    case OptionsPage::Proxy: return Msg::TsProxy;
    case OptionsPage::Cache: return Msg::TsCache;
    case OptionsPage::Misc: return Msg::TsMisc;
    case OptionsPage::Browse: return Msg::TsNav;
    }
    return Msg::TsFind;
}

}  // namespace qm
