#pragma once
// One built-in search engine: how to address it in every search mode, which page readers
// understand its answers, and whether it is reached through the affiliate network.
// Vertical searches use the same record with the fields they need.
#include "search/SearchMode.h"

#include <string>

namespace qm {

// The text in an address template that the expanded query replaces.
inline constexpr const char *kQueryPlaceholder = "<$QRY>";

struct EngineDescriptor {
    int selector = 0;            // page-reader selector
    bool defaultEnabled = true;  // takes part in searches unless the options say otherwise
    std::string name;            // shown in the options and in the "Source" column
    std::string templateAll;     // request address per search mode, each holding "<$QRY>"
    std::string templateAny;
    std::string templateExact;
    std::string templateBool;
    std::string homePage;        // the engine's own site
    std::string sponsoredServe;  // sponsored engines: the address fetched first
    std::string sponsoredClick;  // sponsored engines: the click address template
    SearchMode mode = SearchMode::All;

    bool IsSponsored() const { return !sponsoredClick.empty(); }
};

}  // namespace qm
