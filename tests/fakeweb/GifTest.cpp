#include "fakeweb/Gif.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

// What Qt's reader makes of the encoder's files: the same size and every pixel's colour,
// for one-pixel pictures, across every change of code width and past a full table (noise
// fills the table quickly, flat areas make long codes).
TEST(FakeWebGif, QtReadsEveryPixelBack) {
    struct Case {
        int w, h;
        bool noise;
    } cases[] = {{1, 1, false}, {20, 20, false}, {468, 60, false}, {251, 1, false}, {3, 500, false},
                 {2, 2, true},  {61, 17, true},  {300, 200, true},  {640, 480, false}};
    std::vector<uint32_t> palette = {0x102030, 0xFFFFFF, 0xC00000, 0x00A000};
    for (uint32_t i = 4; i < 256; ++i) palette.push_back((i * 0x010203u) & 0xFFFFFF);
    uint32_t seed = 12345;
    for (const auto &c : cases) {
        qm::fakeweb::GifCanvas canvas(c.w, c.h, palette);
        canvas.Rect(c.w / 3, 0, c.w / 3 + 1, c.h, 2);
        canvas.Text(1, 1, "Ad 42", 1);
        canvas.Rect(c.w - 1, c.h - 1, 1, 1, 3);
        if (c.noise)
            for (int y = c.h / 2; y < c.h; ++y)
                for (int x = 0; x < c.w; ++x) {
                    seed = seed * 1103515245u + 12345u;
                    canvas.Rect(x, y, 1, 1, uint8_t((seed >> 16) % 256));
                }
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
