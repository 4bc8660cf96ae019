#pragma once
// What the web subcommands of quillmar-cli share: the data root and options, the routing
// to the fake web for --demo, the query words, and JSON text output.
#include "cli/Command.h"
#include "fakeweb/Server.h"
#include "net/NetConfig.h"
#include "search/SearchMode.h"
#include "settings/DataRoot.h"
#include "settings/Opt.h"
#include "toolkit/DisplayText.h"
#include "toolkit/JsonText.h"

#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qm::cli {

class WebCliSession {
public:
    // False (and a message on stderr) when the fake web cannot start.
    bool Open(const GlobalOptions &g, const char *command) {
        if (!g.connectTo.empty()) AddConnectTo(g.connectTo);
        if (!g.home.empty()) {
            root_ = g.home;
        } else if (g.demo) {
            tmp_ = std::make_unique<QTemporaryDir>();
            if (!tmp_->isValid()) return Fail(command, "cannot make a temporary data root");
            root_ = tmp_->path().toStdString();
        } else {
            root_ = ChooseDataRoot(CurrentDataRootInputs({}));
        }
        DataRoot root(root_);
        LoadOptions(options_, root.optionsFile(), root.languageDir());  // defaults when absent
        if (g.demo) {
            // Stopped at exit, after the HTTP client has closed its kept-alive connections
            // (the server would otherwise wait for them to time out).
            static fakeweb::Server server;
            if (!server.running() && !server.start(0)) return Fail(command, "cannot start the fake web");
            RouteServiceHostsTo(server.port(), "127.0.0.1", /*everyHost=*/true);
            routed_ = true;
        }
        return true;
    }
    ~WebCliSession() {
        if (routed_) RouteServiceHostsTo(0);
    }
    const std::string &Root() const { return root_; }
    const Options &Opts() const { return options_; }

private:
    bool Fail(const char *command, const char *what) {
        std::fprintf(stderr, "quillmar-cli %s: %s\n", command, what);
        return false;
    }
    std::string root_;
    Options options_;
    std::unique_ptr<QTemporaryDir> tmp_;
    bool routed_ = false;
};

inline bool ParseMode(const std::string &text, SearchMode &mode) {
    if (text == "all") mode = SearchMode::All;
    else if (text == "any") mode = SearchMode::Any;
    else if (text == "exact") mode = SearchMode::Exact;
    else if (text == "bool") mode = SearchMode::Bool;
    else return false;
    return true;
}

// Splits a subcommand's arguments into options and query words, in their order: the
// options in `valued` take the next argument as value, those in `flags` stand alone (value
// ""), and after "--" everything is a word. `option` returns an error text, or "" to go on.
// Returns the first error ("--x needs a value", "unknown option --y"), or "".
inline std::string SplitArguments(const std::vector<std::string> &args, std::initializer_list<std::string_view> valued,
                                  std::initializer_list<std::string_view> flags,
                                  const std::function<std::string(const std::string &name, const std::string &value)> &option,
                                  std::vector<std::string> &words) {
    auto among = [](std::initializer_list<std::string_view> names, const std::string &a) {
        return std::find(names.begin(), names.end(), a) != names.end();
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        std::string error;
        if (among(valued, a)) {
            if (i + 1 >= args.size()) return a + " needs a value";
            error = option(a, args[++i]);
        } else if (among(flags, a)) {
            error = option(a, "");
        } else if (a == "--") {
            words.insert(words.end(), args.begin() + long(i) + 1, args.end());
            break;
        } else if (a.rfind("--", 0) == 0) {
            return "unknown option " + a;
        } else {
            words.push_back(a);
        }
        if (!error.empty()) return error;
    }
    return "";
}

// The arguments of a subcommand whose only option is "--format": `format` keeps its value
// (the default when not given) and must be one of `formats`. Returns an error text or "".
inline std::string SplitFormatOnly(const std::vector<std::string> &args, std::initializer_list<std::string_view> formats,
                                   std::string &format, std::vector<std::string> &words) {
    const std::string error = SplitArguments(
        args, {"--format"}, {},
        [&](const std::string &, const std::string &v) {
            format = v;
            return std::string();
        },
        words);
    if (!error.empty()) return error;
    if (std::find(formats.begin(), formats.end(), format) == formats.end()) return "unknown format " + format;
    return "";
}

inline std::string JoinWords(const std::vector<std::string> &words) {
    std::string out;
    for (const auto &w : words) out += (out.empty() ? "" : " ") + w;
    return out;
}

// Bytes as shown (the one display rule), as UTF-8.
inline std::string Shown(const std::string &bytes) { return DisplayText(bytes).toUtf8().toStdString(); }

// A JSON string of bytes as shown.
inline std::string JsonString(const std::string &bytes) {
    std::string out;
    AppendJsonString(out, Shown(bytes));
    return out;
}

// A TSV field: bytes as shown, with tabs and line breaks turned into blanks.
inline std::string TsvField(const std::string &bytes) {
    std::string s = Shown(bytes);
    for (char &c : s)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return s;
}

}  // namespace qm::cli
