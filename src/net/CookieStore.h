#pragma once
// The program's own cookie store: cookies received from the affiliate network (and the
// banner service) kept per host in one file of the data root, readable by its owner only.
// A search never depends on it; engines send the cookie header they collected themselves.
#include <string>
#include <vector>

namespace qm {

class CookieStore {
public:
    struct Cookie {
        std::string host;   // lower case, the request's host or the cookie's domain
        std::string path;   // "/" when not given
        std::string name;
        std::string value;
    };

    // `file` empty: kept in memory only. An existing file is read at once.
    explicit CookieStore(std::string file = {});

    // Stores one Set-Cookie text received for `url` (replacing a cookie of the same host,
    // path and name) and writes the file. False when the text holds no cookie name.
    bool Store(const std::string &url, const std::string &setCookie);

    // "name=value; name=value" for the cookies that apply to `url`.
    std::string HeaderFor(const std::string &url) const;

    const std::vector<Cookie> &Cookies() const { return cookies_; }
    const std::string &File() const { return file_; }

    // Splits a Set-Cookie text into its "name=value" part and its attributes.
    static bool ParseSetCookie(const std::string &text, Cookie &out);
    // Host of an http(s) address in lower case, without port; empty when none.
    static std::string HostOf(const std::string &url);

private:
    bool Save() const;
    void Load();

    std::string file_;
    std::vector<Cookie> cookies_;
};

// The file name of the cookie store in a data root.
std::string CookieFileIn(const std::string &dataRoot);

}  // namespace qm
