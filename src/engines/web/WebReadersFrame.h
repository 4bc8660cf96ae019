#pragma once
// The reading frame shared by every page reader: a forward walk over one page with the
// landmark matcher, field captures and the event pump.
//
// Matcher rules:
//  - A landmark is a fixed string, or a few alternative strings of the same length, or a
//    sequence of byte classes. A letter matches that letter in either case; any other
//    byte matches only itself.
//  - Successive characters are compared with the landmark. On a mismatch the matcher
//    starts the landmark again from its first character with the NEXT character: the
//    mismatching character is not itself tried as a first character.
//  - In line-skipping frames a tab, CR or LF neither advances nor breaks a landmark, and
//    captured text holds a blank in its place. Otherwise they are ordinary characters.
//  - A field runs from a start position up to the character before the end landmark's
//    first character, and is cut to its first kMaxField characters.
//  - Before the characters at positions 0, 512, 1024, ... the sink's KeepReading is
//    called; when it answers false, the read ends.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "engines/web/WebReaders.h"

namespace qm::readers {

class Landmark {
public:
    static constexpr size_t kMaxLength = 32;
    static constexpr size_t kMaxAlternatives = 8;

    // One spelling.
    Landmark(std::string_view text);
    Landmark(const char *text) : Landmark(std::string_view(text)) {}
    // Alternative spellings of the same length (at most 8).
    Landmark(std::initializer_list<std::string_view> alternatives);

    // A sequence of byte classes: position i accepts any byte of classes[i] (letters in
    // either case).
    static Landmark Classes(std::initializer_list<std::string_view> classes);

    size_t size() const { return length_; }
    // Bit set of the alternatives that accept byte c at position i.
    uint8_t Accepts(size_t i, unsigned char c) const { return table_[i][c]; }
    uint8_t AllAlternatives() const { return all_; }
    // The one byte that can start the landmark, or -1 when several can.
    int SingleFirstByte() const { return single_; }

private:
    Landmark() = default;
    void AddAlternative(size_t alt, std::string_view text);
    void AcceptAt(size_t i, unsigned char c, uint8_t bit);
    void FindSingleFirstByte();

    size_t length_ = 0;
    uint8_t all_ = 0;
    int single_ = -1;
    std::vector<std::array<uint8_t, 256>> table_;
};

class Frame {
public:
    Frame(std::string_view page, ReaderSink &sink, bool skipLineChars);

    // Searches forward for the landmark; afterwards the frame stands right after it and
    // MatchPos(i) is the page position of its i-th character. False when the page ended
    // or the read was stopped.
    bool Skip(const Landmark &landmark);

    // Compares the next characters with the landmark, without searching: false (the
    // mismatching character consumed) unless they spell it.
    bool Expect(const Landmark &landmark);

    // Captures the field that runs from the current position (or from `start`) to the
    // next occurrence of `end`, and stands after `end`. False when `end` is not found.
    bool Capture(const Landmark &end, std::string &field);
    bool CaptureFrom(size_t start, const Landmark &end, std::string &field, size_t limit = kMaxField);

    // The next character the matcher sees (line characters are passed over in a
    // line-skipping frame), or -1 at the end of the page or when stopped.
    int Next();

    size_t Pos() const { return pos_; }
    size_t MatchPos(size_t i) const { return matchPos_[i]; }
    // Moves back to an earlier position (a character that must be looked at again).
    // Events are not pumped twice for the same block.
    void Rewind(size_t pos) { pos_ = pos; }

    // Page text from `from` up to (not including) `to`, cut to kMaxField characters,
    // line characters as blanks in a line-skipping frame.
    // A reader that keeps longer texts passes its own `limit`.
    std::string Field(size_t from, size_t to, size_t limit = kMaxField) const;

    void Stop() { stopped_ = true; }
    bool Stopped() const { return stopped_; }

    // Hands one result (its sub-items in column order) to the sink; false, and the read
    // stops, when the sink refuses more (the result limit).
    bool Add(std::vector<std::string> subItems);

    ReaderSink &Sink() { return sink_; }

private:
    std::string_view page_;
    ReaderSink &sink_;
    bool skipLines_;
    bool stopped_ = false;
    size_t pos_ = 0;
    size_t nextPump_ = 0;
    std::array<size_t, Landmark::kMaxLength> matchPos_{};
};

}  // namespace qm::readers
