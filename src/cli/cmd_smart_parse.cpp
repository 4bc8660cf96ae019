// quillmar-cli smart parse: the smart finder's readers over one saved Google result page.
#include "cli/SmartCli.h"
#include "toolkit/AtomicFile.h"
#include "engines/web/WebReadersSink.h"

#include <iterator>

namespace {

constexpr const char *kUsage = "[--host PREFIX] [--format json] FILE";

int RunParse(const qm::cli::GlobalOptions &, std::vector<std::string> args) {
    std::string host, format = "json";
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitArguments(
        args, {"--host", "--format"}, {},
        [&](const std::string &a, const std::string &v) -> std::string {
            if (a == "--host") host = v;
            if (a == "--format") format = v;
            return "";
        },
        words);
    if (!error.empty()) return qm::cli::SmartFail("parse", error, kUsage);
    if (words.size() != 1) return qm::cli::SmartFail("parse", "one file is needed", kUsage);
    if (format != "json") return qm::cli::SmartFail("parse", "unknown format " + format, kUsage);
    std::string page;
    if (!qm::ReadWholeFile(words[0], page)) return qm::cli::SmartFail("parse", "cannot read " + words[0], kUsage);

    if (host.empty()) host = qm::AddressRoot(qm::BuildSmartEngineTable()[qm::kSmartGoogleSlot].templateAll);
    // An empty list, no limit, an empty page list; the smart list has no engine name.
    qm::CollectingSink sink(host, "");
    qm::CollectSmartPages(page, sink);
    qm::ParseSmartResults(page, sink);
    std::string out = "{\"rows\": " + qm::cli::SmartRowsJson(sink.Rows()) + ",\n \"pages\": [";
    bool first = true;
    for (const auto &entry : sink.Queue().entries()) {
        out += std::string(first ? "" : ", ") + qm::cli::JsonString(entry.address);
        first = false;
    }
    out += "]}\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

const qm::cli::SmartRegistration kRegistration("parse", kUsage, RunParse);

}  // namespace
