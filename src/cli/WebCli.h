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

#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <string>
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

inline std::string JoinWords(const std::vector<std::string> &words) {
    std::string out;
    for (const auto &w : words) out += (out.empty() ? "" : " ") + w;
    return out;
}

// Bytes as shown (the one display rule), as UTF-8.
inline std::string Shown(const std::string &bytes) { return DisplayText(bytes).toUtf8().toStdString(); }

// A JSON string of bytes as shown.
inline std::string JsonString(const std::string &bytes) {
    const std::string s = Shown(bytes);
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += char(c);
            }
        }
    }
    return out + "\"";
}

// A TSV field: bytes as shown, with tabs and line breaks turned into blanks.
inline std::string TsvField(const std::string &bytes) {
    std::string s = Shown(bytes);
    for (char &c : s)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return s;
}

}  // namespace qm::cli
