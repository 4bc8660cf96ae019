// quillmar-cli parse: runs one web engine's page readers over a saved answer page.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "cli/Command.h"
#include "engines/web/WebEngineTable.h"
#include "engines/web/WebReaders.h"
#include "engines/web/WebReadersSink.h"

namespace {

constexpr const char *kUsage = "--engine NAME [--host PREFIX] [--format tsv|json] FILE";

int Fail(const char *message, const std::string &detail = {}) {
    std::fprintf(stderr, "quillmar-cli parse: %s%s\nusage: quillmar-cli parse %s\n", message,
                 detail.c_str(), kUsage);
    return 2;
}

int RunParse(const qm::cli::GlobalOptions &, std::vector<std::string> args) {
    std::string engine, host, format = "json", file;
    bool haveHost = false;
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
            haveHost = true;
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

    const auto table = qm::BuildWebEngineTable();
    int row = qm::FindWebEngineByName(table, engine);
    if (row < 0 && !engine.empty() && engine.find_first_not_of("0123456789") == std::string::npos)
        row = qm::FindWebEngineBySelector(table, std::stoi(engine.substr(0, 3)));
    if (row < 0 || row >= qm::kWebEngineCount) return Fail("unknown engine ", engine);
    const int selector = table[row].selector;
    if (!haveHost) host = qm::ServiceRoot(qm::WebEngineHostKeys()[row]);

    std::ifstream in(file, std::ios::binary);
    if (!in) return Fail("cannot read ", file);
    std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    qm::CollectingSink sink(host, table[row].name);
    // One page already in the queue, as the engine's first page is during a search.
    sink.Queue().Append("http://unrelated.example/first-page", "ON");
    const size_t seeded = sink.Queue().size();
    qm::RunReaders(selector, page, sink);

    std::vector<std::string> pages;
    for (size_t i = seeded; i < sink.Queue().size(); ++i) pages.push_back(sink.Queue()[i].address);
    std::string out = format == "json" ? qm::FormatParseJson(sink.Rows(), pages)
                                       : qm::FormatParseTsv(sink.Rows(), pages);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

const qm::cli::CommandRegistration kRegistration("parse", kUsage, RunParse);

}  // namespace
