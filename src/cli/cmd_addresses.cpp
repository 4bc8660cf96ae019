// quillmar-cli addresses: the computer's own addresses, as the "Local IP" button writes them.
#include "cli/NetToolsCli.h"
#include "tools/NetTools.h"

namespace {

constexpr const char *kUsage = "[--format text|json]";

int RunAddresses(const qm::cli::GlobalOptions &, std::vector<std::string> args) {
    std::string format = "text";
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitFormatOnly(args, {"text", "json"}, format, words);
    if (!error.empty()) return qm::cli::UsageError("addresses", kUsage, error);
    if (!words.empty()) return qm::cli::UsageError("addresses", kUsage, "unexpected " + words.front());
    const auto addresses = qm::LocalAddresses();
    const auto lines = qm::LocalIpLines(addresses, {});
    if (format == "text")
        qm::cli::PrintLines(lines);
    else
        qm::cli::PrintText("{\"addresses\": " + qm::cli::JsonStringArray(addresses) +
                           ", \"lines\": " + qm::cli::JsonStringArray(lines) + "}\n");
    return 0;
}

const qm::cli::CommandRegistration kRegistration("addresses", kUsage, RunAddresses);

}  // namespace
