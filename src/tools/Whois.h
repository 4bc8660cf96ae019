#pragma once
// Domain name search (the "WHO" tab): the record of a domain from a WHOIS gateway over HTTP,
// the registration offer for a free name, the check of the domain's own web server, and a
// small cache file per domain. The pieces that read outside input are plain functions, so
// the command line, the tests and the fuzz target use them without a network.
#include "tools/NetToolsText.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class THttpCli;
enum class HttpRequest;

inline constexpr const char *kWhoisCacheFolder = "WHOSearch";
inline constexpr const char *kWhoisCacheExtension = ".whosearch";

// The domain box text made a domain: trimmed, then every occurrence (ASCII case ignored) of
// "http://", "ftp://", "news://", "nntp://", "https://", "smtp://", "pop3://" and "/" removed,
// in that order.
std::string CleanDomainText(std::string_view boxText);
// A domain is accepted with exactly 1 or 2 dots.
bool IsValidDomainDots(std::string_view domain);
// The query text: trimmed, every blank replaced by "+".
std::string WhoisQueryOf(std::string_view boxText);
// Everything but ASCII letters, digits, "-", ".", "_" and "~" as %XX.
std::string PercentEncodeDomain(std::string_view domain);
// ASCII letters, digits, "-" and "." only (and not empty).
bool IsPlainHostName(std::string_view domain);

// The gateway address of the domain: `gateway` (the whole address, as $WHOIS_URL gives it;
// empty: the default on the service-host table's "whois" host) followed by the encoded domain.
std::string WhoisGatewayAddress(std::string_view domain, std::string_view gateway = {});
// The registration page: the first "<$DOMAIN>" of `page` (empty: the home site) replaced by the
// encoded domain. Nothing unless the result is an http or https address.
std::optional<std::string> WhoisRegisterAddress(std::string_view domain, std::string_view page = {});

struct WhoisRecord {
    bool shown = false;              // the reply has two "<pre>"
    std::vector<std::string> lines;  // the filtered text after the second "<pre>"
    bool free = false;               // a line holds "unable" (ASCII case ignored)
};
// The record of a gateway reply: the text after the second "<pre>" (ASCII case ignored) up
// to the next "</pre>" or the end, through the byte filter: a line feed ends a line; bytes
// below 32 and above 127 go; outside a link "<" starts matching "<a hr", whose link is then
// copied up to its ">"-less text, any mismatch dropping "<", the partial match and the
// mismatching byte; inside a link's text everything is copied except "</a" and the byte
// after it.
WhoisRecord ParseWhoisReply(std::string_view body);
std::vector<std::string> FilterWhoisText(std::string_view text);

// The memo line of the server check: a transport error (error != 0), the "Server:" header of a
// 200 to 399 answer, or the status text of any other answer.
std::string ServerCheckLine(int error, int status, const std::string &reason,
                            const std::vector<std::string> &headers, const MessageFn &message);

// Cache files in `cacheFolder` (Cache/WHOSearch): the memo's lines, one per line (CR LF),
// named by the query and ".whosearch", made safe as list file names are.
std::string WhoisCachePath(const std::string &cacheFolder, std::string_view boxText);
bool SaveWhoisCache(const std::string &cacheFolder, std::string_view boxText, const std::vector<std::string> &lines);
// The recall from the box: false when there is no cache. An empty box deletes the file named
// just ".whosearch" and returns false.
bool LoadWhoisCache(const std::string &cacheFolder, std::string_view boxText, std::vector<std::string> &lines);

// What a lookup needs from its surroundings. Unset members do nothing.
struct WhoisEnvironment {
    MessageFn message;
    std::function<void(const std::string &text)> alert;  // ShowAlert, kind 0
    std::function<bool(const std::string &text)> ask;    // AskConfirm; true unless No
    std::function<void(const std::string &address)> openInBrowser;
    std::function<void(const std::string &domain)> setBoxText;
    std::function<void()> pushHistory;                   // the domain box, after setBoxText
    std::function<void(THttpCli &client)> configureClient;  // proxy settings, before each request
    std::function<std::string()> cacheFolder;            // Cache/WHOSearch of the data root
    std::function<bool()> disableQuestion;               // $DisableWHOQuestion
    std::function<std::string()> gatewayAddress;         // $WHOIS_URL; empty: the default
    std::function<std::string()> registerPage;           // $WHOIS_SPONSOR; empty: the home site
};

// The lookup of the "WHO" tab and of `quillmar-cli whois`.
class WhoisLookup : public QObject {
    Q_OBJECT
public:
    explicit WhoisLookup(WhoisEnvironment env, QObject *parent = nullptr);
    ~WhoisLookup() override;

    enum class Start { Started, Invalid };
    // The "Registered by" button (and Enter, which restarts a running lookup).
    Start Lookup(const std::string &boxText);
    // The box's change or click: shows the domain's cache when no lookup runs.
    bool ShowCached(const std::string &boxText);
    // Ends both requests without writing (the window closes).
    void Shutdown();

    bool Running() const { return running_; }
    bool Checking() const;
    const std::vector<std::string> &Lines() const { return lines_; }

    // What the last lookup did, for the command line.
    struct Outcome {
        std::string domain, query, request;
        WhoisRecord record;
        std::optional<std::string> registerAddress;
        std::optional<std::string> serverLine;
        std::optional<std::string> cacheFile;  // the path written
    };
    const Outcome &Last() const { return last_; }

signals:
    void linesChanged();
    void runningChanged(bool running);
    // The gateway reply was handled (the server check may follow).
    void gatewayDone();
    // The lookup is over: the gateway reply handled and the server check, if any, done.
    void finished();

private:
    void OnGatewayDone(int error);
    void OnCheckDone(int error);
    void SetLines(std::vector<std::string> lines);
    void Append(const std::string &line);
    void SaveCache();
    void SetRunning(bool on);
    std::string T(const char *english) const { return Say(env_.message, english); }

    WhoisEnvironment env_;
    std::unique_ptr<THttpCli> gateway_, check_;
    std::string buffer_;
    std::string boxText_;  // the cleaned domain as the box shows it
    std::vector<std::string> lines_;
    Outcome last_;
    bool running_ = false;
};

}  // namespace qm
