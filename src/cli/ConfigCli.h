#pragma once
// What the "config" subcommands share: their registry (one file per subcommand) and the
// applied configuration as JSON.
#include "cli/NetToolsCli.h"
#include "engines/web/WebEngineTable.h"
#include "search/Export.h"
#include "service/RemoteConfig.h"

#include <map>

namespace qm::cli {

using ConfigCommandFn = std::function<int(const GlobalOptions &, std::vector<std::string> args)>;

inline std::map<std::string, ConfigCommandFn> &ConfigCommands() {
    static std::map<std::string, ConfigCommandFn> commands;
    return commands;
}

struct ConfigCommandRegistration {
    ConfigCommandRegistration(const char *name, ConfigCommandFn fn) { ConfigCommands()[name] = std::move(fn); }
};

inline constexpr const char *kConfigUsage = "apply FILE [--format json] | fetch [--format json]";

inline int ConfigUsage(const std::string &message) { return UsageError("config", kConfigUsage, message); }

// The words of a config subcommand and its --format (text or json); 0 when good, else the
// exit status of the usage error already printed.
inline int ParseConfigArguments(const std::vector<std::string> &args, std::vector<std::string> &words, bool &json) {
    std::string format = "text";
    const std::string error = SplitFormatOnly(args, {"text", "json"}, format, words);
    if (!error.empty()) return ConfigUsage(error);
    json = format == "json";
    return 0;
}

inline std::string JsonBool(bool b) { return b ? "true" : "false"; }

// The values a configuration refused: [{"key", "value"}, ...] (the brackets included).
inline std::string RefusedJson(const std::vector<RefusedValue> &refused) {
    std::string out;
    for (const RefusedValue &r : refused)
        out += std::string(out.empty() ? "" : ", ") + "{\"key\": " + JsonString(r.key) +
               ", \"value\": " + JsonString(r.value) + "}";
    return "[" + out + "]";
}

// The configuration in force (CurrentServiceConfig) and what its receivers now use; `extra`
// is appended inside the object (", \"key\": ...").
inline std::string ConfigJson(bool applied, const std::string &root, const std::string &extra = {}) {
    const RemoteConfig &c = CurrentServiceConfig();
    std::string notice = "null";
    if (c.notice.kind != ConfigNotice::Kind::None)
        notice = std::string("{\"kind\": \"") + (c.notice.kind == ConfigNotice::Kind::YesNo ? "yesno" : "info") +
                 "\", \"caption\": " + JsonString(c.notice.caption) + ", \"text\": " + JsonString(c.notice.text) +
                 ", \"url\": " + JsonString(c.notice.url) + "}";
    const std::vector<EngineDescriptor> table = BuildWebEngineTable();
    const EngineDescriptor &go = table[size_t(FindWebEngineByName(table, "GOTO"))];
    const EngineDescriptor &fw = table[size_t(FindWebEngineByName(table, "FindWhat"))];
    const ResultTemplates &t = CurrentResultTemplates();
    std::string slotList;
    for (int n = 1; const BannerSlotConfig *slot = BannerSlotOf(c, n); ++n)
        slotList += std::string(slotList.empty() ? "" : ", ") + "{\"enabled\": " + JsonBool(slot->enabled) +
                 ", \"period\": " + std::to_string(slot->period) + ", \"click_period\": " + std::to_string(slot->clickPeriod) +
                 ", \"banner\": " + JsonString(slot->banner) + ", \"click\": " + JsonString(slot->click) + "}";
    return "{\"applied\": " + JsonBool(applied) + ", \"title\": " + JsonString(c.title) +
           ", \"home_site\": " + JsonString(c.homeSite) + ", \"whois_url\": " + JsonString(c.whoisUrl) +
           ", \"whois_sponsor\": " + JsonString(c.whoisSponsor) + ", \"notice\": " + notice +
           ",\n \"engines\": {\"GOTO\": {\"serve\": " + JsonString(go.sponsoredServe) +
           ", \"click\": " + JsonString(go.sponsoredClick) + "}, \"FindWhat\": {\"all\": " + JsonString(fw.templateAll) +
           ", \"any\": " + JsonString(fw.templateAny) + ", \"exact\": " + JsonString(fw.templateExact) +
           ", \"bool\": " + JsonString(fw.templateBool) + "}},\n \"templates\": {\"header\": " + JsonString(t.header) +
           ", \"line\": " + JsonString(t.line) + ", \"end\": " + JsonString(t.end) +
           "},\n \"banner\": {\"hint\": " + JsonString(c.bannerHint) + ", \"index_page\": " + JsonString(c.indexPage) +
           ", \"front_url\": " + JsonString(c.frontUrl) + ", \"front_gif\": " +
           JsonOrNull(c.frontGif.empty() ? std::nullopt : std::optional<std::string>(root + "/" + c.frontGif)) +
           ", \"slots\": [" + slotList + "]},\n \"refused\": " + RefusedJson(c.refused) + extra + "}\n";
}

// The text form: the title, what was refused, the notice.
inline std::string ConfigText(bool applied) {
    const RemoteConfig &c = CurrentServiceConfig();
    std::string out = std::string(applied ? "applied" : "not applied") + "\ntitle: " + Shown(c.title) + "\n";
    for (const RefusedValue &r : c.refused) out += "refused: " + Shown(r.key) + " = " + Shown(r.value) + "\n";
    if (c.notice.kind != ConfigNotice::Kind::None) out += "notice: " + Shown(c.notice.caption) + "\n";
    return out;
}

}  // namespace qm::cli
