#include "fakeweb/Gif.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

// What Qt's reader makes of the encoder's files: the same size and every pixel's colour,
// also past the clear codes (more than 250 pixels) and for one-pixel pictures.
TEST(FakeWebGif, QtReadsEveryPixelBack) {
    struct Case {
        int w, h;
    } cases[] = {{1, 1}, {20, 20}, {468, 60}, {251, 1}, {3, 500}};
    const std::vector<uint32_t> palette = {0x102030, 0xFFFFFF, 0xC00000, 0x00A000};
    for (const auto &c : cases) {
        qm::fakeweb::GifCanvas canvas(c.w, c.h, palette);
        canvas.Rect(c.w / 3, 0, c.w / 3 + 1, c.h, 2);
        canvas.Text(1, 1, "Ad 42", 1);
        canvas.Rect(c.w - 1, c.h - 1, 1, 1, 3);
        std::string file = canvas.Encode();
        QImage img;
        ASSERT_TRUE(img.loadFromData(reinterpret_cast<const uchar *>(file.data()), int(file.size()), "GIF"))
            << c.w << "x" << c.h;
        ASSERT_EQ(img.width(), c.w);
        ASSERT_EQ(img.height(), c.h);
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                ASSERT_EQ(img.pixel(x, y) & 0xFFFFFF, palette[canvas.At(x, y)]) << x << "," << y;
    }
}

}  // namespace
