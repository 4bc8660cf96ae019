#include "engines/web/WebReadersFrame.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace qm::readers {

namespace {
bool IsLineChar(unsigned char c) { return c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

void Landmark::AcceptAt(size_t i, unsigned char c, uint8_t bit) {
    table_[i][c] |= bit;
    if (c >= 'a' && c <= 'z') table_[i][c - 32] |= bit;
    if (c >= 'A' && c <= 'Z') table_[i][c + 32] |= bit;
}

void Landmark::AddAlternative(size_t alt, std::string_view text) {
    if (text.empty() || text.size() > kMaxLength || alt >= kMaxAlternatives)
        throw std::logic_error("bad landmark");
    if (alt > 0 && text.size() != length_) throw std::logic_error("landmark alternatives differ in length");
    length_ = text.size();
    table_.resize(length_);
    uint8_t bit = uint8_t(1u << alt);
    all_ |= bit;
    for (size_t i = 0; i < text.size(); ++i) AcceptAt(i, (unsigned char)text[i], bit);
}

Landmark::Landmark(std::string_view text) {
    AddAlternative(0, text);
    FindSingleFirstByte();
}

Landmark::Landmark(std::initializer_list<std::string_view> alternatives) {
    size_t alt = 0;
    for (auto a : alternatives) AddAlternative(alt++, a);
    FindSingleFirstByte();
}

void Landmark::FindSingleFirstByte() {
    single_ = -1;
    for (int c = 0; c < 256; ++c) {
        if (!table_[0][size_t(c)]) continue;
        if (single_ >= 0) {
            single_ = -1;
            return;
        }
        single_ = c;
    }
}

Landmark Landmark::Classes(std::initializer_list<std::string_view> classes) {
    Landmark l;
    if (classes.size() == 0 || classes.size() > kMaxLength) throw std::logic_error("bad landmark");
    l.length_ = classes.size();
    l.table_.resize(l.length_);
    l.all_ = 1;
    size_t i = 0;
    for (auto cls : classes) {
        for (char c : cls) l.AcceptAt(i, (unsigned char)c, 1);
        ++i;
    }
    l.FindSingleFirstByte();
    return l;
}

Frame::Frame(std::string_view page, ReaderSink &sink, bool skipLineChars)
    : page_(page), sink_(sink), skipLines_(skipLineChars) {}

int Frame::Next() {
    while (!stopped_ && pos_ < page_.size()) {
        if (pos_ >= nextPump_) {
            nextPump_ = (pos_ / kPumpInterval + 1) * kPumpInterval;
            if (!sink_.KeepReading()) {
                stopped_ = true;
                break;
            }
        }
        unsigned char c = (unsigned char)page_[pos_++];
        if (skipLines_ && IsLineChar(c)) continue;
        return c;
    }
    return -1;
}

bool Frame::Skip(const Landmark &landmark) {
    const size_t n = landmark.size();
    const uint8_t all = landmark.AllAlternatives();
    const int single = landmark.SingleFirstByte();
    const unsigned char *data = reinterpret_cast<const unsigned char *>(page_.data());
    const size_t size = page_.size();
    size_t k = 0;
    uint8_t alive = all;
    while (!stopped_ && pos_ < size) {
        if (pos_ >= nextPump_) {
            nextPump_ = (pos_ / kPumpInterval + 1) * kPumpInterval;
            if (!sink_.KeepReading()) {
                stopped_ = true;
                break;
            }
        }
        const size_t end = std::min(size, nextPump_);
        while (pos_ < end) {
            if (k == 0 && single >= 0) {
                // Nothing but that byte can start the landmark: jump to it.
                const void *hit = std::memchr(data + pos_, single, end - pos_);
                if (!hit) {
                    pos_ = end;
                    break;
                }
                pos_ = size_t(static_cast<const unsigned char *>(hit) - data);
            }
            const unsigned char c = data[pos_++];
            if (skipLines_ && IsLineChar(c)) continue;
            const uint8_t m = landmark.Accepts(k, c) & alive;
            if (m) {
                matchPos_[k] = pos_ - 1;
                alive = m;
                if (++k == n) return true;
            } else if (k) {
                // Start again with the next character; this one is not retried.
                k = 0;
                alive = all;
            }
        }
    }
    return false;
}

bool Frame::Expect(const Landmark &landmark) {
    uint8_t alive = landmark.AllAlternatives();
    for (size_t k = 0; k < landmark.size(); ++k) {
        int c = Next();
        if (c < 0) return false;
        alive &= landmark.Accepts(k, (unsigned char)c);
        if (!alive) return false;
        matchPos_[k] = pos_ - 1;
    }
    return true;
}

bool Frame::Capture(const Landmark &end, std::string &field) { return CaptureFrom(pos_, end, field); }

bool Frame::CaptureFrom(size_t start, const Landmark &end, std::string &field, size_t limit) {
    if (!Skip(end)) return false;
    field = Field(start, matchPos_[0], limit);
    return true;
}

std::string Frame::Field(size_t from, size_t to, size_t limit) const {
    if (to > page_.size()) to = page_.size();
    if (from >= to) return {};
    if (to - from > limit) to = from + limit;
    std::string out(page_.substr(from, to - from));
    if (skipLines_)
        for (char &c : out)
            if (IsLineChar((unsigned char)c)) c = ' ';
    return out;
}

bool Frame::Add(std::vector<std::string> subItems) {
    ResultRow row;
    row.subItems = std::move(subItems);
    if (sink_.AddResult(std::move(row))) return true;
    Stop();
    return false;
}

}  // namespace qm::readers
