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
// letters without case; npos when absent or when either is empty. (TMisc::FindNoCase
// without the object: the same search, the position returned instead of kept.)
size_t FindNoCase(std::string_view text, std::string_view pattern);

// A number read from a file (C-style conversion, qm::Atol) clamped to the range of int.
int ToInt(std::string_view text);

// The lines of file bytes, split as TMisc::LoadTextLines splits a file.
std::vector<std::string> Lines(std::string_view bytes);

}  // namespace kv
}  // namespace qm
