// quillmar-cli forums / mp3: the forum finder and the MP3 finder. "parse" runs one engine's
// readers over a saved answer page; "search" runs a whole search through the objects the
// window's BOARD and MP3 pages drive, and writes its cache as they do.
#include "cli/VerticalCli.h"
#include "toolkit/AtomicFile.h"
#include "engines/vertical/ForumMp3Search.h"
#include "search/ExpandQuery.h"

#include <iterator>

namespace {

struct Command {
    const char *name;
    const qm::PlainVerticalKind &(*kind)();
    bool forums;
};

constexpr const char *kForumsUsage =
    "parse --engine NAME [--host PREFIX] [--forum-host PREFIX] [--format tsv|json] FILE\n"
    "               | search [--format tsv|json] QUERY...\n"
    "               NAME: Delphi Center, Yahoo groups, Topica, BoardServer or EZBoard";
constexpr const char *kMp3Usage =
    "parse --engine NAME [--host PREFIX] [--format tsv|json] FILE | search [--format tsv|json] QUERY...\n"
    "               NAME: KaZaA or AVFind";

int Fail(const Command &c, const std::string &message) {
    std::fprintf(stderr, "quillmar-cli %s: %s\nusage: quillmar-cli %s %s\n", c.name, message.c_str(), c.name,
                 c.forums ? kForumsUsage : kMp3Usage);
    return 2;
}

int Parse(const Command &c, std::vector<std::string> args) {
    std::string engine, host, forumHost, format = "json";
    std::vector<std::string> files;
    auto option = [&](const std::string &a, const std::string &v) -> std::string {
        if (a == "--engine") engine = v;
        if (a == "--host") host = v;
        if (a == "--forum-host") forumHost = v;
        if (a == "--format") format = v;
        return "";
    };
    const std::string error =
        c.forums ? qm::cli::SplitArguments(args, {"--engine", "--host", "--format", "--forum-host"}, {}, option, files)
                 : qm::cli::SplitArguments(args, {"--engine", "--host", "--format"}, {}, option, files);
    if (!error.empty()) return Fail(c, error);
    if (engine.empty() || files.size() != 1) return Fail(c, "an engine and one file are needed");
    if (format != "json" && format != "tsv") return Fail(c, "unknown format " + format);
    const int selector = c.forums ? qm::ForumSelectorByName(engine) : qm::Mp3SelectorByName(engine);
    if (selector < 0) return Fail(c, "unknown engine " + engine);
    std::string page;
    if (!qm::ReadWholeFile(files[0], page)) return Fail(c, "cannot read " + files[0]);
    const qm::VerticalParsed parsed = c.forums ? qm::ParseForumPage(selector, host, forumHost, page)
                                               : qm::ParseMp3Page(selector, host, page);
    const std::string out = qm::cli::FormatVerticalRows(c.kind().keys, parsed.rows, &parsed.pages, format == "json");
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int Search(const Command &c, const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    std::string format = "tsv";
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitFormatOnly(args, {"tsv", "json"}, format, words);
    if (!error.empty()) return Fail(c, error);
    const std::string typed = qm::cli::JoinWords(words);
    if (qm::PrepareQuery(typed).empty()) return Fail(c, "no query");
    qm::cli::WebCliSession session;
    if (!session.Open(g, c.name)) return 1;
    qm::PlainVerticalSearch search(c.kind(), qm::cli::CliVerticalHost(session, c.name));
    search.Controller().Start(typed);
    return qm::cli::FinishVerticalRun(c.kind().keys, search.Controller(), format);
}

int Run(const Command &c, const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    if (args.empty()) return Fail(c, "parse or search is needed");
    const std::string verb = args.front();
    args.erase(args.begin());
    if (verb == "parse") return Parse(c, std::move(args));
    if (verb == "search") return Search(c, g, std::move(args));
    return Fail(c, "unknown action " + verb);
}

const Command kForums{"forums", qm::ForumKind, true};
const Command kMp3{"mp3", qm::Mp3Kind, false};

const qm::cli::CommandRegistration kForumsRegistration(
    "forums", kForumsUsage, [](const qm::cli::GlobalOptions &g, std::vector<std::string> a) { return Run(kForums, g, a); });
const qm::cli::CommandRegistration kMp3Registration(
    "mp3", kMp3Usage, [](const qm::cli::GlobalOptions &g, std::vector<std::string> a) { return Run(kMp3, g, a); });

}  // namespace
