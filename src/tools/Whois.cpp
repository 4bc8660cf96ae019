#include "tools/Whois.h"

#include "net/HttpCli.h"
#include "net/ServiceHosts.h"
#include "toolkit/AtomicFile.h"
#include "toolkit/DisplayText.h"
#include "toolkit/ListFile.h"
#include "toolkit/Misc.h"

#include <QFileInfo>

#include <unistd.h>

namespace qm {

std::string CleanDomainText(std::string_view boxText) {
    std::string d = Trim(boxText);
    for (const char *p : {"http://", "ftp://", "news://", "nntp://", "https://", "smtp://", "pop3://", "/"})
        d = TMisc::ReplaceAll(d, p, "");
    return d;
}

bool IsValidDomainDots(std::string_view domain) {
    const int dots = TMisc::CountChar(domain, '.');
    return dots == 1 || dots == 2;
}

std::string WhoisQueryOf(std::string_view boxText) { return TMisc::ReplaceChar(Trim(boxText), ' ', '+'); }

std::string PercentEncodeDomain(std::string_view domain) {
    static const char *hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : domain) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            out += char(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

bool IsPlainHostName(std::string_view domain) {
    if (domain.empty()) return false;
    for (unsigned char c : domain)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.'))
            return false;
    return true;
}

std::string WhoisGatewayAddress(std::string_view domain, std::string_view gateway) {
    std::string base = gateway.empty()
                           ? "http://" + ServiceHostFor("whois") + "/cgi-bin/proxy.cgi?targetnic=auto&query="
                           : std::string(gateway);
    return base + PercentEncodeDomain(domain);
}

std::optional<std::string> WhoisRegisterAddress(std::string_view domain, std::string_view page) {
    std::string address = page.empty() ? "http://" + ServiceHostFor("home") + "/" : std::string(page);
    const size_t at = address.find("<$DOMAIN>");
    if (at != std::string::npos) address.replace(at, 9, PercentEncodeDomain(domain));
    if (TMisc::FindNoCasePos(address, "http://") == 0 || TMisc::FindNoCasePos(address, "https://") == 0)
        return address;
    return std::nullopt;
}

std::vector<std::string> FilterWhoisText(std::string_view text) {
    enum class State { Text, Tag, InTag, Link, CloseByte };
    static constexpr std::string_view kOpen = "<a hr", kClose = "</a";
    std::vector<std::string> lines;
    std::string line;
    State state = State::Text;
    size_t matched = 0;  // bytes of kOpen (Tag) or kClose (Link) matched so far
    for (unsigned char c : text) {
        if (c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            continue;
        }
        if (c < 32 || c > 127) continue;
        switch (state) {
        case State::Text:
            if (c == '<') {
                state = State::Tag;
                matched = 1;
            } else {
                line += char(c);
            }
            break;
        case State::Tag:
            if (c == kOpen[matched]) {
                if (++matched == kOpen.size()) state = State::InTag;
            } else {
                state = State::Text;  // "<", the partial match and this byte are dropped
            }
            break;
        case State::InTag:
            if (c == '>') {
                state = State::Link;
                matched = 0;
            }
            break;
        case State::Link:
            if (c == kClose[matched]) {
                if (++matched == kClose.size()) state = State::CloseByte;
                break;
            }
            // Not the end of the link: what looked like it is text.
            line.append(kClose.substr(0, matched));
            matched = 0;
            if (c == kClose[0]) {
                matched = 1;
            } else {
                line += char(c);
            }
            break;
        case State::CloseByte:
            state = State::Text;
            break;
        }
    }
    if (state == State::Link) line.append(kClose.substr(0, matched));
    lines.push_back(std::move(line));
    return lines;
}

WhoisRecord ParseWhoisReply(std::string_view body) {
    WhoisRecord r;
    const size_t first = TMisc::FindNoCasePos(body, "<pre>");
    if (first == std::string_view::npos) return r;
    const size_t second = TMisc::FindNoCasePos(body, "<pre>", first + 5);
    if (second == std::string_view::npos) return r;
    const size_t start = second + 5;
    const size_t end = TMisc::FindNoCasePos(body, "</pre>", start);
    r.shown = true;
    r.lines = FilterWhoisText(body.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    for (const auto &l : r.lines)
        if (TMisc::FindNoCasePos(l, "unable") != std::string_view::npos) r.free = true;
    return r;
}

std::string ServerCheckLine(int error, int status, const std::string &reason, const std::vector<std::string> &headers,
                            const MessageFn &message) {
    std::string line;
    if (error != 0) {
        line.append("\t").append(Say(message, "Error")).append(" - ");
        line.append(Say(message, "Error - can't detect module(s) used"));
    } else if (status >= 200 && status <= 399) {
        for (const auto &h : headers) {
            const size_t at = TMisc::FindNoCasePos(h, "Server:");
            if (at != std::string::npos) return line.append(" : ").append(h, at + 7);
        }
        line.append("\t").append(Say(message, "No known module detect"));
    } else {
        line.append("\t").append(Say(message, "Error")).append(" - ").append(reason);
    }
    return line;
}

std::string WhoisCachePath(const std::string &cacheFolder, std::string_view boxText) {
    return ListFilePath(cacheFolder, WhoisQueryOf(boxText) + kWhoisCacheExtension);
}

bool SaveWhoisCache(const std::string &cacheFolder, std::string_view boxText, const std::vector<std::string> &lines) {
    std::string bytes;
    for (const auto &l : lines) bytes += l + "\r\n";
    return WriteFileAtomic(WhoisCachePath(cacheFolder, boxText), bytes);
}

bool LoadWhoisCache(const std::string &cacheFolder, std::string_view boxText, std::vector<std::string> &lines) {
    const std::string path = WhoisCachePath(cacheFolder, boxText);
    if (WhoisQueryOf(boxText).empty()) {
        if (TMisc::FileExists(path)) ::unlink(path.c_str());
        return false;
    }
    std::string bytes;
    if (!TMisc::FileExists(path) || !ReadWholeFile(path, bytes)) return false;
    StringList list;
    TMisc::SplitTextLines(bytes, list);
    // The line break after the last line is no line of its own.
    if (!list.empty() && list.back().empty() && !bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r'))
        list.pop_back();
    lines = std::move(list);
    return true;
}

// ---- WhoisLookup -------------------------------------------------------------------------

WhoisLookup::WhoisLookup(WhoisEnvironment env, QObject *parent) : QObject(parent), env_(std::move(env)) {}

WhoisLookup::~WhoisLookup() = default;

bool WhoisLookup::Checking() const { return check_ && check_->Busy(); }

void WhoisLookup::Shutdown() {
    gateway_.reset();  // a client destroyed drops its request without events
    check_.reset();
    SetRunning(false);
}

WhoisLookup::Start WhoisLookup::Lookup(const std::string &boxText) {
    const std::string domain = CleanDomainText(boxText);
    if (env_.setBoxText) env_.setBoxText(domain);
    if (!IsValidDomainDots(domain)) {
        if (env_.alert)
            env_.alert(Say(env_.message, "You must specify a valid domain name\n\n  Example :      mysite.example\n"));
        return Start::Invalid;
    }
    if (env_.pushHistory) env_.pushHistory();
    // A new lookup replaces the old one, its server check included: its answer would land in
    // this lookup's memo and cache.
    gateway_.reset();
    check_.reset();
    boxText_ = domain;
    buffer_.clear();
    SetLines({});
    last_ = Outcome{};
    last_.domain = Trim(domain);
    last_.query = WhoisQueryOf(domain);
    last_.request = WhoisGatewayAddress(last_.domain, env_.gatewayAddress ? env_.gatewayAddress() : std::string());
    SetRunning(true);

    gateway_ = std::make_unique<THttpCli>();
    THttpCli *c = gateway_.get();
    connect(c, &THttpCli::OnDocData, this, [this](THttpCli *, const char *data, qsizetype n) {
        buffer_.append(data, size_t(n));
    });
    connect(c, &THttpCli::OnRequestDone, this, [this](THttpCli *, HttpRequest, int error) { OnGatewayDone(error); });
    if (env_.configureClient) env_.configureClient(*c);
    c->URL = last_.request;
    if (!c->GetASync()) OnGatewayDone(HttpBadUrl);
    return Start::Started;
}

void WhoisLookup::OnGatewayDone(int error) {
    const bool ok = error == HttpOk && gateway_ && gateway_->ResponseStatus() / 100 == 2 && !buffer_.empty();
    if (gateway_) gateway_.release()->deleteLater();  // this runs inside its signal
    last_.record = ok ? ParseWhoisReply(buffer_) : WhoisRecord{};
    buffer_.clear();
    const WhoisRecord &record = last_.record;
    bool checking = false;
    if (record.shown && record.free) {
        SetLines({T("This domain does not appear to be registered...")});
        last_.registerAddress =
            WhoisRegisterAddress(last_.domain, env_.registerPage ? env_.registerPage() : std::string());
        SaveCache();
        const bool ask = !(env_.disableQuestion && env_.disableQuestion());
        if (ask && env_.ask &&
            env_.ask(T("This domain does not appear to be registered\n\n  Do you want to go ahead and register it?")) &&
            last_.registerAddress && env_.openInBrowser)
            env_.openInBrowser(*last_.registerAddress);
    } else if (record.shown) {
        SetLines(record.lines);
        lines_.emplace_back();
        lines_.emplace_back();
        lines_.push_back(T("Finding modules for : ") + " : " + last_.domain + " ...");
        lines_.emplace_back();
        emit linesChanged();
        if (IsPlainHostName(last_.domain)) {
            check_ = std::make_unique<THttpCli>();
            THttpCli *c = check_.get();
            connect(c, &THttpCli::OnRequestDone, this, [this](THttpCli *, HttpRequest, int e) { OnCheckDone(e); });
            if (env_.configureClient) env_.configureClient(*c);
            c->URL = "http://" + last_.domain;
            checking = c->HeadASync();
            if (!checking) check_.reset();
        }
        if (!checking) OnCheckDone(HttpBadUrl);  // never sent: reported as a transport error
    }
    // A transport error or a reply without two "<pre>" leaves the memo empty.
    SetRunning(false);
    emit gatewayDone();
    if (!checking) emit finished();
}

void WhoisLookup::OnCheckDone(int error) {
    int status = 0;
    std::string reason;
    std::vector<std::string> headers;
    if (check_) {
        status = check_->ResponseStatus();
        reason = check_->ResponseReason();
        headers = check_->ResponseHeaders();
        check_.release()->deleteLater();
    }
    const std::string line = ServerCheckLine(error, status, reason, headers, env_.message);
    last_.serverLine = line;
    Append(line);
    Append("");
    SaveCache();
    if (!running_) emit finished();
}

bool WhoisLookup::ShowCached(const std::string &boxText) {
    if (!env_.cacheFolder) return false;
    std::vector<std::string> lines;
    if (!LoadWhoisCache(env_.cacheFolder(), boxText, lines)) return false;
    if (running_) return false;
    SetLines(std::move(lines));
    return true;
}

void WhoisLookup::SetLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    emit linesChanged();
}

void WhoisLookup::Append(const std::string &line) {
    lines_.push_back(line);
    emit linesChanged();
}

void WhoisLookup::SaveCache() {
    if (!env_.cacheFolder) return;
    const std::string folder = env_.cacheFolder();
    if (SaveWhoisCache(folder, boxText_, lines_)) last_.cacheFile = WhoisCachePath(folder, boxText_);
}

void WhoisLookup::SetRunning(bool on) {
    if (running_ == on) return;
    running_ = on;
    emit runningChanged(on);
}

}  // namespace qm
