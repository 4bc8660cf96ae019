#pragma once
// The remote configuration file of the home site: what it sets, read without side
// effects. `ApplyConfig` turns the file's lines into a `RemoteConfig`; showing the notice,
// downloading the front picture and handing the values to the rest of the program are the
// callers' business.
#include "toolkit/Misc.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// This release, as the configuration's `$VERSUB` is compared with it.
inline constexpr const char *kServiceAppName = "Quillmar";
inline constexpr int kServiceBuild = 1170;
inline constexpr int kMaxBannerSlots = 3;

// "Name v1.22 " (the trailing blank belongs to the title).
std::string ServiceTitle(std::string_view appName);

enum class NotificationMode { None = 0, Update = 1, UpdateGotoWeb = 2, MessageOnly = 3, MessageGotoWeb = 4 };

// One `$PUB[n].SET` line: words 1, 3, 6, 7 and 9 of its value.
struct BannerSlotConfig {
    bool enabled = false;        // word 1 is "Y"
    uint32_t period = 30;        // word 3, ticks between two banner requests
    int32_t clickPeriod = 0;     // word 9, the period after a click
    std::string banner;          // word 6, may hold "<pif1>".."<pif10>"
    std::string click;           // word 7
    std::string referrer;        // the `$INDEXPAGE` value
};

struct ConfigNotice {
    enum class Kind { None, YesNo, Info };
    Kind kind = Kind::None;
    std::string caption;  // `$MSG_SUBJECT`
    std::string text;     // the `<@UPDATE_MSG>` block
    std::string url;      // `$UPDATE_URL`, opened on Yes (empty for an information box)
};

// A value of the file that was not taken because it is not a safe address or path.
struct RefusedValue {
    std::string key;
    std::string value;
};

struct RemoteConfig {
    std::string appName = kServiceAppName;
    std::string title = ServiceTitle(kServiceAppName);
    int verSub = 0;
    std::string homeSite;
    std::string indexPage;
    std::string bannerHint;
    NotificationMode notification = NotificationMode::None;
    std::string updateUrl;
    std::string whoisUrl;
    std::string whoisSponsor;
    std::string frontUrl;
    std::string frontGif;  // relative to the data root, with "/"
    int slotCount = 0;     // 0 to 3
    std::string msgSubject;
    std::string gotoServe;  // `$BFGU_GOTO`
    std::string gotoClick;  // `$BFCU_GOTO`
    std::string findWhatAll, findWhatAny, findWhatBool, findWhatExact;
    std::vector<BannerSlotConfig> bannerSlots;  // the slot lines read, slot 1 first
    std::string webHeader, webLine, webEnd;  // result page template blocks (CR LF kept)
    std::string updateMessage;
    ConfigNotice notice;
    std::vector<RefusedValue> refused;
};

// The settings of banner slot n (from 1) the file gave; null when it gave none.
const BannerSlotConfig *BannerSlotOf(const RemoteConfig &config, int n);

// The configuration the file gives, starting from `previous` (values the file does not
// set, or sets to something refused, stay as they were). The notification mode starts
// again from none; the banner slots and the four text blocks come from this file only.
RemoteConfig ApplyConfig(const StringList &lines, const RemoteConfig &previous = {});

// True when a line of `lines` sets one of the setting keys of the file.
bool HoldsSettingKey(const StringList &lines);

// An "http://" or "https://" address with a host.
bool IsWebAddress(std::string_view address);

// A `$FRONT_GIF` value as a path under the data root ("\" read as "/"): relative, no ".."
// part, ending ".gif" in any case. Empty when it is none of these.
std::string SafeFrontGifPath(std::string_view value);

// The one program-wide place the applied configuration goes to. Until a configuration is
// applied it holds the defaults (the built-in name and title, no addresses, no slots);
// every reader built afterwards (engine tables, the help menu, the result page, the
// WHOIS search, the banner bar) takes its values from here. Setting it also publishes the
// result page templates and the home site to the export.
const RemoteConfig &CurrentServiceConfig();
bool ServiceConfigApplied();
void SetServiceConfig(RemoteConfig config);
void ResetServiceConfig();  // back to the defaults, not applied (tests)

}  // namespace qm
