#pragma once
// The fixed tables of the HTML text cleanup (CleanHtmlText, Misc.h).
#include <span>

namespace qm {

struct HtmlEntity {
    const char *name;
    char32_t character;   // 0: see `text`
    const char *text;     // replacement when it is not a single character
};

// The formatting tags removed wherever they occur, ignoring letter case, in order.
std::span<const char *const> HtmlFormattingTags();

// The named references, matched with exactly this case, in this order. Characters are
// Unicode; the Windows-1252 bytes 128 to 159 appear as the characters they stand for.
std::span<const HtmlEntity> HtmlEntities();

}  // namespace qm
