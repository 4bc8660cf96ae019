// quillmar-cli ping: echo requests to a host, as the "Ping" button does them.
#include "cli/NetToolsCli.h"
#include "toolkit/Misc.h"
#include "tools/Ping.h"

namespace {

constexpr const char *kUsage = "[--count N] [--delay MS] [--format text|json] HOST";

int RunPing(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    std::optional<long long> count, delay;
    std::string format = "text";
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitArguments(
        args, {"--count", "--delay", "--format"}, {},
        [&](const std::string &a, const std::string &v) -> std::string {
            if (a == "--count") count = qm::Atol(v);
            if (a == "--delay") delay = qm::Atol(v);
            if (a == "--format") format = v;
            return "";
        },
        words);
    if (!error.empty()) return qm::cli::UsageError("ping", kUsage, error);
    if (format != "text" && format != "json") return qm::cli::UsageError("ping", kUsage, "unknown format " + format);

    qm::cli::WebCliSession session;
    if (!session.Open(g, "ping")) return 1;
    qm::SystemResolver resolver;
    qm::IcmpEchoPort echo;
    qm::PingRun run(resolver, echo, {});
    const auto start = run.Begin(qm::cli::JoinWords(words), count.value_or(session.Opts().pingAmount),
                                 delay.value_or(session.Opts().pingDelay));
    if (start == qm::PingRun::Start::EmptyHost)
        return qm::cli::RejectInput("You must type an address to resolve first");
    if (start == qm::PingRun::Start::BadCount)
        return qm::cli::RejectInput("You must specify at least 1 PING to perform");
    qm::cli::WaitFor(&run, &qm::PingRun::finished, [&] { return !run.Running(); });

    const qm::PingResult &r = run.Result();
    if (format == "text") {
        qm::cli::PrintLines(r.lines);
    } else {
        std::string replies = "[";
        for (size_t i = 0; i < r.replies.size(); ++i) {
            const auto &p = r.replies[i];
            replies += std::string(i ? ", " : "") + "{\"n\": " + std::to_string(p.n) +
                       ", \"from\": " + qm::cli::JsonString(p.from) + ", \"ms\": " + std::to_string(p.ms) +
                       ", \"bytes\": " + std::to_string(p.bytes) + "}";
        }
        replies += "]";
        qm::cli::PrintText("{\"host\": " + qm::cli::JsonString(r.host) + ", \"address\": " +
                           qm::cli::JsonOrNull(r.address) + ", \"sent\": " + std::to_string(r.sent) +
                           ", \"received\": " + std::to_string(r.received) + ", \"replies\": " + replies +
                           ", \"average\": " + (r.average ? std::to_string(*r.average) : "null") +
                           ", \"status\": " + qm::cli::JsonString(r.status) +
                           ", \"lines\": " + qm::cli::JsonStringArray(r.lines) + "}\n");
    }
    return r.status == "done" ? 0 : 1;
}

const qm::cli::CommandRegistration kRegistration("ping", kUsage, RunPing);

}  // namespace
