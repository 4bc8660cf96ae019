#pragma once
// The rotating one-line help of each page: ten lists of (help text, display time in
// seconds) pairs, advanced by the one-second housekeeping tick.
#include <array>
#include <functional>
#include <string>
#include <vector>

namespace qm {

// One list per page that has a help panel, in the order the language files name them.
enum class HelpPanel : int {
    Web, Smart, News, Software, Catalogue, NetKit, Domain, DailyNews, Units, Mp3, Count
};
inline constexpr int kHelpPanelCount = static_cast<int>(HelpPanel::Count);

// Key of the help-list block in a language file, e.g. "<#AUTOHELP_PANEL_WEB>".
const char *HelpListKey(HelpPanel panel);

class AutoHelp {
public:
    // Puts a text on a page's help panel (an empty text clears it).
    using ShowFn = std::function<void(HelpPanel, const std::string &)>;

    struct List {
        std::vector<std::string> entries;  // help text, display time, help text, ...
        int index = 0;                     // entry shown now (even)
        int ticks = 0;                     // ticks since it was shown
        int displayTime = 0;               // seconds it stays
    };

    AutoHelp();

    void SetShow(ShowFn fn) { show_ = std::move(fn); }

    // Replaces a page's list (language files); the panel keeps its text until next shown.
    void SetList(HelpPanel panel, std::vector<std::string> entries);
    const List &Get(HelpPanel panel) const { return lists_[static_cast<size_t>(panel)]; }

    // Shows help text number i of a page's list and restarts its display time.
    void ShowText(HelpPanel panel, int i);
    // Restarts a page's help at its first text (page switch).
    void Restart(HelpPanel panel) { ShowText(panel, 0); }
    // Shows the current text of every list again (after a language change).
    void RefreshAll();

    // One housekeeping tick. With `disabled` every page shows its first text.
    void Tick(bool disabled);

    // Built-in English help, used until a language file provides its lists.
    static std::vector<std::string> DefaultList(HelpPanel panel);

private:
    std::array<List, kHelpPanelCount> lists_;
    ShowFn show_;
};

}  // namespace qm
