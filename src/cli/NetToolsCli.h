#pragma once
// What the network-tool subcommands share: the memo lines as text or JSON, and the alert of
// rejected input (its text on stderr, nothing on stdout, status 2).
#include "cli/WebCli.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace qm::cli {

inline std::string JsonStringArray(const std::vector<std::string> &items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + JsonString(items[i]);
    return out + "]";
}

inline std::string JsonOrNull(const std::optional<std::string> &text) { return text ? JsonString(*text) : "null"; }

inline void PrintText(const std::string &text) { std::fwrite(text.data(), 1, text.size(), stdout); }

// The memo lines as shown, one per output line.
inline void PrintLines(const std::vector<std::string> &lines) {
    std::string out;
    for (const auto &l : lines) out += Shown(l) + "\n";
    PrintText(out);
}

inline int RejectInput(const std::string &alert) {
    std::fprintf(stderr, "%s\n", Shown(alert).c_str());
    return 2;
}

inline int UsageError(const char *command, const char *usage, const std::string &message) {
    std::fprintf(stderr, "quillmar-cli %s: %s\nusage: quillmar-cli %s %s\n", command, message.c_str(), command, usage);
    return 2;
}

// Runs the event loop until `signal` of `sender` fires (unless done() already holds).
template <class Sender, class Signal>
void WaitFor(Sender *sender, Signal signal, const std::function<bool()> &done) {
    if (done()) return;
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, &QEventLoop::quit);
    if (!done()) loop.exec();
}

}  // namespace qm::cli
