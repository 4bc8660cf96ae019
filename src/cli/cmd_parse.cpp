// quillmar-cli parse: runs one web engine's page readers over a saved answer page.
#include <cstdio>
#include "toolkit/AtomicFile.h"

#include "cli/Command.h"
#include "cli/VerticalCli.h"
#include "engines/vertical/VerticalReaders.h"
#include "engines/web/WebReadersSink.h"

namespace {

constexpr const char *kUsage = "--engine NAME [--host PREFIX] [--format tsv|json] FILE\n"
                               "               NAME is a web engine, GoogleNews, C|NET or TuCows";

int Fail(const char *message, const std::string &detail = {}) {
    std::fprintf(stderr, "quillmar-cli parse: %s%s\nusage: quillmar-cli parse %s\n", message, detail.c_str(), kUsage);
    return 2;
}

int RunParse(const qm::cli::GlobalOptions &, std::vector<std::string> args) {
    std::string engine, host, format = "json", file;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        auto value = [&](std::string &into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        if (a == "--engine") {
            if (!value(engine)) return Fail("--engine needs a value");
        } else if (a == "--host") {
            if (!value(host)) return Fail("--host needs a value");
        } else if (a == "--format") {
            if (!value(format)) return Fail("--format needs a value");
        } else if (a.rfind("--", 0) == 0 && a.size() > 2) {
            return Fail("unknown option ", a);
        } else if (file.empty()) {
            file = a;
        } else {
            return Fail("more than one file: ", a);
        }
    }
    if (engine.empty() || file.empty()) return Fail("an engine and a file are needed");
    if (format != "json" && format != "tsv") return Fail("unknown format ", format);

    std::string page;
    if (!qm::ReadWholeFile(file, page)) return Fail("cannot read ", file);

    // The newsgroup and software engines have their own rows.
    if (const auto vertical = qm::FindVerticalEngine(engine); vertical != qm::VerticalEngine::None) {
        const qm::VerticalParsed parsed = qm::ParseVerticalPage(vertical, host, page);
        const std::string out = qm::cli::FormatVerticalRows(vertical == qm::VerticalEngine::News, parsed.rows,
                                                            &parsed.pages, format == "json");
        std::fwrite(out.data(), 1, out.size(), stdout);
        return 0;
    }
    qm::ParsedPage parsed;
    if (!qm::ParseEnginePage(engine, host, page, parsed)) return Fail("unknown engine ", engine);
    std::string out = format == "json" ? qm::FormatParseJson(parsed.rows, parsed.pages)
                                       : qm::FormatParseTsv(parsed.rows, parsed.pages);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

const qm::cli::CommandRegistration kRegistration("parse", kUsage, RunParse);

}  // namespace
