#pragma once
// Turns the typed query and an engine's search mode into that engine's request address.
#include "search/EngineDescriptor.h"

#include <string>
#include <string_view>

namespace qm {

struct ExpandedQuery {
    std::string query;     // the expanded query (put into the address encoded, see below)
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

// The expanded query as it goes into an address: bytes above 127 and "&", "#", "%", "=", "?"
// become "%XX" (upper-case hex), so a typed "&" or "#" no longer cuts the query and UTF-8
// letters travel as escapes. Every other byte stays, the "+" of the blanks (and a typed
// "+", which cannot be told apart from them) included.
std::string EncodeQueryForAddress(std::string_view expanded);

// `tmpl` with its first "<$QRY>" replaced by the encoded `expanded` query: the one way a
// query is put into an engine's address.
std::string QueryAddress(std::string_view tmpl, std::string_view expanded);

}  // namespace qm
