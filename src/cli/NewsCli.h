#pragma once
// What the "news" subcommands share: their registry (one file per subcommand), the group and
// section arguments, the date, the controller made for a data root, and rows as JSON.
#include "cli/NetToolsCli.h"
#include "engines/web/HttpClientAdapter.h"
#include "news/DailyNews.h"
#include "toolkit/Misc.h"

#include <QDate>

#include <map>
#include <memory>

namespace qm::cli {

using NewsCommandFn = std::function<int(const GlobalOptions &, std::vector<std::string> args)>;

inline std::map<std::string, NewsCommandFn> &NewsCommands() {
    static std::map<std::string, NewsCommandFn> commands;
    return commands;
}

struct NewsCommandRegistration {
    NewsCommandRegistration(const char *name, NewsCommandFn fn) { NewsCommands()[name] = std::move(fn); }
};

inline constexpr const char *kNewsUsage =
    "channels [--format tsv|json] | tree [--group G] [--today YYYY-MM-DD] [--format json] | "
    "parse [--today D] [--host PREFIX] --channel N FILE [--channel N FILE...] [--format json] | "
    "update [--group G] [--section S] [--format json] | show [--group G] --section S [--format json]";

inline int NewsUsage(const std::string &message) { return UsageError("news", kNewsUsage, message); }

// The options every news subcommand takes: --format (json only), --group (a news group by
// name) and one more valued option `third` (e.g. "--section"). Returns 0 when they are
// good, else the exit status of the usage error already printed.
struct NewsArguments {
    std::string format = "json", groupText = "english", third;
    int group = -1;
};
inline int ParseNewsArguments(std::vector<std::string> &args, const char *third, NewsArguments &a) {
    std::vector<std::string> words;
    const std::string error = SplitArguments(
        args, {"--format", "--group", third}, {},
        [&](const std::string &name, const std::string &v) {
            (name == "--format" ? a.format : name == "--group" ? a.groupText : a.third) = v;
            return std::string();
        },
        words);
    if (!error.empty()) return NewsUsage(error);
    if (a.format != "json") return NewsUsage("unknown format " + a.format);
    a.group = ParseNewsGroup(a.groupText);
    if (a.group < 0) return NewsUsage("unknown group " + a.groupText);
    return 0;
}

// "YYYY-MM-DD".
inline bool ParseNewsDay(const std::string &text, NewsDay &day) {
    int y = 0, m = 0, d = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3) return false;
    if (m < 1 || m > 12 || d < 1 || d > 31 || y < 1) return false;
    day = {y, m, d};
    return true;
}

// A node of `group`'s tree by number (1-based) or caption (case ignored); 0 when none.
inline int ParseNewsNode(int group, const std::string &text) {
    const NewsTree &t = SectionTree(group);
    bool digits = !text.empty();
    for (char c : text) digits = digits && c >= '0' && c <= '9';
    if (digits) {
        const long n = std::atol(text.c_str());
        return n >= 1 && n <= long(t.children.size()) ? int(n) : 0;
    }
    for (size_t n = 0; n < t.children.size(); ++n)
        if (SameTextNoCase(t.children[n].caption, text)) return int(n) + 1;
    return 0;
}

inline std::string NewsRowsJson(const HeadlineList &rows) {
    std::string out = "[";
    for (size_t i = 0; i < rows.size(); ++i) {
        const HeadlineRow &r = rows[i];
        out += std::string(i ? ",\n  " : "\n  ") + "{\"title\": " + JsonString(r.title) + ", \"url\": " + JsonString(r.url) +
               ", \"channel\": " + JsonString(r.channel) + ", \"tag\": " + JsonString(r.tag) + "}";
    }
    return out + (rows.empty() ? "]" : "\n]");
}

// The controller over the data root of the session; `today` fixes the clock when set.
inline std::unique_ptr<DailyNews> MakeDailyNews(const WebCliSession &session, const NewsDay *today, bool network) {
    DailyNewsEnvironment env;
    const std::string root = session.Root();
    const Options opt = session.Opts();
    if (network)
        env.makeClient = MakeHttpClientFactory([opt] { return ProxyFrom(opt); }, [opt] { return LimitsFrom(opt); });
    env.cacheFolder = [root] { return DataRoot(root).cacheFolder(kDailyNewsCacheFolder); };
    if (today) env.today = [d = *today] { return d; };
    env.alert = [](const std::string &text) { std::fprintf(stderr, "%s\n", Shown(text).c_str()); };
    return std::make_unique<DailyNews>(std::move(env));
}

// The file name of a path (after its last "/").
inline std::string BaseName(const std::string &path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace qm::cli
