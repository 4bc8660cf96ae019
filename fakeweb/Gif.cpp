#include "fakeweb/Gif.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

namespace qm::fakeweb {

namespace {

// 5 x 7 glyphs, one byte per row, bit 4 the leftmost column.
struct Glyph {
    char c;
    uint8_t rows[7];
};

constexpr Glyph kFont[] = {
    {'A', {14, 17, 17, 31, 17, 17, 17}}, {'B', {30, 17, 17, 30, 17, 17, 30}},
    {'C', {14, 17, 16, 16, 16, 17, 14}}, {'D', {30, 17, 17, 17, 17, 17, 30}},
    {'E', {31, 16, 16, 30, 16, 16, 31}}, {'F', {31, 16, 16, 30, 16, 16, 16}},
    {'G', {14, 17, 16, 23, 17, 17, 15}}, {'H', {17, 17, 17, 31, 17, 17, 17}},
    {'I', {14, 4, 4, 4, 4, 4, 14}},      {'J', {7, 2, 2, 2, 2, 18, 12}},
    {'K', {17, 18, 20, 24, 20, 18, 17}}, {'L', {16, 16, 16, 16, 16, 16, 31}},
    {'M', {17, 27, 21, 21, 17, 17, 17}}, {'N', {17, 17, 25, 21, 19, 17, 17}},
    {'O', {14, 17, 17, 17, 17, 17, 14}}, {'P', {30, 17, 17, 30, 16, 16, 16}},
    {'Q', {14, 17, 17, 17, 21, 18, 13}}, {'R', {30, 17, 17, 30, 20, 18, 17}},
    {'S', {15, 16, 16, 14, 1, 1, 30}},   {'T', {31, 4, 4, 4, 4, 4, 4}},
    {'U', {17, 17, 17, 17, 17, 17, 14}}, {'V', {17, 17, 17, 17, 17, 10, 4}},
    {'W', {17, 17, 17, 21, 21, 21, 10}}, {'X', {17, 17, 10, 4, 10, 17, 17}},
    {'Y', {17, 17, 10, 4, 4, 4, 4}},     {'Z', {31, 1, 2, 4, 8, 16, 31}},
    {'0', {14, 17, 19, 21, 25, 17, 14}}, {'1', {4, 12, 4, 4, 4, 4, 14}},
    {'2', {14, 17, 1, 2, 4, 8, 31}},     {'3', {31, 2, 4, 2, 1, 17, 14}},
    {'4', {2, 6, 10, 18, 31, 2, 2}},     {'5', {31, 16, 30, 1, 1, 17, 14}},
    {'6', {6, 8, 16, 30, 17, 17, 14}},   {'7', {31, 1, 2, 4, 8, 8, 8}},
    {'8', {14, 17, 17, 14, 17, 17, 14}}, {'9', {14, 17, 17, 15, 1, 2, 12}},
    {'.', {0, 0, 0, 0, 0, 12, 12}},      {',', {0, 0, 0, 0, 12, 4, 8}},
    {':', {0, 12, 12, 0, 12, 12, 0}},    {'-', {0, 0, 0, 31, 0, 0, 0}},
    {'!', {4, 4, 4, 4, 4, 0, 4}},        {'?', {14, 17, 1, 2, 4, 0, 4}},
    {'/', {1, 1, 2, 4, 8, 16, 16}},      {'+', {0, 4, 4, 31, 4, 4, 0}},
    {'&', {12, 18, 20, 8, 21, 18, 13}},  {'\'', {4, 4, 8, 0, 0, 0, 0}},
};

const Glyph *GlyphOf(char c) {
    c = char(std::toupper(static_cast<unsigned char>(c)));
    for (const auto &g : kFont)
        if (g.c == c) return &g;
    return nullptr;
}

// Packs codes of `width` bits, least significant bit first.
class BitWriter {
public:
    void Put(unsigned code, int width) {
        acc_ |= uint32_t(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            out_.push_back(char(acc_ & 0xFF));
            acc_ >>= 8;
            bits_ -= 8;
        }
    }
    std::string Finish() {
        if (bits_ > 0) out_.push_back(char(acc_ & 0xFF));
        return out_;
    }

private:
    std::string out_;
    uint32_t acc_ = 0;
    int bits_ = 0;
};

void Put16(std::string &out, int v) {
    out.push_back(char(v & 0xFF));
    out.push_back(char((v >> 8) & 0xFF));
}

}  // namespace

GifCanvas::GifCanvas(int width, int height, std::vector<uint32_t> palette)
    : width_(std::max(width, 1)), height_(std::max(height, 1)), palette_(std::move(palette)),
      pixels_(size_t(width_) * size_t(height_), 0) {
    if (palette_.empty()) palette_.push_back(0);
    if (palette_.size() > 256) palette_.resize(256);
}

void GifCanvas::Rect(int x, int y, int w, int h, uint8_t colour) {
    int x0 = std::max(x, 0), y0 = std::max(y, 0);
    int x1 = std::min(x + w, width_), y1 = std::min(y + h, height_);
    for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx) pixels_[size_t(yy) * size_t(width_) + size_t(xx)] = colour;
}

void GifCanvas::Text(int x, int y, std::string_view text, uint8_t colour, int scale) {
    scale = std::max(scale, 1);
    for (char c : text) {
        if (const Glyph *g = GlyphOf(c))
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (g->rows[row] & (16 >> col)) Rect(x + col * scale, y + row * scale, scale, scale, colour);
        x += 6 * scale;
    }
}

std::string GifCanvas::Encode() const {
    std::string out = "GIF89a";
    Put16(out, width_);
    Put16(out, height_);
    out.push_back(char(0xF7));  // global colour table of 256 entries, 8 bits per primary
    out.push_back(0);           // background colour
    out.push_back(0);           // aspect ratio
    for (size_t i = 0; i < 256; ++i) {
        uint32_t c = i < palette_.size() ? palette_[i] : 0;
        out.push_back(char((c >> 16) & 0xFF));
        out.push_back(char((c >> 8) & 0xFF));
        out.push_back(char(c & 0xFF));
    }
    out.push_back(',');  // image descriptor
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, width_);
    Put16(out, height_);
    out.push_back(0);
    out.push_back(8);  // minimum code size

    // LZW with 8-bit roots: the table grows to 4095 codes, then a clear code starts it
    // again. A code is written with the width the decoder will be reading at that point:
    // the decoder adds its entries one code later than the encoder.
    constexpr unsigned kClear = 256, kEnd = 257, kFirstFree = 258, kMaxCodes = 4095;
    BitWriter bits;
    std::unordered_map<uint32_t, unsigned> table;  // (prefix code << 8 | byte) -> code
    table.reserve(kMaxCodes);
    unsigned next = kFirstFree;
    int width = 9;
    bits.Put(kClear, width);
    unsigned prefix = pixels_.empty() ? 0 : pixels_[0];
    for (size_t i = 1; i < pixels_.size(); ++i) {
        const uint8_t p = pixels_[i];
        const uint32_t key = (uint32_t(prefix) << 8) | p;
        auto found = table.find(key);
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        bits.Put(prefix, width);
        if (next < kMaxCodes) {
            table.emplace(key, next++);
            // The decoder widens once the next code it would add needs another bit.
            if (next > (1u << width) && width < 12) ++width;
        } else {
            bits.Put(kClear, width);
            table.clear();
            next = kFirstFree;
            width = 9;
        }
        prefix = p;
    }
    if (!pixels_.empty()) bits.Put(prefix, width);
    if (next >= (1u << width) && width < 12) ++width;  // the decoder's entry for that last code
    bits.Put(kEnd, width);
    std::string data = bits.Finish();
    for (size_t i = 0; i < data.size(); i += 255) {
        size_t n = std::min<size_t>(255, data.size() - i);
        out.push_back(char(n));
        out.append(data, i, n);
    }
    out.push_back(0);    // block terminator
    out.push_back(';');  // trailer
    return out;
}

}  // namespace qm::fakeweb
