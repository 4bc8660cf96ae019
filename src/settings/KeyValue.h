#pragma once
// The line rule shared by every key-and-value file: the options file, the language
// files, the remote configuration and the engine definition files.
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Looks for `key` anywhere in `line`, ignoring the case of ASCII letters. When it is found
// and an "=" follows at or after the key's last character, `value` receives the rest of
// the line after that "=", with leading and trailing bytes up to 32 removed, and the result
// is true. Otherwise the result is false and `value` is empty. `value` is always reset first.
bool KeyValue(std::string_view line, std::string_view key, std::string &value);

// The same rule, but the key only counts when it stands before the line's first "=":
// a key quoted inside another setting's value (a password, a path) is not a match.
bool KeyValueBeforeEquals(std::string_view line, std::string_view key, std::string &value);

namespace kv {

// Index of the last byte of the first occurrence of `pattern` in `text`, comparing ASCII
// letters without case; npos when absent or when either is empty.
size_t FindNoCase(std::string_view text, std::string_view pattern);

bool EqualsNoCase(std::string_view a, std::string_view b);

// Removes leading and trailing bytes with values 0 to 32.
std::string_view Trim(std::string_view text);

// C-style decimal conversion: optional blanks, an optional sign, leading digits; 0 when
// there are none. Saturates at the limits of int instead of overflowing.
int Atol(std::string_view text);

// Splits file bytes into lines: a line feed ends a line, carriage returns are dropped, a
// line longer than 4095 bytes continues as a line of its own, and the bytes after the
// last line feed form a final line (empty when the file ends with a line feed).
std::vector<std::string> SplitTextLines(std::string_view bytes);

// Reads a file with SplitTextLines. False when the path is not a readable plain file.
bool LoadTextLines(const std::string &path, std::vector<std::string> &lines);

}  // namespace kv
}  // namespace qm
