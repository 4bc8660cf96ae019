#pragma once
// JSON string literal of text that is already UTF-8 (bytes as shown).
#include <string>
#include <string_view>

namespace qm {

inline void AppendJsonString(std::string &out, std::string_view utf8) {
    static const char *hex = "0123456789abcdef";
    out += '"';
    for (unsigned char c : utf8) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    out += "\\u00";
                    out += hex[c >> 4];
                    out += hex[c & 15];
                } else {
                    out += char(c);
                }
        }
    }
    out += '"';
}

}  // namespace qm
