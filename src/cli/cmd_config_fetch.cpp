// quillmar-cli config fetch [--format json]: the run's download from the home host
// (--connect-to reroutes it), its retry, the local copy, applying and the front picture
// download, waited for. Nothing is shown and nothing is opened. Exit 0 when a configuration
// was applied, 1 when none was, 2 for bad arguments.
#include "cli/ConfigCli.h"
#include "service/ServiceLink.h"

#include <QCoreApplication>

namespace {

const char *SourceName(qm::ConfigDownload::Source s) {
    switch (s) {
        case qm::ConfigDownload::Source::Remote: return "remote";
        case qm::ConfigDownload::Source::Local: return "local";
        case qm::ConfigDownload::Source::None: break;
    }
    return "none";
}

const char *FrontName(qm::ServiceLink::Front f) {
    switch (f) {
        case qm::ServiceLink::Front::Kept: return "kept";
        case qm::ServiceLink::Front::Downloaded: return "downloaded";
        case qm::ServiceLink::Front::Downloading:  // cannot stay so once the link is idle
        case qm::ServiceLink::Front::Failed: return "failed";
        case qm::ServiceLink::Front::Refused: return "refused";
        case qm::ServiceLink::Front::None: break;
    }
    return "none";
}

int RunFetch(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    std::vector<std::string> words;
    bool json = false;
    if (int status = qm::cli::ParseConfigArguments(args, words, json)) return status;
    if (!words.empty()) return qm::cli::ConfigUsage("config fetch takes no words");
    qm::cli::WebCliSession session;
    if (!session.Open(g, "config")) return 1;
    qm::ServiceLink link(qm::ServiceLinkSettingsFrom(session.Opts(), session.Root()));
    link.Start();
    while (!link.Idle()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const bool applied = link.Applied();
    const std::string extra = std::string(", \"source\": \"") + SourceName(link.Download().source()) +
                              "\", \"front_picture\": \"" + FrontName(link.FrontState()) + "\"";
    qm::cli::PrintText(json ? qm::cli::ConfigJson(applied, session.Root(), extra) : qm::cli::ConfigText(applied));
    return applied ? 0 : 1;
}

const qm::cli::ConfigCommandRegistration kRegistration("fetch", RunFetch);

}  // namespace
