#include "service/RemoteConfig.h"

#include "search/Export.h"
#include "settings/KeyValue.h"

#include <algorithm>
#include <utility>

namespace qm {

namespace {

// The setting keys in the order the key pass tries them.
constexpr const char *kSettingKeys[] = {
    "$APP_NAME",   "$VERSUB",     "$HOMESITE",     "$INDEXPAGE",         "$BANNER_HINT",
    "$NOTIFICATION", "$UPDATE_URL", "$WHOIS_URL",  "$WHOIS_SPONSOR",     "$FRONT_URL",
    "$FRONT_GIF",  "$PUB_SET_CFG", "$MSG_SUBJECT", "$MSG_TEXT",          "$BFGU_GOTO",
    "$BFCU_GOTO",  "$FINDWHAT_SRCH_ALL", "$FINDWHAT_SRCH_ANY", "$FINDWHAT_SRCH_BOOL",
    "$FINDWHAT_SRCH_EXACT",
};

struct ServiceState {
    RemoteConfig config;
    bool applied = false;
};

ServiceState &State() {
    static ServiceState state;
    return state;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameTextNoCase(text.substr(0, prefix.size()), prefix);
}

// Takes `value` into `field` when it is a web address, else keeps the field and notes it.
void TakeAddress(RemoteConfig &c, std::string_view key, const std::string &value, std::string &field) {
    if (IsWebAddress(value))
        field = value;
    else
        c.refused.push_back({std::string(key), value});
}

NotificationMode ParseNotification(std::string_view value) {
    if (SameTextNoCase(value, "nmUpdate")) return NotificationMode::Update;
    if (SameTextNoCase(value, "nmUpdateGotoWEB")) return NotificationMode::UpdateGotoWeb;
    if (SameTextNoCase(value, "nmMessageOnly")) return NotificationMode::MessageOnly;
    if (SameTextNoCase(value, "nmMessageGotoWEB")) return NotificationMode::MessageGotoWeb;
    return NotificationMode::None;
}

// One line of the key pass: every key of the table in its order. False once the line
// holds `$MSG_TEXT` (the keys after it in the table are not tried on that line).
bool KeyPassLine(RemoteConfig &c, const std::string &line) {
    std::string v;
    if (KeyValue(line, "$APP_NAME", v)) {
        c.appName = v;
        c.title = ServiceTitle(v);
    }
    if (KeyValue(line, "$VERSUB", v)) c.verSub = kv::ToInt(v);
    if (KeyValue(line, "$HOMESITE", v)) TakeAddress(c, "$HOMESITE", v, c.homeSite);
    if (KeyValue(line, "$INDEXPAGE", v)) TakeAddress(c, "$INDEXPAGE", v, c.indexPage);
    if (KeyValue(line, "$BANNER_HINT", v)) c.bannerHint = v;
    if (KeyValue(line, "$NOTIFICATION", v)) c.notification = ParseNotification(v);
    if (KeyValue(line, "$UPDATE_URL", v)) TakeAddress(c, "$UPDATE_URL", v, c.updateUrl);
    if (KeyValue(line, "$WHOIS_URL", v)) TakeAddress(c, "$WHOIS_URL", v, c.whoisUrl);
    if (KeyValue(line, "$WHOIS_SPONSOR", v)) TakeAddress(c, "$WHOIS_SPONSOR", v, c.whoisSponsor);
    if (KeyValue(line, "$FRONT_URL", v)) TakeAddress(c, "$FRONT_URL", v, c.frontUrl);
    if (KeyValue(line, "$FRONT_GIF", v)) {
        std::string path = SafeFrontGifPath(v);
        if (path.empty())
            c.refused.push_back({"$FRONT_GIF", v});
        else
            c.frontGif = path;
    }
    if (KeyValue(line, "$PUB_SET_CFG", v))
        c.slotCount = static_cast<int>(std::clamp<long long>(Atol(TMisc::NthWord(v, 1)), 0, kMaxBannerSlots));
    if (KeyValue(line, "$MSG_SUBJECT", v)) c.msgSubject = v;
    if (kv::FindNoCase(line, "$MSG_TEXT") != std::string_view::npos) return false;
    if (KeyValue(line, "$BFGU_GOTO", v)) TakeAddress(c, "$BFGU_GOTO", v, c.gotoServe);
    if (KeyValue(line, "$BFCU_GOTO", v)) TakeAddress(c, "$BFCU_GOTO", v, c.gotoClick);
    if (KeyValue(line, "$FINDWHAT_SRCH_ALL", v)) TakeAddress(c, "$FINDWHAT_SRCH_ALL", v, c.findWhatAll);
    if (KeyValue(line, "$FINDWHAT_SRCH_ANY", v)) TakeAddress(c, "$FINDWHAT_SRCH_ANY", v, c.findWhatAny);
    if (KeyValue(line, "$FINDWHAT_SRCH_BOOL", v)) TakeAddress(c, "$FINDWHAT_SRCH_BOOL", v, c.findWhatBool);
    if (KeyValue(line, "$FINDWHAT_SRCH_EXACT", v)) TakeAddress(c, "$FINDWHAT_SRCH_EXACT", v, c.findWhatExact);
    return true;
}

BannerSlotConfig ParseSlot(RemoteConfig &c, int n, const std::string &value) {
    BannerSlotConfig s;
    s.enabled = SameTextNoCase(TMisc::NthWord(value, 1), "Y");
    s.period = static_cast<uint32_t>(Atol(TMisc::NthWord(value, 3)));
    s.clickPeriod = kv::ToInt(TMisc::NthWord(value, 9));
    std::string key = "$PUB[" + std::to_string(n) + "].SET";
    // An absent word is simply empty; a word that is there must be a web address.
    for (auto [word, field] : {std::pair{6, &s.banner}, std::pair{7, &s.click}}) {
        std::string w = TMisc::NthWord(value, word);
        if (w.empty()) continue;
        if (IsWebAddress(w))
            *field = w;
        else
            c.refused.push_back({key + " word " + std::to_string(word), w});
    }
    s.referrer = c.indexPage;
    return s;
}

}  // namespace

const BannerSlotConfig *BannerSlotOf(const RemoteConfig &config, int n) {
    return n >= 1 && size_t(n) <= config.bannerSlots.size() ? &config.bannerSlots[size_t(n - 1)] : nullptr;
}

std::string ServiceTitle(std::string_view appName) {
    return std::string(appName) + " v1.22 ";
}

bool IsWebAddress(std::string_view address) {
    std::string_view rest;
    if (StartsWithNoCase(address, "http://"))
        rest = address.substr(7);
    else if (StartsWithNoCase(address, "https://"))
        rest = address.substr(8);
    else
        return false;
    std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
    size_t at = authority.rfind('@');
    if (at != std::string_view::npos) authority.remove_prefix(at + 1);
    std::string_view host;
    if (!authority.empty() && authority.front() == '[')
        host = authority.substr(0, authority.find(']') + 1);
    else
        host = authority.substr(0, authority.find(':'));
    if (host.empty() || host == "[]") return false;
    return std::none_of(host.begin(), host.end(), [](char ch) {
        return static_cast<unsigned char>(ch) <= 32 || ch == '\\';
    });
}

std::string SafeFrontGifPath(std::string_view value) {
    std::string path(value);
    TMisc::BackslashesToSlashes(path);
    if (path.empty() || path.front() == '/') return {};
    if (path.size() < 5 || !SameTextNoCase(std::string_view(path).substr(path.size() - 4), ".gif")) return {};
    if (path.find('\0') != std::string::npos) return {};
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        if (std::string_view(path).substr(start, end - start) == "..") return {};
        start = end + 1;
    }
    // The file name itself must be more than the extension.
    if (path.back() == '/' || path[path.size() - 5] == '/') return {};
    return path;
}

bool HoldsSettingKey(const StringList &lines) {
    std::string v;
    for (const std::string &line : lines)
        for (const char *key : kSettingKeys)
            if (KeyValue(line, key, v)) return true;
    return false;
}

const RemoteConfig &CurrentServiceConfig() { return State().config; }
bool ServiceConfigApplied() { return State().applied; }

void SetServiceConfig(RemoteConfig config) {
    State().config = std::move(config);
    State().applied = true;
    // Receivers that keep a value of their own: the result page (a missing block empties
    // its part) and its home site (none: the built-in address).
    const RemoteConfig &c = State().config;
    SetResultTemplates({c.webHeader, c.webLine, c.webEnd});
    SetExportHomeSite(c.homeSite);
}

void ResetServiceConfig() {
    State() = {};
    ResetResultTemplates();
    SetExportHomeSite({});
}

RemoteConfig ApplyConfig(const StringList &lines, const RemoteConfig &previous) {
    RemoteConfig c = previous;
    c.refused.clear();
    c.notification = NotificationMode::None;
    c.notice = {};
    c.bannerSlots.clear();

    for (const std::string &line : lines)
        if (!KeyPassLine(c, line)) break;

    // Slot lines are read in a second pass over every line, in ascending order only.
    c.slotCount = std::clamp(c.slotCount, 0, kMaxBannerSlots);
    if (c.slotCount > 0) {
        int n = 1;
        std::string v;
        for (const std::string &line : lines) {
            if (n > kMaxBannerSlots) break;
            if (!KeyValue(line, "$PUB[" + std::to_string(n) + "].SET", v)) continue;
            c.bannerSlots.push_back(ParseSlot(c, n, v));
            ++n;
        }
    }

    c.webHeader = TMisc::ReadBlock(lines, "<@WEB_HEADER>");
    c.webLine = TMisc::ReadBlock(lines, "<@WEB_LINE>");
    c.webEnd = TMisc::ReadBlock(lines, "<@WEB_END>");
    c.updateMessage = TMisc::ReadBlock(lines, "<@UPDATE_MSG>");

    bool newer = c.verSub > kServiceBuild;
    switch (c.notification) {
        case NotificationMode::Update:
        case NotificationMode::UpdateGotoWeb:
            if (newer) c.notice.kind = ConfigNotice::Kind::YesNo;
            break;
        case NotificationMode::MessageGotoWeb: c.notice.kind = ConfigNotice::Kind::YesNo; break;
        case NotificationMode::MessageOnly: c.notice.kind = ConfigNotice::Kind::Info; break;
        case NotificationMode::None: break;
    }
    if (c.notice.kind != ConfigNotice::Kind::None) {
        c.notice.caption = c.msgSubject;
        c.notice.text = c.updateMessage;
        if (c.notice.kind == ConfigNotice::Kind::YesNo) c.notice.url = c.updateUrl;
    }
    return c;
}

}  // namespace qm
