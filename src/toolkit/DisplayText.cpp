#include "toolkit/DisplayText.h"

namespace qm {

namespace {

const char16_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

inline bool IsCont(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the valid UTF-8 sequence starting at p (at most `left` bytes), or 0 when
// the bytes there are not one. Overlong forms, surrogates and values above U+10FFFF
// are not valid.
size_t Utf8Sequence(const unsigned char *p, size_t left, char32_t &cp) {
    unsigned char c = p[0];
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    if (c >= 0xC2 && c <= 0xDF) {
        if (left < 2 || !IsCont(p[1])) return 0;
        cp = (char32_t(c & 0x1F) << 6) | (p[1] & 0x3F);
        return 2;
    }
    if (c >= 0xE0 && c <= 0xEF) {
        if (left < 3 || !IsCont(p[1]) || !IsCont(p[2])) return 0;
        if (c == 0xE0 && p[1] < 0xA0) return 0;   // overlong
        if (c == 0xED && p[1] >= 0xA0) return 0;  // surrogates
        cp = (char32_t(c & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (left < 4 || !IsCont(p[1]) || !IsCont(p[2]) || !IsCont(p[3])) return 0;
        if (c == 0xF0 && p[1] < 0x90) return 0;   // overlong
        if (c == 0xF4 && p[1] >= 0x90) return 0;  // above U+10FFFF
        cp = (char32_t(c & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) |
             (char32_t(p[2] & 0x3F) << 6) | (p[3] & 0x3F);
        return 4;
    }
    return 0;
}

}  // namespace

char32_t Windows1252ToUnicode(unsigned char b) {
    if (b >= 0x80 && b < 0xA0) return kHigh1252[b - 0x80];
    return b;
}

void AppendUtf8(std::string &out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

QString DisplayText(std::string_view bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    size_t i = 0, n = bytes.size();
    while (i < n) {
        char32_t cp = 0;
        size_t len = Utf8Sequence(p + i, n - i, cp);
        if (len == 0) {
            cp = Windows1252ToUnicode(p[i]);
            len = 1;
        }
        if (cp < 0x10000) {
            out += QChar(static_cast<char16_t>(cp));
        } else {
            char32_t v = cp - 0x10000;
            out += QChar(static_cast<char16_t>(0xD800 + (v >> 10)));
            out += QChar(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        }
        i += len;
    }
    return out;
}

std::string TypedText(const QString &text) {
    QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<size_t>(utf8.size()));
}

}  // namespace qm
