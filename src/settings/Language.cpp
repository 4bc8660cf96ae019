#include "settings/Language.h"

#include <iconv.h>

#include <cerrno>
#include <map>

#include "settings/DataRoot.h"
#include "settings/KeyValue.h"
#include "settings/Opt.h"
#include "toolkit/AtomicFile.h"
#include "toolkit/DisplayText.h"
#include "toolkit/Misc.h"

namespace qm {

namespace {

const LanguageKey kKeys[] = {
#include "settings/LanguageKeys.inc"
};

const std::string kEmpty;

// Key index by upper-cased key.
const std::map<std::string, size_t> &KeyIndex() {
    static const std::map<std::string, size_t> index = [] {
        std::map<std::string, size_t> m;
        for (size_t i = 0; i < std::size(kKeys); ++i) {
            std::string k = kKeys[i].key;
            for (char &c : k) c = char(std::toupper(static_cast<unsigned char>(c)));
            m.emplace(k, i);
        }
        return m;
    }();
    return index;
}

std::optional<size_t> IndexOf(std::string_view key) {
    std::string k(key);
    for (char &c : k) c = char(std::toupper(static_cast<unsigned char>(c)));
    auto it = KeyIndex().find(k);
    if (it == KeyIndex().end()) return std::nullopt;
    return it->second;
}

// Side-bar positions and their keys; separators have none.
constexpr const char *kSideBarKeys[16] = {
    "$BT_SMART",      "", "$BT_FIND_WEB",   "$BT_FIND_NEWS", "$BT_FIND_WARE",   "$MNU_EXTRA_FORUM",
    "$MNU_EXTRA_MP3", "", "$BT_EXTRA_DNC",  "$BT_UNITS",     "$BT_CURRENCY",    "$MNU_EXTRA_ROAD",
    "",               "$BT_FIND_CNET",      "$BT_EXTRA_NETKIT", "$BT_EXTRA_WHOIS"};

bool ReadLanguageLines(const std::string &path, std::vector<std::string> &lines, int &charset) {
    std::string bytes;
    if (!TMisc::FileExists(path) || !ReadWholeFile(path, bytes)) return false;
    const std::vector<std::string> raw = kv::Lines(bytes);
    // The character set is read from the bytes as they are (the key and number are ASCII).
    charset = 1;
    std::string value;
    for (const auto &line : raw)
        if (KeyValue(line, "$CHARSET", value)) charset = kv::ToInt(value);
    if (charset == 0) charset = 1;
    lines = kv::Lines(DecodeLanguageBytes(bytes, charset));
    return true;
}

std::vector<std::string> BlockLines(const std::vector<std::string> &lines, std::string_view key, bool &found) {
    StringList out;
    found = TMisc::ReadBlockLines(lines, key, out);
    return std::vector<std::string>(out.begin(), out.end());
}

}  // namespace

const std::vector<LanguageKey> &LanguageKeyList() {
    static const std::vector<LanguageKey> list(std::begin(kKeys), std::end(kKeys));
    return list;
}

const std::array<const char *, kHelpListCount> &HelpListKeys() {
    static const std::array<const char *, kHelpListCount> keys = {
        "<#AUTOHELP_PANEL_WEB>", "<#AUTOHELP_PANEL_NEWS>", "<#AUTOHELP_PANEL_PRG>",  "<#AUTOHELP_PANEL_CNET>",
        "<#AUTOHELP_PANEL_DNS>", "<#AUTOHELP_PANEL_WHO>",  "<#AUTOHELP_PANEL_DNC>",  "<#AUTOHELP_PANEL_UNIT>",
        "<#AUTOHELP_PANEL_SMART>", "<#AUTOHELP_PANEL_MP3>"};
    return keys;
}

const std::vector<std::string> &BuiltInHelpList(std::string_view key) {
    // The help texts of the English file compiled into the program.
    static const std::array<std::vector<std::string>, kHelpListCount> lists = [] {
        std::array<std::vector<std::string>, kHelpListCount> out;
        for (const auto &f : BundledResources()) {
            if (f.relativePath != "Language/English.language") continue;
            const auto lines = kv::Lines(DecodeLanguageBytes(f.bytes, 1));
            bool found = false;
            for (int i = 0; i < kHelpListCount; ++i) out[size_t(i)] = BlockLines(lines, HelpListKeys()[size_t(i)], found);
        }
        return out;
    }();
    static const std::vector<std::string> none;
    for (int i = 0; i < kHelpListCount; ++i)
        if (SameTextNoCase(HelpListKeys()[size_t(i)], key)) return lists[size_t(i)];
    return none;
}

int CodePageOfCharset(int charset) {
    switch (charset) {
    case 161: return 1253;  // Greek
    case 162: return 1254;  // Turkish
    case 177: return 1255;  // Hebrew
    case 178: return 1256;  // Arabic
    case 186: return 1257;  // Baltic
    case 204: return 1251;  // Cyrillic
    case 238: return 1250;  // Central European
    case 222: return 874;   // Thai
    default: return 0;
    }
}

std::string DecodeLanguageBytes(std::string_view bytes, int charset) {
    const int page = CodePageOfCharset(charset);
    if (page == 0) return TypedText(DisplayText(bytes));
    const std::string name = "CP" + std::to_string(page);
    iconv_t cd = iconv_open("UTF-8", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return TypedText(DisplayText(bytes));
    std::string out;
    out.resize(bytes.size() * 4 + 16);
    char *in = const_cast<char *>(bytes.data());
    size_t inLeft = bytes.size();
    char *dst = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<size_t>(-1)) break;
        if (errno == EILSEQ || errno == EINVAL) {  // a byte the page leaves undefined
            if (outLeft < 3) break;
            *dst++ = char(0xEF), *dst++ = char(0xBF), *dst++ = char(0xBD);  // U+FFFD
            outLeft -= 3;
            ++in, --inLeft;
        } else {
            break;
        }
    }
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

LanguageCountries CountriesForLanguage(std::string_view language) {
    struct Row {
        const char *name, *news, *road;
    };
    static constexpr Row rows[] = {{"French", "FR", "FR"},  {"English", "US", "US"}, {"German", "DE", "US"},
                                   {"Spanish", "ES", "US"}, {"Dutch", "NL", "US"},   {"Swedish", "", "US"}};
    for (const auto &r : rows)
        if (SameTextNoCase(language, r.name)) return {r.news, r.road};
    return {};
}

void LanguageTexts::Reset() {
    texts_.clear();
    for (const auto &k : kKeys) texts_.emplace_back(k.english);
    messages.ResetToDefaults();
    for (int i = 0; i < kHelpListCount; ++i) help[size_t(i)] = BuiltInHelpList(HelpListKeys()[size_t(i)]);
    charset = 1;
    TakeFonts();
}

void LanguageTexts::TakeFonts() {
    searchBar = {Text("$SEARCHBAR.Font.Name"), kv::ToInt(Text("$SEARCHBAR.Font.Size"))};
    favBar = {Text("$FAVBAR.Font.Name"), kv::ToInt(Text("$FAVBAR.Font.Size"))};
    optionBar = {Text("$OPTIONBAR.Font.Name"), kv::ToInt(Text("$OPTIONBAR.Font.Size"))};
}

const std::string &LanguageTexts::Text(std::string_view key) const {
    auto i = IndexOf(key);
    return i ? texts_[*i] : kEmpty;
}

bool LanguageTexts::Has(std::string_view key) const { return IndexOf(key).has_value(); }

std::string LanguageTexts::SideBarCaption(int position) const {
    if (position < 0 || position >= 16 || !*kSideBarKeys[position]) return {};
    return Text(kSideBarKeys[position]);
}

DerivedCaptions LanguageTexts::Derived() const {
    DerivedCaptions d;
    d.optionsTitle = Text("$BT_MNU_OPT");
    d.newsSearchButton = d.softwareSearchButton = Text("$BT_WEB");
    const char *types[5] = {"$W_RGC_WEB", "$W_RGC_NEWS", "$W_RGC_PRG", "$W_RGC_NETKIT", "$W_RGC_WHOIS"};
    for (int i = 0; i < 5; ++i) d.cacheTypes[size_t(i)] = Text(types[i]);
    d.cacheTypes[5] = SideBarCaption(5);
    d.cacheTypes[6] = SideBarCaption(6);
    for (int i = 0; i < 13; ++i) d.startupEntries[size_t(i)] = SideBarCaption(i);
    return d;
}

std::optional<std::string> LanguageFilePath(const std::string &folder, std::string_view name) {
    if (name.empty() || name.find('/') != std::string_view::npos || name.find('\0') != std::string_view::npos)
        return std::nullopt;
    if (auto found = FindLanguage(folder, name)) return folder + "/" + *found + ".language";
    return std::nullopt;
}

bool ApplyLanguageFile(LanguageTexts &t, const std::string &path, std::string_view name) {
    t.language = std::string(name);
    t.countries = CountriesForLanguage(name);
    std::vector<std::string> lines;
    int charset = 1;
    t.fileRead = ReadLanguageLines(path, lines, charset);
    if (!t.fileRead) return false;
    t.Reset();
    t.charset = charset;
    std::string value;
    // Every line against every key: a line whose key holds another key sets both, and the
    // later line wins.
    for (const auto &line : lines) {
        if (line.find('$') == std::string::npos) continue;
        for (size_t i = 0; i < std::size(kKeys); ++i)
            if (KeyValue(line, kKeys[i].key, value)) t.texts_[i] = value;
    }
    t.TakeFonts();
    for (int m = 0; m < kMessageCount; ++m) {
        std::string_view key = MessageTable::LanguageKey(Msg(m));
        if (!key.empty() && key[0] == '$') t.messages.Set(Msg(m), t.Text(key));
    }
    return true;
}

bool ApplyLanguage(LanguageTexts &t, const std::string &folder, std::string_view name) {
    auto path = LanguageFilePath(folder, name);
    if (!path) return ApplyLanguageFile(t, std::string(), name);
    return ApplyLanguageFile(t, *path, *FindLanguage(folder, name));
}

bool ApplyLanguageBlocksFile(LanguageTexts &t, const std::string &path) {
    std::vector<std::string> lines;
    int charset = 1;
    if (!ReadLanguageLines(path, lines, charset)) return false;
    for (int m = 0; m < kMessageCount; ++m) {
        std::string_view key = MessageTable::LanguageKey(Msg(m));
        if (!key.empty() && key[0] == '<') t.messages.Set(Msg(m), TMisc::ReadBlock(lines, key));
    }
    for (int i = 0; i < kHelpListCount; ++i) {
        bool found = false;
        auto list = BlockLines(lines, HelpListKeys()[size_t(i)], found);
        t.help[size_t(i)] = found ? std::move(list) : BuiltInHelpList(HelpListKeys()[size_t(i)]);
    }
    return true;
}

bool ApplyLanguageBlocks(LanguageTexts &t, const std::string &folder, std::string_view name) {
    auto path = LanguageFilePath(folder, name);
    return path && ApplyLanguageBlocksFile(t, *path);
}

}  // namespace qm
