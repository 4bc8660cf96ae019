#pragma once
// Language files: the list of languages, the key pass (ApplyLanguage) and the block pass
// (ApplyLanguageBlocks) over a display-free record of every replaceable text. Windows take
// their captions from a `LanguageTexts`; the CLI prints it.
//
// Every application starts from the built-in English texts, so a key, alert or help list
// the file lacks shows the English text (an alert whose block is missing is emptied). An
// absent or unreadable file changes no text. Texts are UTF-8: the file's bytes are decoded
// once, by its "$CHARSET" (see DecodeLanguageBytes).
#include "settings/MessageTable.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// One key line of the key list and its built-in English text.
struct LanguageKey {
    const char *key;
    const char *english;
};
// Every key of the key list, in list order ("$CHARSET" and the font keys included: their
// texts are the file's; the character set itself is `LanguageTexts::charset`).
const std::vector<LanguageKey> &LanguageKeyList();

// The six alert blocks, in message-table order, and the ten help lists.
inline constexpr int kHelpListCount = 10;
// "<#AUTOHELP_PANEL_WEB>", "_NEWS", "_PRG", "_CNET", "_DNS", "_WHO", "_DNC", "_UNIT", "_SMART", "_MP3".
const std::array<const char *, kHelpListCount> &HelpListKeys();
// The built-in English help list of a key (text, seconds, text, ...); empty for an unknown key.
const std::vector<std::string> &BuiltInHelpList(std::string_view key);

// "$CHARSET" to text decoding: 161, 162, 177, 178, 186, 204, 238, 222 read the file as
// Windows code pages 1253, 1254, 1255, 1256, 1257, 1251, 1250, 874; every other value (0,
// 1, absent, 163, the East Asian sets) keeps the display rule (UTF-8 when valid, else 1252).
int CodePageOfCharset(int charset);  // 0 for the display rule
std::string DecodeLanguageBytes(std::string_view bytes, int charset);

// Country defaults chosen by a language name (ignoring case): news "US", "FR", "DE", "ES",
// "NL" or "" (unchanged); road "US", "FR" or "".
struct LanguageCountries {
    std::string news, road;
};
LanguageCountries CountriesForLanguage(std::string_view language);

struct FontChoice {
    std::string name;  // empty: unchanged
    int size = 0;      // 0: unchanged
};

// Captions that repeat another caption (step 5 of the key pass).
struct DerivedCaptions {
    std::string optionsTitle;          // options window title = options button
    std::string newsSearchButton;      // = web search button
    std::string softwareSearchButton;  // = web search button
    std::array<std::string, 7> cacheTypes;       // 0-4 "$W_RGC_...", 5-6 side-bar items 5, 6
    std::array<std::string, 13> startupEntries;  // side-bar items 0-12, separators empty
};

class LanguageTexts {
public:
    LanguageTexts() { Reset(); }
    // Back to the built-in English texts.
    void Reset();

    // The text of a key of the key list (ignoring case); empty for an unknown key.
    const std::string &Text(std::string_view key) const;
    bool Has(std::string_view key) const;
    // Side-bar caption by position (0-15); separators (1, 7, 12) are empty.
    std::string SideBarCaption(int position) const;
    DerivedCaptions Derived() const;

    std::string language = "English";  // last name applied
    bool fileRead = false;              // the last pass read its file
    MessageTable messages;
    std::array<std::vector<std::string>, kHelpListCount> help;  // HelpListKeys() order
    int charset = 1;
    FontChoice searchBar, favBar, optionBar;
    LanguageCountries countries;

private:
    void TakeFonts();  // the three fonts from their keys' texts
    friend bool ApplyLanguageFile(LanguageTexts &, const std::string &, std::string_view);
    std::vector<std::string> texts_;  // LanguageKeyList() order
};

// The file of a language: folder + "/" + name + ".language", or the listed file whose
// name matches ignoring case. Nothing for a name holding "/" or without a file.
std::optional<std::string> LanguageFilePath(const std::string &folder, std::string_view name);

// The key pass: countries by the name (even without a file), then, when the file can be
// read, every text back to English and every key line applied (a later line wins).
// Returns whether the file was read.
bool ApplyLanguage(LanguageTexts &t, const std::string &folder, std::string_view name);
// The same on a file path (the language name is given apart).
bool ApplyLanguageFile(LanguageTexts &t, const std::string &path, std::string_view name);
// The block pass: the six alerts (a missing block empties the alert) and the ten help
// lists (a missing list is the English one).
bool ApplyLanguageBlocks(LanguageTexts &t, const std::string &folder, std::string_view name);
bool ApplyLanguageBlocksFile(LanguageTexts &t, const std::string &path);

}  // namespace qm
