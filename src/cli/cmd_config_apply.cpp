// quillmar-cli config apply FILE [--format json]: FILE's lines, read as the local copy is
// read, through the configuration rules; nothing is shown, downloaded or written. Exit 0 when
// applied, 1 when not (10 lines or fewer), 2 for bad arguments.
#include "cli/ConfigCli.h"

namespace {

int RunApply(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    std::vector<std::string> words;
    bool json = false;
    if (int status = qm::cli::ParseConfigArguments(args, words, json)) return status;
    if (words.size() != 1) return qm::cli::ConfigUsage("config apply takes one FILE");
    qm::StringList lines;
    if (!qm::TMisc::LoadTextLines(words.front(), lines)) return qm::cli::ConfigUsage("cannot read " + words.front());
    qm::cli::WebCliSession session;
    if (!session.Open(g, "config")) return 1;
    const bool applied = lines.size() > 10;
    if (applied) qm::SetServiceConfig(qm::ApplyConfig(lines, qm::CurrentServiceConfig()));
    qm::cli::PrintText(json ? qm::cli::ConfigJson(applied, session.Root()) : qm::cli::ConfigText(applied));
    return applied ? 0 : 1;
}

const qm::cli::ConfigCommandRegistration kRegistration("apply", RunApply);

}  // namespace
