// Cleanup of captured HTML snippets: a fixed sequence of replacements, not a parser.
// Tags not listed stay; blanks are neither collapsed nor trimmed.
#include "toolkit/DisplayText.h"
#include "toolkit/Misc.h"

#include <cstring>

namespace qm {

namespace {

// Removed wherever they occur, ignoring letter case, in this order.
const char *const kTags[] = {
    "<I>",  "</I>", "<B>",  "</B>",     "</A>",    "<BR>",     "</BR>",   "</font>", "<p>",    "</p>",
    "<ul>", "<li>", "<u>",  "</u>",     "</div>",  "</span>",  "<small>", "</small>", "<noBR>", "</noBR>",
};

struct Entity {
    const char *name;
    char32_t character;   // 0: see `text`
    const char *text;     // replacement when it is not a single character
};

// Matched with exactly this case, in this order. Characters are Unicode; the
// Windows-1252 bytes 128 to 159 appear as the characters they stand for.
const Entity kEntities[] = {
    {"&amp;", '&', nullptr},      {"&lt;", '<', nullptr},       {"&gt;", '>', nullptr},
    {"&quot;", '"', nullptr},     {"&nbsp;", ' ', nullptr},     {"&#8217;", '\'', nullptr},
    // Special and symbol entities that have a place in Windows-1252.
    {"&euro;", 0x20AC, nullptr},  {"&sbquo;", 0x201A, nullptr}, {"&fnof;", 0x0192, nullptr},
    {"&bdquo;", 0x201E, nullptr}, {"&dagger;", 0x2020, nullptr}, {"&Dagger;", 0x2021, nullptr},
    {"&circ;", 0x02C6, nullptr},  {"&permil;", 0x2030, nullptr}, {"&Scaron;", 0x0160, nullptr},
    {"&lsaquo;", 0x2039, nullptr}, {"&OElig;", 0x0152, nullptr}, {"&lsquo;", 0x2018, nullptr},
    {"&rsquo;", 0x2019, nullptr}, {"&ldquo;", 0x201C, nullptr}, {"&rdquo;", 0x201D, nullptr},
    {"&bull;", 0x2022, nullptr},  {"&ndash;", 0x2013, nullptr}, {"&mdash;", 0x2014, nullptr},
    {"&tilde;", 0x02DC, nullptr}, {"&trade;", 0x2122, nullptr}, {"&scaron;", 0x0161, nullptr},
    {"&rsaquo;", 0x203A, nullptr}, {"&oelig;", 0x0153, nullptr}, {"&Yuml;", 0x0178, nullptr},
    {"&hellip;", 0, "..."},
    // Latin-1, in code-point order (soft hyphen as a blank).
    {"&iexcl;", 161, nullptr},  {"&cent;", 162, nullptr},   {"&pound;", 163, nullptr},
    {"&curren;", 164, nullptr}, {"&yen;", 165, nullptr},    {"&brvbar;", 166, nullptr},
    {"&sect;", 167, nullptr},   {"&uml;", 168, nullptr},    {"&copy;", 169, nullptr},
    {"&ordf;", 170, nullptr},   {"&laquo;", 171, nullptr},  {"&not;", 172, nullptr},
    {"&shy;", ' ', nullptr},    {"&reg;", 174, nullptr},    {"&macr;", 175, nullptr},
    {"&deg;", 176, nullptr},    {"&plusmn;", 177, nullptr}, {"&sup2;", 178, nullptr},
    {"&sup3;", 179, nullptr},   {"&acute;", 180, nullptr},  {"&micro;", 181, nullptr},
    {"&para;", 182, nullptr},   {"&middot;", 183, nullptr}, {"&cedil;", 184, nullptr},
    {"&sup1;", 185, nullptr},   {"&ordm;", 186, nullptr},   {"&raquo;", 187, nullptr},
    {"&frac14;", 188, nullptr}, {"&frac12;", 189, nullptr}, {"&frac34;", 190, nullptr},
    {"&iquest;", 191, nullptr}, {"&Agrave;", 192, nullptr}, {"&Aacute;", 193, nullptr},
    {"&Acirc;", 194, nullptr},  {"&Atilde;", 195, nullptr}, {"&Auml;", 196, nullptr},
    {"&Aring;", 197, nullptr},  {"&AElig;", 198, nullptr},  {"&Ccedil;", 199, nullptr},
    {"&Egrave;", 200, nullptr}, {"&Eacute;", 201, nullptr}, {"&Ecirc;", 202, nullptr},
    {"&Euml;", 203, nullptr},   {"&Igrave;", 204, nullptr}, {"&Iacute;", 205, nullptr},
    {"&Icirc;", 206, nullptr},  {"&Iuml;", 207, nullptr},   {"&ETH;", 208, nullptr},
    {"&Ntilde;", 209, nullptr}, {"&Ograve;", 210, nullptr}, {"&Oacute;", 211, nullptr},
    {"&Ocirc;", 212, nullptr},  {"&Otilde;", 213, nullptr}, {"&Ouml;", 214, nullptr},
    {"&times;", 215, nullptr},  {"&Oslash;", 216, nullptr}, {"&Ugrave;", 217, nullptr},
    {"&Uacute;", 218, nullptr}, {"&Ucirc;", 219, nullptr},  {"&Uuml;", 220, nullptr},
    {"&Yacute;", 221, nullptr}, {"&THORN;", 222, nullptr},  {"&szlig;", 223, nullptr},
    {"&agrave;", 224, nullptr}, {"&aacute;", 225, nullptr}, {"&acirc;", 226, nullptr},
    {"&atilde;", 227, nullptr}, {"&auml;", 228, nullptr},   {"&aring;", 229, nullptr},
    {"&aelig;", 230, nullptr},  {"&ccedil;", 231, nullptr}, {"&egrave;", 232, nullptr},
    {"&eacute;", 233, nullptr}, {"&ecirc;", 234, nullptr},  {"&euml;", 235, nullptr},
    {"&igrave;", 236, nullptr}, {"&iacute;", 237, nullptr}, {"&icirc;", 238, nullptr},
    {"&iuml;", 239, nullptr},   {"&eth;", 240, nullptr},    {"&ntilde;", 241, nullptr},
    {"&ograve;", 242, nullptr}, {"&oacute;", 243, nullptr}, {"&ocirc;", 244, nullptr},
    {"&otilde;", 245, nullptr}, {"&ouml;", 246, nullptr},   {"&divide;", 247, nullptr},
    {"&oslash;", 248, nullptr}, {"&ugrave;", 249, nullptr}, {"&uacute;", 250, nullptr},
    {"&ucirc;", 251, nullptr},  {"&uuml;", 252, nullptr},   {"&yacute;", 253, nullptr},
    {"&thorn;", 254, nullptr},  {"&yuml;", 255, nullptr},
};

std::string Utf8Of(char32_t c) {
    std::string s;
    AppendUtf8(s, c);
    return s;
}

}  // namespace

std::string CleanHtmlText(std::string_view input) {
    std::string text(input);

    // 1. Formatting tags.
    if (text.find('<') != std::string::npos)
        for (const char *tag : kTags)
            if (TMisc::FindNoCasePos(text, tag) != std::string::npos) text = TMisc::ReplaceAll(text, tag, "");

    // 2. Named references. No replacement produces an "&" except "&amp;" (the first),
    // so a text without "&" has nothing to decode.
    if (text.find('&') != std::string::npos) {
        for (const Entity &e : kEntities) {
            if (text.find(e.name) == std::string::npos) continue;
            std::string replacement = e.text ? std::string(e.text) : Utf8Of(e.character);
            text = TMisc::ReplaceAllExact(text, e.name, replacement);
        }
    }

    // 3. The first font tag.
    text = TMisc::RemoveBetween(text, "<FONT", ">");

    // 4. Numeric references, one number at a time, until the first one that is not a
    // number of 1 to 4 characters.
    std::string digits;
    while (TMisc::TextBetween(text, "&#", ";", digits)) {
        if (digits.empty() || digits.size() > 4) break;
        long long n = Atol(digits);
        std::string replacement;
        if (n > 0 && n <= 255) replacement = Utf8Of(Windows1252ToUnicode(static_cast<unsigned char>(n)));
        std::string reference = "&#" + digits + ";";
        std::string next = TMisc::ReplaceAll(text, reference, replacement);
        if (next == text) break;  // cannot happen; guards the loop
        text = std::move(next);
    }
    return text;
}

}  // namespace qm
