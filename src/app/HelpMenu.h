#pragma once
// The addresses of the main window's help menu ("?"): the home site, its tips and PRO
// pages (the French ones when French is the language), and the "Tell a friend" mail.
#include <string>
#include <string_view>

namespace qm {

// The product's home site: `$HOMESITE` of the applied remote configuration when it gave
// one, else the start page of the "home" service host.
std::string HomeSiteAddress();

enum class HelpPage { Home, Tips, Pro };
// "Homepage": the home site. "Help topics" and "Tips": its "/tips.htm", "/fr/tips.htm" for
// French (the language name compared ignoring case). "PRO Version": the home site, its
// "/fr/index.htm" for French.
std::string HelpPageAddress(HelpPage page, std::string_view language, const std::string &homeSite);

// The "mailto:" address of "Tell a friend": a placeholder recipient and a subject naming
// the home site, with "%20" for each blank (and "%", "&", "#" escaped as well, so a site
// address cannot cut the subject short).
std::string TellAFriendAddress(const std::string &homeSite);

}  // namespace qm
