#pragma once
// The toolkit: searching and cutting byte texts, words, small file and folder
// services, dates and addresses.
//
// Texts are bytes (std::string) kept exactly as they arrived; nothing here converts
// encodings. Comparisons that "ignore case" fold the ASCII letters only. A word is a
// maximal run of bytes 33 to 127; every other byte separates words. Paths use "/".
//
// Most operations are static and may be called as TMisc::X(...) or through the
// object. FindNoCase and FindChar leave a position in LastPos, and SplitUrl leaves its
// parts in UrlParts; read them right after the call.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QSoundEffect;

namespace qm {

using StringList = std::vector<std::string>;

// Result of TMisc::SplitUrl.
struct UrlInfo {
    bool Valid = false;
    int Scheme = 0;      // 0 none, 1 ftp, 2 http, 3 pop3, 4 smtp
    std::string Host;
    std::string Port;    // decimal text of the port in use (the scheme's default included)
};

// Numbers typed by the user or read from files: leading blanks, an optional sign and
// the leading digits, 0 when there are none (like C atol; saturates instead of
// overflowing).
long long Atol(std::string_view text);

// Bytes 0 to 32 removed at both ends / at the start / at the end.
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// A query box: its edit text and its history entries, most recent first.
struct HistoryBox {
    std::string editText;
    StringList entries;
};

// Deletes the formatting tags that sit inside captured snippets of HTML and decodes
// character references; see HtmlText.cpp for the exact steps. Decoded characters are
// emitted as UTF-8, every other byte is kept.
std::string CleanHtmlText(std::string_view text);

// Escapes "&", "<", ">" and the double quote for HTML text and attribute values.
std::string HtmlEscape(std::string_view text);

// The select-all toggle of the lists: with more than half of the rows selected it clears the
// selection (false), else it selects every row (true).
inline bool ToggleSelectsAll(int selected, int count) { return selected <= count / 2; }

// Equality and ordering ignoring the case of ASCII letters.
bool SameTextNoCase(std::string_view a, std::string_view b);
int CompareNoCase(std::string_view a, std::string_view b);

class TMisc {
public:
    TMisc();
    ~TMisc();
    TMisc(const TMisc &) = delete;
    TMisc &operator=(const TMisc &) = delete;

    // The toolkit object of the running program (the first one created and still
    // alive), or nullptr.
    static TMisc *Global();

    // ---- State read by callers right after the call that wrote it ----
    int32_t LastPos = 0;
    UrlInfo UrlParts;

    // ---- Search and position ----

    // True if `pattern` occurs in `text`, bytes compared after UpCaseChar. LastPos is
    // the index of the LAST byte of the first occurrence (its start is
    // LastPos - pattern.size() + 1); untouched when nothing is found. An empty pattern
    // and a pattern longer than the text are never found.
    bool FindNoCase(std::string_view text, std::string_view pattern);
    // True if the byte occurs; LastPos is the index of its first occurrence, else 0.
    bool FindChar(std::string_view text, char c);

    // Stateless search for parsers: start index of the first case-insensitive
    // occurrence of `pattern` at or after `from`, or std::string_view::npos.
    static size_t FindNoCasePos(std::string_view text, std::string_view pattern, size_t from = 0);

    // True and the index of the n-th (1-based) occurrence; with fewer occurrences false
    // and the index of the last byte (0 for an empty text).
    static bool FindNthChar(std::string_view text, char c, int n, int &index);
    static uint16_t CountChar(std::string_view text, char c);
    static bool EndsWithChar(std::string_view text, char c);

    // ---- Replacement and extraction (searches ignore ASCII case) ----
    static std::string ReplaceChar(std::string_view text, char from, char to);
    // Text before the first occurrence + replacement + text after it; the text
    // unchanged when the pattern does not occur.
    static std::string ReplaceFirst(std::string_view text, std::string_view pattern,
                                    std::string_view replacement);
    // Replaces occurrences one at a time, each search starting again from the
    // beginning of the current text, so an occurrence formed by a replacement is
    // replaced too ('<<b>b>' loses both tags). Stops when the pattern is gone.
    static std::string ReplaceAll(std::string_view text, std::string_view pattern,
                                  std::string_view replacement);
    // The same with exact (case-sensitive) matching.
    static std::string ReplaceAllExact(std::string_view text, std::string_view pattern,
                                       std::string_view replacement);
    // The part before the first occurrence; the whole text when absent.
    static std::string TextBefore(std::string_view text, std::string_view pattern);
    // True and `out` = the bytes strictly between the first `start` and the first `end`
    // after it; false and `out` untouched when either is missing or the text is empty.
    static bool TextBetween(std::string_view text, std::string_view start, std::string_view end,
                            std::string &out);
    // Removes the first block running from `start` through the next `end` (searched
    // from the first byte of `start`); the text unchanged when either is missing.
    static std::string RemoveBetween(std::string_view text, std::string_view start,
                                     std::string_view end);

    // ---- Words ----
    static int WordCount(std::string_view text);
    // The n-th (1-based) word, or an empty text.
    static std::string NthWord(std::string_view text, int n);
    // True and the start index of the n-th word; else false and the index of the last
    // byte (0 for an empty text).
    static bool FindNthWord(std::string_view text, int n, int &index);
    // Length of the first word after leading separators, 0 when there is none.
    static int FirstWordLength(std::string_view text);
    static bool IsWordByte(unsigned char c) { return c > 32 && c < 128; }

    // ---- Characters and numbers ----
    static char UpCaseChar(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }
    static char LowCaseChar(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }
    // Hexadecimal text, optionally after the first "x" (else "X"); at most 8 digits;
    // bytes that are not hex digits count as 0.
    static bool ParseHex(std::string_view text, uint32_t &value);

    // ---- Files and folders ----
    static bool FileExists(const std::string &name);        // exists and is not a directory
    static uint32_t FileSize(const std::string &name);      // low 32 bits, 0 when absent
    static bool DirectoryExists(const std::string &path);
    // Creates every missing folder along `path` (at most 127 components). False on
    // the first folder that cannot be created; the folders made so far stay.
    static bool CreatePath(const std::string &path);
    // True if the text ends with the path separator "/".
    static bool EndsWithBackslash(std::string_view text) { return EndsWithChar(text, '/'); }
    static void SlashesToBackslashes(std::string &text);    // every "/" becomes "\"
    static void BackslashesToSlashes(std::string &text);    // every "\" becomes "/"

    // Reads one line: CR bytes are dropped, LF ends the line (true). At end of file
    // returns false with the bytes read so far. After capacity - 1 bytes the line is
    // cut (true) and the rest comes back as the next line.
    static bool ReadLine(std::FILE *file, std::string &line, size_t capacity);
    // The same over bytes in memory, reading from `pos` and advancing it.
    static bool ReadLine(std::string_view bytes, size_t &pos, std::string &line, size_t capacity);
    // Clears `list` and fills it with the file's lines (capacity 4096); a file that
    // ends with LF yields a final empty entry. False when the file is missing.
    static bool LoadTextLines(const std::string &name, StringList &list);
    // The same split over bytes in memory.
    static void SplitTextLines(std::string_view bytes, StringList &list);

    // Block rule: a line holding `key` (e.g. "<#AUTOHELP_PANEL_WEB>"), the block's
    // lines, a line holding the closing tag (the key's first "<" as "</"). Returns
    // the lines after the key line up to the closing line (or the end of the list),
    // each followed by CR LF; empty when the key is empty or no line holds it.
    static std::string ReadBlock(const StringList *list, std::string_view key);
    static std::string ReadBlock(const StringList &list, std::string_view key) {
        return ReadBlock(&list, key);
    }
    // The same search; when the key is found `out` is replaced by the block's lines
    // and true is returned, else `out` is left as it was.
    static bool ReadBlockLines(const StringList &list, std::string_view key, StringList &out);

    // Stops any sound that is playing, then plays `name` asynchronously when it is an
    // existing file, else `folder` + "/" + the trimmed name (when the name holds no
    // ":"). Silent when neither exists or there is no sound device.
    void PlaySoundFile(const std::string &name, const std::string &folder);
    // The file the last PlaySoundFile call started, empty when it found none.
    const std::string &LastSoundFile() const { return lastSound_; }

    // ---- Query histories (files: one line per entry, CR LF after each) ----
    // Fills the box from the file: the first line becomes the edit text exactly as
    // stored, the other non-blank lines the entries. False (box untouched) when the
    // file is missing.
    static bool LoadHistory(const std::string &name, HistoryBox &box);
    // The same from bytes in memory.
    static void ParseHistory(std::string_view bytes, HistoryBox &box);
    // Writes the trimmed edit text (a single space when empty) and then every entry,
    // replacing the file atomically. False when the file cannot be written.
    static bool SaveHistory(const std::string &name, const HistoryBox &box);
    static std::string FormatHistory(const HistoryBox &box);
    // Removes every entry equal to the trimmed edit text, ignoring ASCII case.
    static void RemoveFromHistory(HistoryBox &box);
    // Moves the trimmed edit text to the front of the entries and shows it.
    static void PushHistory(HistoryBox &box);

    // ---- Dates ----
    // Today's date: 0 "5 Jan, 2001", 1 "20010105", 2 "January 5, 2001",
    // 3 "5 Janvier 2001" (UTF-8), 4 "2001 / 01 / 05"; other kinds give "".
    static std::string FormatDate(int kind);
    static std::string FormatDate(int kind, int year, int month, int day);

    // ---- Addresses ----
    // Splits an ftp, http, pop3 or smtp address into UrlParts (host, port text,
    // scheme) and returns UrlParts.Valid.
    bool SplitUrl(std::string_view text);

private:
    QSoundEffect *sound_ = nullptr;
    std::string lastSound_;
};

}  // namespace qm
