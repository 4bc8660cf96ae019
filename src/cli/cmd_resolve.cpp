// quillmar-cli resolve: a name to its addresses, or a dotted IPv4 address to its name, as the
// "DNS resolving" button does it.
#include "cli/NetToolsCli.h"
#include "toolkit/Misc.h"
#include "tools/NetTools.h"
#include "tools/Resolve.h"

namespace {

constexpr const char *kUsage = "[--format text|json] NAME";

int RunResolve(const qm::cli::GlobalOptions &, std::vector<std::string> args) {
    std::string format = "text";
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitFormatOnly(args, {"text", "json"}, format, words);
    if (!error.empty()) return qm::cli::UsageError("resolve", kUsage, error);
    const std::string typed = qm::cli::JoinWords(words);
    if (qm::Trim(typed).empty()) return qm::cli::RejectInput("You must type an address to resolve first");

    const std::string host = qm::CleanHostText(typed);
    const bool reverse = qm::IsDottedIPv4(host);
    qm::SystemResolver resolver;
    std::optional<qm::ResolveOutcome> out;
    resolver.Start(host, reverse, [&](const qm::ResolveOutcome &o) { out = o; });
    while (!out) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

    const auto lines = qm::DnsLines(host, *out, {});
    if (format == "text")
        qm::cli::PrintLines(lines);
    else
        qm::cli::PrintText("{\"host\": " + qm::cli::JsonString(host) + ", \"kind\": \"" +
                           (reverse ? "reverse" : "forward") + "\", \"results\": " +
                           qm::cli::JsonStringArray(out->found() ? out->results : std::vector<std::string>{}) +
                           ", \"error\": " + (out->found() ? "null" : std::to_string(out->error)) +
                           ", \"lines\": " + qm::cli::JsonStringArray(lines) + "}\n");
    return out->found() ? 0 : 1;
}

const qm::cli::CommandRegistration kRegistration("resolve", kUsage, RunResolve);

}  // namespace
