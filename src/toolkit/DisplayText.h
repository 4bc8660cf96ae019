#pragma once
// The one conversion between the program's byte texts and what the window shows.
#include <QString>
#include <string>
#include <string_view>

namespace qm {

// Bytes that form valid UTF-8 sequences are read as UTF-8; every other byte is read as
// Windows-1252. Decided per sequence, so text that mixes both shows correctly.
QString DisplayText(std::string_view bytes);

// The Unicode character that byte `b` stands for in Windows-1252 (the five unassigned
// bytes 0x81, 0x8D, 0x8F, 0x90, 0x9D stand for the control characters of the same value).
char32_t Windows1252ToUnicode(unsigned char b);

// Appends the UTF-8 form of `c` to `out`.
void AppendUtf8(std::string &out, char32_t c);

// Text typed by the user, as the UTF-8 bytes the core keeps.
std::string TypedText(const QString &text);

}  // namespace qm
