// quillmar-front-page FILE: draws the bundled front picture (resources/GFX/FrontPage.gif,
// 400 x 250) that the splash window and "About" show, and writes it to FILE.
#include "fakeweb/Gif.h"

#include <cstdio>
#include <string>

using qm::fakeweb::GifCanvas;

namespace {

enum : uint8_t { kNight, kDeep, kBand, kWhite, kGold, kSky, kGrey, kRed };

GifCanvas Draw() {
    GifCanvas c(400, 250, {0x081a33, 0x0f3d6e, 0x1d5fa3, 0xffffff, 0xf2b632, 0x9cc8f0, 0x6f87a3, 0xd23c3c});
    // Sky bands from dark to light, a gold rule under the name.
    for (int i = 0; i < 6; ++i) c.Rect(0, 150 + i * 17, 400, 17, i % 2 ? kDeep : kBand);
    c.Rect(0, 0, 400, 6, kDeep);
    // A magnifying glass: ring, lens and handle.
    const int cx = 330, cy = 70;
    for (int y = -34; y <= 34; ++y)
        for (int x = -34; x <= 34; ++x) {
            const int d = x * x + y * y;
            if (d <= 34 * 34 && d >= 27 * 27) c.Rect(cx + x, cy + y, 1, 1, kGold);
            else if (d < 27 * 27) c.Rect(cx + x, cy + y, 1, 1, (x + y) < -10 ? kSky : kBand);
        }
    for (int i = 0; i < 34; ++i) c.Rect(cx + 22 + i, cy + 22 + i, 9, 9, kGold);

    const std::string name = "QUILLMAR";
    c.Text(24, 44, name, kWhite, 5);
    c.Rect(24, 88, GifCanvas::TextWidth(name, 5) - 5, 4, kGold);
    c.Text(24, 108, "META-SEARCH FOR YOUR DESKTOP", kSky, 2);
    c.Text(24, 130, "V1.22", kGrey, 2);
    // One line per kind of search, as on the side bar.
    const char *lines[] = {"WEB - NEWS - SOFTWARE - MP3", "FORUMS - DAILY NEWS - TOOLS"};
    c.Text(24, 168, lines[0], kWhite, 2);
    c.Text(24, 202, lines[1], kWhite, 2);
    c.Rect(0, 244, 400, 6, kRed);
    return c;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fputs("usage: quillmar-front-page FILE\n", stderr);
        return 2;
    }
    const std::string gif = Draw().Encode();
    std::FILE *f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(gif.data(), 1, gif.size(), f) != gif.size() || std::fclose(f) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
