#pragma once
// Turns the typed query and an engine's search mode into that engine's request address.
#include "search/EngineDescriptor.h"

#include <string>
#include <string_view>

namespace qm {

struct ExpandedQuery {
    std::string query;     // the text that replaced "<$QRY>"
    std::string tmpl;      // the template chosen for the mode
    std::string address;   // first request address (empty for a sponsored engine)
    bool sponsored = false;
    std::string serve;     // sponsored engines: the serve address
    std::string click;     // sponsored engines: the click address (template with the query put in)
};

// The query as typed into a query box, made ready for expansion: leading and trailing
// blanks removed, every remaining blank (code 32) replaced by "+". Nothing else changes.
std::string PrepareQuery(std::string_view typed);

// Expands `query` (already prepared) for `engine`, by the engine's own mode.
ExpandedQuery ExpandQuery(const EngineDescriptor &engine, std::string_view query);

// The mode-dependent part alone: the text that replaces "<$QRY>".
std::string ExpandQueryText(SearchMode mode, std::string_view query);

// `text` with its first "<$QRY>" (letters in either case) replaced by `value`; later
// occurrences stay as they are.
std::string ReplaceQueryPlaceholder(std::string_view text, std::string_view value);

}  // namespace qm
