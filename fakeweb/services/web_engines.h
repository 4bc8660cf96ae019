#pragma once
// The seventeen built-in web engines of the fake web: result pages that depend on the
// query, in the layout each engine's page readers expect, with further result pages.
#include <string>
#include <string_view>
#include <vector>

namespace qm::fakeweb::services {

// Where a sponsored engine's affiliate click leads: the absolute address of the engine's
// first result page on its own host. hostKey is the engine's service-host key
// ("netscape", "goto" or "infospace"); rawQuery is the query exactly as it stands in the
// click address (already URL-encoded). Empty for any other key.
std::string SponsoredLandingAddress(std::string_view hostKey, std::string_view rawQuery);

// The texts of the links the engines' pages hold besides their results (navigation,
// "add" and filter links, mirrors), which no reader may take for a result. Category
// links read "Top: " and a query word.
const std::vector<std::string> &DecoyLinkTexts();

}  // namespace qm::fakeweb::services
