// quillmar-cli software-detail: reads a saved software detail page as the Download, Visit
// and opinions actions read it.
#include "cli/WebCli.h"
#include "toolkit/AtomicFile.h"
#include "engines/vertical/VerticalReaders.h"

#include <cstdio>
#include <iterator>

namespace {

constexpr const char *kUsage = "[--host PREFIX] [--format tsv|json] FILE";

int Fail(const std::string &message) {
    std::fprintf(stderr, "quillmar-cli software-detail: %s\nusage: quillmar-cli software-detail %s\n",
                 message.c_str(), kUsage);
    return 2;
}

int RunSoftwareDetail(const qm::cli::GlobalOptions &, std::vector<std::string> args) {
    std::string host, format = "json";
    std::vector<std::string> files;
    const std::string error = qm::cli::SplitArguments(
        args, {"--host", "--format"}, {},
        [&](const std::string &a, const std::string &v) -> std::string {
            if (a == "--host") host = v;
            if (a == "--format") format = v;
            return "";
        },
        files);
    if (!error.empty()) return Fail(error);
    if (format != "tsv" && format != "json") return Fail("unknown format " + format);
    if (files.size() != 1) return Fail(files.empty() ? "a file is needed" : "more than one file");
    std::string page;
    if (!qm::ReadWholeFile(files[0], page)) return Fail("cannot read " + files[0]);

    const qm::SoftwareDetail d = qm::ReadSoftwareDetailPage(page, host.empty() ? qm::SoftwareSearchHost(0) : host);
    std::string out;
    if (format == "json") {
        out = "{\"download\": " + qm::cli::JsonString(d.download) + ", \"author\": " + qm::cli::JsonString(d.author) +
              ", \"opinions\": " + qm::cli::JsonString(d.opinions) +
              ", \"mentions_opinions\": " + (d.mentionsOpinions ? "true" : "false") +
              ", \"description\": " + qm::cli::JsonString(d.description) + "}\n";
    } else {
        out = qm::cli::TsvField(d.download) + "\t" + qm::cli::TsvField(d.author) + "\t" + qm::cli::TsvField(d.opinions) +
              "\t" + (d.mentionsOpinions ? "true" : "false") + "\t" + qm::cli::TsvField(d.description) + "\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

const qm::cli::CommandRegistration kRegistration("software-detail", kUsage, RunSoftwareDetail);

}  // namespace
