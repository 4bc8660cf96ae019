#pragma once
// The search mode shared by every search page: how the typed words are combined.
#include <cstdint>

namespace qm {

enum class SearchMode : std::uint8_t { All = 0, Any = 1, Exact = 2, Bool = 3 };

inline constexpr int kSearchModeCount = 4;

// Caption of the mode's menu item ("All Keywords", "Any word", ...).
const char *SearchModeCaption(SearchMode mode);

}  // namespace qm
