#include "net/CookieStore.h"

#include "toolkit/AtomicFile.h"

namespace qm {

namespace {

std::string Lower(std::string s) {
    for (char &c : s)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    return s;
}

std::string TrimBlanks(const std::string &s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n')) --e;
    return s.substr(b, e - b);
}

bool Clean(const std::string &s) {
    for (char c : s)
        if (c == '\t' || c == '\n' || c == '\r') return false;
    return true;
}

std::string PathOf(const std::string &url) {
    size_t scheme = url.find("://");
    size_t start = scheme == std::string::npos ? 0 : scheme + 3;
    size_t slash = url.find('/', start);
    if (slash == std::string::npos) return "/";
    size_t end = url.find_first_of("?#", slash);
    return url.substr(slash, end == std::string::npos ? std::string::npos : end - slash);
}

bool DomainMatches(const std::string &host, const std::string &domain) {
    if (host == domain) return true;
    return host.size() > domain.size() && host.compare(host.size() - domain.size(), domain.size(), domain) == 0 &&
           host[host.size() - domain.size() - 1] == '.';
}

}  // namespace

std::string CookieFileIn(const std::string &dataRoot) {
    if (dataRoot.empty()) return {};
    return dataRoot + (dataRoot.back() == '/' ? "" : "/") + "Cookies.txt";
}

CookieStore::CookieStore(std::string file) : file_(std::move(file)) { Load(); }

std::string CookieStore::HostOf(const std::string &url) {
    size_t scheme = url.find("://");
    if (scheme == std::string::npos) return {};
    size_t start = scheme + 3;
    size_t end = url.find_first_of("/?#", start);
    std::string authority = url.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (auto at = authority.rfind('@'); at != std::string::npos) authority = authority.substr(at + 1);
    if (auto colon = authority.find(':'); colon != std::string::npos) authority = authority.substr(0, colon);
    return Lower(authority);
}

bool CookieStore::ParseSetCookie(const std::string &text, Cookie &out) {
    size_t semi = text.find(';');
    std::string pair = TrimBlanks(text.substr(0, semi));
    size_t eq = pair.find('=');
    if (eq == std::string::npos) return false;
    out.name = TrimBlanks(pair.substr(0, eq));
    out.value = TrimBlanks(pair.substr(eq + 1));
    if (out.name.empty() || !Clean(out.name) || !Clean(out.value)) return false;
    while (semi != std::string::npos) {
        size_t next = text.find(';', semi + 1);
        std::string attr = TrimBlanks(text.substr(semi + 1, next == std::string::npos ? std::string::npos : next - semi - 1));
        size_t aeq = attr.find('=');
        std::string key = Lower(TrimBlanks(attr.substr(0, aeq)));
        std::string val = aeq == std::string::npos ? std::string() : TrimBlanks(attr.substr(aeq + 1));
        if (key == "path" && !val.empty() && val[0] == '/' && Clean(val)) out.path = val;
        if (key == "domain" && !val.empty() && Clean(val)) out.host = Lower(val[0] == '.' ? val.substr(1) : val);
        semi = next;
    }
    return true;
}

bool CookieStore::Store(const std::string &url, const std::string &setCookie) {
    Cookie c;
    if (!ParseSetCookie(setCookie, c)) return false;
    const std::string host = HostOf(url);
    if (host.empty()) return false;
    // A domain attribute is taken only when it covers the host that set the cookie.
    if (c.host.empty() || !DomainMatches(host, c.host)) c.host = host;
    if (c.path.empty()) c.path.push_back('/');
    // Other stores of the program may have written the file since it was read (the web
    // search, the smart finder and the banner bar each keep one): start from what it holds.
    if (!file_.empty()) {
        cookies_.clear();
        Load();
    }
    bool replaced = false;
    for (auto &old : cookies_)
        if (old.host == c.host && old.path == c.path && old.name == c.name) {
            old.value = c.value;
            replaced = true;
        }
    if (!replaced) cookies_.push_back(c);
    Save();
    return true;
}

std::string CookieStore::HeaderFor(const std::string &url) const {
    const std::string host = HostOf(url), path = PathOf(url);
    std::string header;
    for (const auto &c : cookies_) {
        if (!DomainMatches(host, c.host) || path.compare(0, c.path.size(), c.path) != 0) continue;
        if (!header.empty()) header += "; ";
        header += c.name + "=" + c.value;
    }
    return header;
}

bool CookieStore::Save() const {
    if (file_.empty()) return true;
    std::string bytes;
    for (const auto &c : cookies_) bytes += c.host + "\t" + c.path + "\t" + c.name + "\t" + c.value + "\n";
    return WriteFileAtomic(file_, bytes, /*ownerOnly=*/true);
}

void CookieStore::Load() {
    std::string bytes;
    if (file_.empty() || !ReadWholeFile(file_, bytes)) return;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t nl = bytes.find('\n', pos);
        std::string line = bytes.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        pos = nl == std::string::npos ? bytes.size() : nl + 1;
        Cookie c;
        size_t t1 = line.find('\t'), t2 = line.find('\t', t1 + 1), t3 = line.find('\t', t2 + 1);
        if (t1 == std::string::npos || t2 == std::string::npos || t3 == std::string::npos) continue;
        c.host = line.substr(0, t1);
        c.path = line.substr(t1 + 1, t2 - t1 - 1);
        c.name = line.substr(t2 + 1, t3 - t2 - 1);
        c.value = line.substr(t3 + 1);
        if (!c.host.empty() && !c.name.empty()) cookies_.push_back(c);
    }
}

}  // namespace qm
