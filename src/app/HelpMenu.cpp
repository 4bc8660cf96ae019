#include "app/HelpMenu.h"

#include "net/ServiceHosts.h"
#include "service/RemoteConfig.h"
#include "toolkit/Misc.h"

#include <cstdio>

namespace qm {

namespace {

bool IsFrench(std::string_view language) { return SameTextNoCase(language, "French"); }

// The site without its trailing "/", so that a page is appended once.
std::string SiteBase(const std::string &homeSite) {
    std::string base = homeSite;
    while (!base.empty() && base.back() == '/') base.pop_back();
    return base;
}

std::string EscapeSubject(std::string_view text) {
    std::string out;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 32 || c >= 127 || c == '%' || c == '&' || c == '#') {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        } else {
            out += ch;
        }
    }
    return out;
}

}  // namespace

std::string HomeSiteAddress() {
    const std::string &configured = CurrentServiceConfig().homeSite;
    return configured.empty() ? "http://" + ServiceHostFor("home") + "/" : configured;
}

std::string HelpPageAddress(HelpPage page, std::string_view language, const std::string &homeSite) {
    const bool french = IsFrench(language);
    switch (page) {
    case HelpPage::Tips:
        return SiteBase(homeSite) + (french ? "/fr/tips.htm" : "/tips.htm");
    case HelpPage::Pro:
        return french ? SiteBase(homeSite) + "/fr/index.htm" : homeSite;
    case HelpPage::Home:
    default:
        return homeSite;
    }
}

std::string TellAFriendAddress(const std::string &homeSite) {
    return "mailto:your.friend@example.com?Subject=" +
           EscapeSubject("I found a great search tool at " + homeSite);
}

}  // namespace qm
