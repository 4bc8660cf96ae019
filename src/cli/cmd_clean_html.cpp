// quillmar-cli clean-html: the HTML text cleanup of captured snippets, as a filter.
// Reads bytes on standard input and writes exactly the cleaned bytes (no newline added).
#include "cli/Command.h"
#include "toolkit/Misc.h"

#include <cstdio>
#include <string>

namespace {

int RunCleanHtml(const qm::cli::GlobalOptions &, std::vector<std::string> args) {
    if (!args.empty()) {
        std::fprintf(stderr, "usage: quillmar-cli clean-html < input > output\n");
        return 2;
    }
    std::string input;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, stdin)) > 0) input.append(buf, n);
    if (std::ferror(stdin)) {
        std::fprintf(stderr, "quillmar-cli: cannot read standard input\n");
        return 1;
    }
    const std::string out = qm::CleanHtmlText(input);
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "quillmar-cli: cannot write standard output\n");
        return 1;
    }
    return 0;
}

const qm::cli::CommandRegistration kRegistration(
    "clean-html", "reads HTML text on standard input, writes it without tags and references",
    RunCleanHtml);

}  // namespace
