#pragma once
// Pictures for the fake web's pages (banners, the front picture): a small palette canvas
// with rectangles and a blocky 5 x 7 font, written as a GIF 89a file. Qt reads GIF but does
// not write it, and the fake web must not need a display, so the encoder is its own (LZW
// with a table of up to 4096 codes).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm::fakeweb {

class GifCanvas {
public:
    // `palette`: up to 256 colours as 0xRRGGBB; index 0 fills the canvas.
    GifCanvas(int width, int height, std::vector<uint32_t> palette);

    int width() const { return width_; }
    int height() const { return height_; }

    void Rect(int x, int y, int w, int h, uint8_t colour);  // clipped
    // Upper-case letters, digits and " .,:-!?/+&'" in a 5 x 7 cell (6 wide with the gap),
    // each cell pixel `scale` pixels square. Lower case is drawn as upper case; other
    // characters as blanks.
    void Text(int x, int y, std::string_view text, uint8_t colour, int scale = 1);
    static int TextWidth(std::string_view text, int scale = 1) { return int(text.size()) * 6 * scale; }

    uint8_t At(int x, int y) const { return pixels_[size_t(y) * size_t(width_) + size_t(x)]; }

    std::string Encode() const;  // the whole GIF file

private:
    int width_, height_;
    std::vector<uint32_t> palette_;
    std::vector<uint8_t> pixels_;
};

}  // namespace qm::fakeweb
