// quillmar-cli banner run FILE --calls N [--click] [--format text|json]: the banner bar of a
// run whose configuration is FILE. FILE is applied as `config apply` applies it (nothing is
// shown, downloaded or written but the banner's cookies); the bar's timer step is then
// called N times, the first being the call that applying makes, and every banner request
// ends (at most 10 s) before the next call. --click then clicks the picture; the address it
// would open is reported, no browser starts. Exit 0 when FILE was applied, 1 when not
// (10 lines or fewer), 2 for bad arguments.
#include "cli/ConfigCli.h"
#include "net/Proxy.h"
#include "service/BannerBar.h"
#include "service/FrontPicture.h"
#include "settings/MessageTable.h"

namespace {

constexpr const char *kUsage = "run FILE --calls N [--click] [--format text|json]";

struct Outcome {
    std::vector<std::pair<int, std::string>> requests;  // call, address
    std::optional<std::string> open, alert;
};

std::string Json(const qm::BannerBar &bar, const qm::RemoteConfig &config, const Outcome &o) {
    using qm::cli::JsonString;
    const qm::BannerBar::Slot &slot = bar.SlotAt(1);
    std::string out = "{\"requests\": [";
    for (size_t i = 0; i < o.requests.size(); ++i)
        out += std::string(i ? ", " : "") + "{\"call\": " + std::to_string(o.requests[i].first) +
               ", \"url\": " + JsonString(o.requests[i].second) + "}";
    out += "], \"shown\": ";
    const QImage &p = bar.Picture();
    out += p.isNull() ? "null"
                      : "{\"width\": " + std::to_string(p.width()) + ", \"height\": " + std::to_string(p.height()) + "}";
    auto flag = [](bool b) { return b ? "true" : "false"; };
    out += std::string(", \"clickable\": ") + flag(bar.Clickable()) + ", \"invalid\": " + flag(slot.invalid);
    const qm::Msg label = bar.SupportShown() ? qm::Msg::Support : qm::Msg::Slogan;
    out += ", \"label\": " + JsonString(std::string(qm::MessageTable::Default(label)));
    out += ", \"cookies\": " + JsonString(slot.cookies) + ", \"click\": ";
    if (o.open) out += "{\"open\": " + JsonString(*o.open) + "}";
    else if (o.alert) out += "{\"alert\": " + JsonString(*o.alert) + "}";
    else out += "null";
    out += std::string(", \"bar_hidden\": ") + flag(bar.Hidden()) + ", \"period\": " + std::to_string(slot.period);
    return out + ", \"refused\": " + qm::cli::RefusedJson(config.refused) + "}\n";
}

std::string Text(const qm::BannerBar &bar, const Outcome &o) {
    using qm::cli::Shown;
    std::string out;
    for (const auto &[call, url] : o.requests) out += "request " + std::to_string(call) + " " + Shown(url) + "\n";
    const QImage &p = bar.Picture();
    if (!p.isNull()) out += "shown " + std::to_string(p.width()) + "x" + std::to_string(p.height()) + "\n";
    out += std::string("clickable ") + (bar.Clickable() ? "yes" : "no") + "\n";
    out += "cookies " + Shown(bar.SlotAt(1).cookies) + "\n";
    if (o.open) out += "open " + Shown(*o.open) + "\n";
    if (o.alert) out += "alert " + Shown(*o.alert) + "\n";
    out += "period " + std::to_string(bar.SlotAt(1).period) + "\n";
    return out;
}

int Run(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    if (args.empty() || args[0] != "run") return qm::cli::UsageError("banner", kUsage, "banner needs \"run\"");
    args.erase(args.begin());
    std::string format = "text";
    long calls = -1;
    bool click = false;
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitArguments(
        args, {"--calls", "--format"}, {"--click"},
        [&](const std::string &name, const std::string &value) -> std::string {
            if (name == "--click") {
                click = true;
            } else if (name == "--format") {
                if (value != "text" && value != "json") return "--format is text or json";
                format = value;
            } else {
                char *end = nullptr;
                calls = std::strtol(value.c_str(), &end, 10);
                if (value.empty() || *end || calls < 1 || calls > 1000000) return "--calls needs a number from 1";
            }
            return "";
        },
        words);
    if (!error.empty()) return qm::cli::UsageError("banner", kUsage, error);
    if (words.size() != 1 || calls < 1) return qm::cli::UsageError("banner", kUsage, "banner run takes FILE and --calls N");

    qm::StringList lines;
    if (!qm::TMisc::LoadTextLines(words[0], lines)) {
        std::fprintf(stderr, "quillmar-cli banner: cannot read %s\n", words[0].c_str());
        return 2;
    }
    qm::cli::WebCliSession session;
    if (!session.Open(g, "banner")) return 1;
    const qm::Options &options = session.Opts();

    qm::BannerBar bar(session.Root());
    bar.SetLimits({1LL << 20, 10, 10000});  // every request ends within 10 s
    bar.configureClient = [&](qm::THttpCli &c) { qm::ApplyProxySettings(c, options.proxy); };
    Outcome outcome;
    int call = 0;
    bool finished = false;
    bar.requested = [&](const std::string &url) { outcome.requests.emplace_back(call, url); };
    bar.requestFinished = [&] { finished = true; };
    bar.openBrowser = [&](const std::string &url) { outcome.open = url; };
    bar.alert = [&](const std::string &text) { outcome.alert = text; };

    const bool applied = lines.size() > 10;
    qm::RemoteConfig config;
    if (applied) {
        config = qm::ApplyConfig(lines);
        qm::SetServiceConfig(config);
        bar.Configure(config);
        // A front picture already in the data root is shown; nothing is downloaded.
        if (const std::string kept = qm::KeptFrontPicture(session.Root(), config); !kept.empty())
            bar.ShowFrontPicture(kept);
        for (call = 1; call <= calls; ++call) {
            finished = false;
            bar.Step();
            while (bar.Busy() && !finished) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        if (click) bar.Click();
    }
    qm::cli::PrintText(format == "json" ? Json(bar, config, outcome) : Text(bar, outcome));
    return applied ? 0 : 1;
}

qm::cli::CommandRegistration registration("banner", kUsage, Run);

}  // namespace
