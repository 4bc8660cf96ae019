#include "engines/web/TemplateDefinition.h"
#include "toolkit/AtomicFile.h"

#include <ostream>

#include "search/ExpandQuery.h"
#include "settings/DataRoot.h"
#include "settings/KeyValue.h"
#include "toolkit/Misc.h"

namespace qm {

namespace {

constexpr const char *kTokenNames[] = {"[TRASH]", "[BASEURL]", "[URL]", "[TITLE]", "[TEXT]", "[LOCATION]"};
constexpr SegmentKind kTokenKinds[] = {SegmentKind::None, SegmentKind::BaseLink, SegmentKind::Link,
                                       SegmentKind::Title, SegmentKind::Text, SegmentKind::Location};

// Index into kTokenNames, or -1 for a bracketed word that is not a token. Blanks inside
// the brackets do not count: "[ URL ]" is "[URL]".
int TokenIndex(std::string_view token) {
    if (token.size() < 2) return -1;
    std::string t = "[" + Trim(token.substr(1, token.size() - 2)) + "]";
    for (int i = 0; i < 6; ++i)
        if (SameTextNoCase(t, kTokenNames[i])) return i;
    return -1;
}

// Tab, CR and LF never take part in matching a page, so a landmark holding one could never
// be found: they are left out of literal text.
bool IsLineByte(char c) { return c == '\t' || c == '\r' || c == '\n'; }

std::string Quoted(std::string_view text, size_t max = 40) {
    std::string out = "\"";
    if (text.size() > max) {
        out.append(text.substr(0, max));
        out += "...";
    } else {
        out.append(text);
    }
    out += "\"";
    return out;
}

}  // namespace

void PrintTo(const TemplateSegment &segment, std::ostream *os) {
    *os << "{" << int(segment.kind) << ", \"" << segment.text << "\"}";
}

TemplateSegments CompileTemplate(std::string_view text, std::vector<std::string> *notes, std::string_view what) {
    if (text.size() > kMaxTemplateLength) {
        if (notes)
            notes->push_back(std::string(what) + " is longer than " + std::to_string(kMaxTemplateLength) +
                             " characters; the last " + std::to_string(text.size() - kMaxTemplateLength) +
                             " characters were left out: " + Quoted(text.substr(kMaxTemplateLength)));
        text = text.substr(0, kMaxTemplateLength);
    }

    TemplateSegments segs;
    SegmentKind lastKind = SegmentKind::None;
    std::string literal;  // literal text since the last token
    std::string token;    // the bracketed word being read, "[" included
    bool inToken = false;

    auto emit = [&](SegmentKind kind, std::string segText) {
        segs.push_back({kind, std::move(segText)});
        lastKind = kind;
    };

    for (char c : text) {
        if (!inToken) {
            if (c == '[') {
                inToken = true;
                token = "[";
            } else if (!IsLineByte(c)) {
                literal += c;
            }
            continue;
        }
        if (c == '[') {
            // A bracket inside a bracketed word: what came before is plain text.
            literal += token;
            token = "[";
            continue;
        }
        token += c;
        if (c != ']') continue;
        inToken = false;
        int idx = TokenIndex(token);
        if (idx < 0) {
            // Not a token: the bracketed word stays part of the literal text.
            for (char t : token)
                if (!IsLineByte(t)) literal += t;
            continue;
        }
        if (!literal.empty()) emit(SegmentKind::Skip, std::move(literal));
        literal.clear();
        if (kTokenKinds[idx] != SegmentKind::None) emit(kTokenKinds[idx], {});
    }
    if (inToken) {
        // An unfinished bracketed word at the end is dropped; the literal before it is
        // still sought.
        if (!literal.empty()) emit(SegmentKind::Skip, std::move(literal));
    } else {
        emit(lastKind, std::move(literal));
    }

    // A segment without an end landmark takes the landmark of the segment after it, which
    // disappears; the last segment keeps whatever it has.
    for (size_t i = 0; i + 1 < segs.size(); ++i) {
        while (i + 1 < segs.size() && segs[i].text.empty()) {
            segs[i].text = std::move(segs[i + 1].text);
            segs.erase(segs.begin() + static_cast<std::ptrdiff_t>(i) + 1);
        }
    }
    // A template with nothing in it has nothing to match.
    if (segs.size() == 1 && segs[0].text.empty() && segs[0].kind == SegmentKind::None) segs.clear();

    if (segs.size() > kMaxTemplateSegments) {
        if (notes) {
            std::string rest;
            for (size_t i = kMaxTemplateSegments; i < segs.size(); ++i) rest += segs[i].text;
            notes->push_back(std::string(what) + " has " + std::to_string(segs.size()) + " parts, more than " +
                             std::to_string(kMaxTemplateSegments) + "; the parts from landmark " +
                             Quoted(segs[kMaxTemplateSegments].text) + " on were left out");
        }
        segs.resize(kMaxTemplateSegments);
    }
    return segs;
}

const std::string &TWebBot::AddressFor(SearchMode m) const {
    switch (m) {
        case SearchMode::Any: return anyUrl;
        case SearchMode::Exact: return exactUrl;
        case SearchMode::Bool: return boolUrl;
        case SearchMode::All:
        default: return allUrl;
    }
}

std::string TWebBot::RequestAddress(std::string_view expandedQuery) const {
    return TMisc::ReplaceFirst(AddressFor(mode), "[QRY]", EncodeQueryForAddress(expandedQuery));
}

StringLines SplitGroupLines(std::string_view bytes) {
    StringLines lines;
    std::string line;
    bool any = false;
    for (char c : bytes) {
        any = true;
        if (c == '\r') continue;
        if (c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            continue;
        }
        if (line.size() < kMaxGroupLineLength) line += c;
    }
    if (any) lines.push_back(std::move(line));
    return lines;
}

void ResolveAddresses(TWebBot &bot) {
    bot.allUrl = TMisc::ReplaceFirst(bot.allUrl, "[ANYURL]", bot.anyUrl);
    bot.allUrl = TMisc::ReplaceFirst(bot.allUrl, "[BOOLURL]", bot.boolUrl);
    bot.allUrl = TMisc::ReplaceFirst(bot.allUrl, "[EXACTURL]", bot.exactUrl);

    bot.anyUrl = TMisc::ReplaceFirst(bot.anyUrl, "[ALLURL]", bot.allUrl);
    bot.anyUrl = TMisc::ReplaceFirst(bot.anyUrl, "[BOOLURL]", bot.boolUrl);
    bot.anyUrl = TMisc::ReplaceFirst(bot.anyUrl, "[EXACTURL]", bot.exactUrl);

    bot.boolUrl = TMisc::ReplaceFirst(bot.boolUrl, "[ALLURL]", bot.allUrl);
    bot.boolUrl = TMisc::ReplaceFirst(bot.boolUrl, "[ANYURL]", bot.anyUrl);
    bot.boolUrl = TMisc::ReplaceFirst(bot.boolUrl, "[EXACTURL]", bot.exactUrl);

    bot.exactUrl = TMisc::ReplaceFirst(bot.exactUrl, "[ALLURL]", bot.allUrl);
    bot.exactUrl = TMisc::ReplaceFirst(bot.exactUrl, "[ANYURL]", bot.anyUrl);
    bot.exactUrl = TMisc::ReplaceFirst(bot.exactUrl, "[BOOLURL]", bot.boolUrl);
}

namespace {
// An address value is a method word and the address: the second word. A lone word gives no
// address, which is worth telling whoever wrote the file.
std::string AddressWord(const std::string &value, const char *key, const TWebBot &bot, std::vector<std::string> *notes) {
    std::string address = TMisc::NthWord(value, 2);
    if (address.empty() && !value.empty() && notes)
        notes->push_back(bot.listedName + ": " + key + " has one word; it needs two (\"GET\" and the address)");
    return address;
}
}  // namespace

void LoadEngineDefinition(const StringLines &lines, std::string_view tag, TWebBot &bot,
                          std::vector<std::string> *notes) {
    bot.included = 1;
    bot.typeMark = 0;

    StringLines block;
    bot.hasBlock = TMisc::ReadBlockLines(lines, tag, block);
    if (!bot.hasBlock && notes)
        notes->push_back(std::string(bot.listedName.empty() ? std::string(tag) : bot.listedName) +
                         ": no definition block " + std::string(tag) + " in the group file");

    // Keys are tested in this order against every line; a key counts only when it stands
    // before the line's first "=", so a key name inside a value (a template holding
    // 'class="engine"') does not overwrite another setting.
    bool engineSet = false;
    for (const std::string &line : block) {
        std::string v;
        if (KeyValueBeforeEquals(line, "Engine", v)) { bot.engineName = v; engineSet = true; }
        if (KeyValueBeforeEquals(line, "Company", v)) bot.company = v;
        if (KeyValueBeforeEquals(line, "Homepage", v)) bot.homePage = v;
        if (KeyValueBeforeEquals(line, "BaseURL", v)) bot.baseUrl = v;
        if (KeyValueBeforeEquals(line, "Comments", v)) bot.comments = v;
        if (KeyValueBeforeEquals(line, "Category", v)) bot.category = v;
        if (KeyValueBeforeEquals(line, "Type", v)) bot.typeMark = SameTextNoCase(v, "BF") ? 0 : 1;
        if (KeyValueBeforeEquals(line, "UsedByDefault", v)) bot.included = SameTextNoCase(v, "YES") ? 1 : 0;
        if (KeyValueBeforeEquals(line, "ALLURL", v)) bot.allUrl = AddressWord(v, "ALLURL", bot, notes);
        if (KeyValueBeforeEquals(line, "ANYURL", v)) bot.anyUrl = AddressWord(v, "ANYURL", bot, notes);
        if (KeyValueBeforeEquals(line, "BOOLURL", v)) bot.boolUrl = AddressWord(v, "BOOLURL", bot, notes);
        if (KeyValueBeforeEquals(line, "EXACTURL", v)) bot.exactUrl = AddressWord(v, "EXACTURL", bot, notes);
        if (KeyValueBeforeEquals(line, "LinkAreaStartAt", v)) bot.linkAreaStartAt = v;
        if (KeyValueBeforeEquals(line, "LinkAreaStopAt", v)) bot.linkAreaStopAt = v;
        if (KeyValueBeforeEquals(line, "LinkTemplate", v)) bot.linkTemplateText = v;
        if (KeyValueBeforeEquals(line, "NextAreaStartAt", v)) bot.nextAreaStartAt = v;
        if (KeyValueBeforeEquals(line, "NextAreaStopAt", v)) bot.nextAreaStopAt = v;
        if (KeyValueBeforeEquals(line, "NextTemplate", v)) bot.nextTemplateText = v;
    }
    // Without an "Engine" line the rows are marked with the name the list gives.
    if (!engineSet) bot.engineName = bot.listedName;

    ResolveAddresses(bot);
    const std::string who = bot.listedName.empty() ? bot.engineName : bot.listedName;
    bot.linkTemplate = CompileTemplate(bot.linkTemplateText, notes, who + ": LinkTemplate");
    bot.nextTemplate = CompileTemplate(bot.nextTemplateText, notes, who + ": NextTemplate");
}

bool TemplateEngineTable::LoadEngineGroup(const std::string &path) {
    if (!TMisc::FileExists(path)) return false;
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    return LoadEngineGroupText(bytes);
}

bool TemplateEngineTable::LoadEngineGroupText(std::string_view bytes) {
    const StringLines lines = SplitGroupLines(bytes);
    StringLines list;
    if (!TMisc::ReadBlockLines(lines, "<#FILES>", list)) return false;
    std::vector<std::string> names;
    for (const std::string &l : list) {
        std::string name = Trim(l);
        if (!name.empty()) names.push_back(std::move(name));
    }
    if (names.empty()) return false;

    std::vector<std::string> notes;
    if (names.size() > kMaxEngineDefinitions) {
        std::string left;
        for (size_t i = kMaxEngineDefinitions; i < names.size(); ++i) {
            if (!left.empty()) left += ", ";
            left += names[i];
        }
        notes.push_back("The group file lists " + std::to_string(names.size()) + " engines; only the first " +
                        std::to_string(kMaxEngineDefinitions) + " were loaded. Left out: " + left);
        names.resize(kMaxEngineDefinitions);
    }

    std::vector<TWebBot> defs;
    defs.reserve(names.size());
    for (const std::string &name : names) {
        TWebBot bot;
        bot.listedName = name;
        LoadEngineDefinition(lines, "<%" + name + ">", bot, &notes);
        defs.push_back(std::move(bot));
    }
    defs_ = std::move(defs);
    notes_ = std::move(notes);
    return !defs_.empty();
}

int TemplateEngineTable::Find(std::string_view name) const {
    std::string n = Trim(name);
    for (size_t i = 0; i < defs_.size(); ++i)
        if (SameTextNoCase(defs_[i].engineName, n) || SameTextNoCase(defs_[i].listedName, n))
            return static_cast<int>(i);
    return -1;
}

void TemplateEngineTable::SetSearchMode(SearchMode mode) {
    for (auto &d : defs_) d.mode = mode;
}

bool LoadDataRootEngines(TemplateEngineTable &table, const std::string &root) {
    const std::string path = DataRoot(root).path("Engines/WebSearch.grp");
    if (TMisc::FileExists(path)) return table.LoadEngineGroup(path);
    for (const BundledFile &f : BundledResources())
        if (f.relativePath == "Engines/WebSearch.grp") return table.LoadEngineGroupText(f.bytes);
    return false;
}

}  // namespace qm
