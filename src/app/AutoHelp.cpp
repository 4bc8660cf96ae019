#include "app/AutoHelp.h"

#include <cstdlib>

namespace qm {

namespace {

// A C-style atol: optional blanks and sign, leading digits, 0 when there are none.
int ToInt(const std::string &s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    long long v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        v = v * 10 + (s[i] - '0');
        if (v > 1000000000) break;
    }
    return static_cast<int>(negative ? -v : v);
}

}  // namespace

const char *HelpListKey(HelpPanel panel) {
    switch (panel) {
    case HelpPanel::Web: return "<#AUTOHELP_PANEL_WEB>";
    case HelpPanel::Smart: return "<#AUTOHELP_PANEL_SMART>";
    case HelpPanel::News: return "<#AUTOHELP_PANEL_NEWS>";
    case HelpPanel::Software: return "<#AUTOHELP_PANEL_PRG>";
    case HelpPanel::Catalogue: return "<#AUTOHELP_PANEL_CNET>";
    case HelpPanel::NetKit: return "<#AUTOHELP_PANEL_DNS>";
    case HelpPanel::Domain: return "<#AUTOHELP_PANEL_WHO>";
    case HelpPanel::DailyNews: return "<#AUTOHELP_PANEL_DNC>";
    case HelpPanel::Units: return "<#AUTOHELP_PANEL_UNIT>";
    case HelpPanel::Mp3: return "<#AUTOHELP_PANEL_MP3>";
    case HelpPanel::Count: break;
    }
    return "";
}

AutoHelp::AutoHelp() {
    for (int p = 0; p < kHelpPanelCount; ++p)
        lists_[static_cast<size_t>(p)].entries = DefaultList(static_cast<HelpPanel>(p));
}

void AutoHelp::SetList(HelpPanel panel, std::vector<std::string> entries) {
    List &l = lists_[static_cast<size_t>(panel)];
    l.entries = std::move(entries);
    l.index = 0;
    l.ticks = 0;
    l.displayTime = 0;
}

void AutoHelp::ShowText(HelpPanel panel, int i) {
    List &l = lists_[static_cast<size_t>(panel)];
    auto nothing = [&] {
        l.index = 0;
        if (show_) show_(panel, std::string());
    };
    if (i < 0 || i % 2 != 0 || i >= static_cast<int>(l.entries.size())) return nothing();
    // The list is read as pairs: a lone last text has no display time and is dropped.
    if (l.entries.size() % 2 != 0) l.entries.pop_back();
    // Dropping it may leave i past the end (a list replaced by a shorter one).
    if (i >= static_cast<int>(l.entries.size())) return nothing();
    l.index = i;
    l.displayTime = ToInt(l.entries[static_cast<size_t>(i) + 1]);
    l.ticks = 0;
    if (show_) show_(panel, l.entries[static_cast<size_t>(i)]);
}

void AutoHelp::RefreshAll() {
    for (int p = 0; p < kHelpPanelCount; ++p)
        ShowText(static_cast<HelpPanel>(p), lists_[static_cast<size_t>(p)].index);
}

void AutoHelp::Tick(bool disabled) {
    for (int p = 0; p < kHelpPanelCount; ++p) {
        auto panel = static_cast<HelpPanel>(p);
        List &l = lists_[static_cast<size_t>(p)];
        if (disabled) {
            ShowText(panel, 0);
            continue;
        }
        ++l.ticks;
        if (l.ticks <= l.displayTime) continue;
        if (l.entries.empty()) {
            l.index = 0;
            l.ticks = 0;
            continue;
        }
        l.index = (l.index + 2) % static_cast<int>(l.entries.size());
        ShowText(panel, l.index);
    }
}

std::vector<std::string> AutoHelp::DefaultList(HelpPanel panel) {
    switch (panel) {
    case HelpPanel::Web:
        return {"Type your query, then press Enter or the Search button: every engine is asked at once", "8",
                "The button beside Search chooses how the words are combined: all, any, exact phrase or boolean", "8",
                "Type words under the result list to select the matching results; click the count to move them to the top", "8",
                "Double-click a result to open it in your browser; the right mouse button offers more actions", "8"};
    case HelpPanel::Smart:
        return {"Walk through the categories to build a search without typing a single word", "8",
                "Press F5 at any time to go back to the web search", "6"};
    case HelpPanel::News:
        return {"Search the newsgroup articles: type your words and press Enter", "8",
                "Press F6 at any time to come back to the newsgroup search", "6"};
    case HelpPanel::Software:
        return {"Find software titles by name or by keyword", "8",
                "Press F9 at any time to come back to the software finder", "6"};
    case HelpPanel::Catalogue:
        return {"Pick a category, then a sub-category, and press Update to list its titles", "8",
                "Press F8 at any time to come back to the software catalogue", "6"};
    case HelpPanel::NetKit:
        return {"Ping a host, list your local addresses or resolve a host name", "8",
                "Press F10 at any time to come back to the Internet kit", "6"};
    case HelpPanel::Domain:
        return {"Type a domain name to see whether it is still free", "8",
                "Press F11 at any time to come back to the domain name search", "6"};
    case HelpPanel::DailyNews:
        return {"Pick a section of the news tree and press Update to read today's headlines", "8",
                "Press F7 at any time to come back to the daily news", "6"};
    case HelpPanel::Units:
        return {"Choose a category, type a value and read it in every other unit", "8"};
    case HelpPanel::Mp3:
        return {"Type the title or the artist you are looking for and press Enter", "8"};
    case HelpPanel::Count: break;
    }
    return {};
}

}  // namespace qm
