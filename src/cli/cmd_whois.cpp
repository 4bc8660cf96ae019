// quillmar-cli whois: the domain name search of the "WHO" tab.
//   whois [--gateway URL] [--register URL] [--format text|json] DOMAIN   a whole lookup
//   whois parse [--format text|json] FILE                              a gateway reply body
//   whois cached [--format text|json] DOMAIN                           the recall from the box
#include "cli/NetToolsCli.h"
#include "net/Proxy.h"
#include "service/RemoteConfig.h"
#include "toolkit/AtomicFile.h"
#include "tools/Whois.h"

namespace {

constexpr const char *kUsage =
    "[--gateway URL] [--register URL] [--format text|json] DOMAIN | parse [--format text|json] FILE | "
    "cached [--format text|json] DOMAIN";

int Parse(const std::string &format, const std::vector<std::string> &words) {
    if (words.size() != 1) return qm::cli::UsageError("whois", kUsage, "whois parse takes one FILE");
    std::string body;
    if (!qm::ReadWholeFile(words.front(), body)) {
        std::fprintf(stderr, "quillmar-cli whois: cannot read %s\n", words.front().c_str());
        return 2;
    }
    const qm::WhoisRecord r = qm::ParseWhoisReply(body);
    if (format == "text")
        qm::cli::PrintLines(r.lines);
    else
        qm::cli::PrintText(std::string("{\"shown\": ") + (r.shown ? "true" : "false") +
                           ", \"free\": " + (r.free ? "true" : "false") +
                           ", \"record\": " + qm::cli::JsonStringArray(r.lines) + "}\n");
    return r.shown ? 0 : 1;
}

int Cached(const qm::cli::GlobalOptions &g, const std::string &format, const std::vector<std::string> &words) {
    qm::cli::WebCliSession session;
    if (!session.Open(g, "whois")) return 1;
    std::vector<std::string> lines;
    const bool found =
        qm::LoadWhoisCache(qm::DataRoot(session.Root()).cacheFolder(qm::kWhoisCacheFolder), qm::cli::JoinWords(words), lines);
    if (format == "text")
        qm::cli::PrintLines(lines);
    else
        qm::cli::PrintText("{\"lines\": " + qm::cli::JsonStringArray(lines) + "}\n");
    return found ? 0 : 1;
}

int Lookup(const qm::cli::GlobalOptions &g, const std::string &format, const std::string &gateway,
           const std::string &registerPage, const std::vector<std::string> &words) {
    qm::cli::WebCliSession session;
    if (!session.Open(g, "whois")) return 1;
    const std::string root = session.Root();
    const qm::Options &opt = session.Opts();
    std::string alert;
    qm::WhoisEnvironment env;
    env.alert = [&](const std::string &text) { alert = text; };
    env.configureClient = [&](qm::THttpCli &c) { qm::ApplyProxySettings(c, opt.proxy); };
    env.cacheFolder = [&] { return qm::DataRoot(root).cacheFolder(qm::kWhoisCacheFolder); };
    env.disableQuestion = [] { return true; };  // nobody to ask; "register" says where Yes leads
    // Options given win; else the applied configuration's addresses (empty: the defaults).
    env.gatewayAddress = [&] { return gateway.empty() ? qm::CurrentServiceConfig().whoisUrl : gateway; };
    env.registerPage = [&] { return registerPage.empty() ? qm::CurrentServiceConfig().whoisSponsor : registerPage; };
    qm::WhoisLookup lookup(env);
    if (lookup.Lookup(qm::cli::JoinWords(words)) == qm::WhoisLookup::Start::Invalid) return qm::cli::RejectInput(alert);
    bool over = false;
    QObject::connect(&lookup, &qm::WhoisLookup::finished, [&] { over = true; });
    while (!over) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

    const auto &o = lookup.Last();
    std::optional<std::string> cache;
    if (o.cacheFile) cache = o.cacheFile->substr(o.cacheFile->rfind("/Cache/") + 1);
    if (format == "text") {
        qm::cli::PrintLines(lookup.Lines());
    } else {
        qm::cli::PrintText("{\"domain\": " + qm::cli::JsonString(o.domain) + ", \"query\": " +
                           qm::cli::JsonString(o.query) + ", \"request\": " + qm::cli::JsonString(o.request) +
                           ", \"free\": " + (o.record.shown && o.record.free ? "true" : "false") +
                           ", \"register\": " + qm::cli::JsonOrNull(o.record.free ? o.registerAddress : std::nullopt) +
                           ", \"server\": " + qm::cli::JsonOrNull(o.serverLine) +
                           ", \"record\": " + qm::cli::JsonStringArray(o.record.lines) +
                           ", \"lines\": " + qm::cli::JsonStringArray(lookup.Lines()) +
                           ", \"cache\": " + qm::cli::JsonOrNull(cache) + "}\n");
    }
    return o.record.shown ? 0 : 1;
}

int RunWhois(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    std::string mode;
    if (!args.empty() && (args.front() == "parse" || args.front() == "cached")) {
        mode = args.front();
        args.erase(args.begin());
    }
    std::string format = "text", gateway, registerPage;
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitArguments(
        args, {"--format", "--gateway", "--register"}, {},
        [&](const std::string &a, const std::string &v) -> std::string {
            if (a == "--format") format = v;
            if (a == "--gateway") gateway = v;
            if (a == "--register") registerPage = v;
            return "";
        },
        words);
    if (!error.empty()) return qm::cli::UsageError("whois", kUsage, error);
    if (format != "text" && format != "json") return qm::cli::UsageError("whois", kUsage, "unknown format " + format);
    if (mode == "parse") return Parse(format, words);
    if (mode == "cached") return Cached(g, format, words);
    return Lookup(g, format, gateway, registerPage, words);
}

const qm::cli::CommandRegistration kRegistration("whois", kUsage, RunWhois);

}  // namespace
