// quillmar-make-banner FILE: draws the window's built-in banner picture (468 x 60) with the
// fake web's GIF writer. Run once; the picture is kept in resources/icons/banner.gif.
#include "fakeweb/Gif.h"
#include "toolkit/AtomicFile.h"

#include <cstdio>
#include <string>

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillmar-make-banner FILE\n");
        return 2;
    }
    // 0 background, 1..4 bands from dark to light, 5 text, 6 shadow
    qm::fakeweb::GifCanvas c(468, 60, {0xf4f7fb, 0x1d4f91, 0x2f6db5, 0x4d8ad0, 0x8fb6e4, 0xffffff, 0x0f2c52});
    for (int i = 0; i < 4; ++i) c.Rect(0, i * 15, 468, 15, uint8_t(1 + i));
    c.Rect(0, 0, 468, 2, 6);
    c.Rect(0, 58, 468, 2, 6);
    const std::string title = "QUILLMAR", line = "THE EASY WAY TO SEARCH THE WEB";
    const int tx = (468 - qm::fakeweb::GifCanvas::TextWidth(title, 3)) / 2;
    c.Text(tx + 2, 8, title, 6, 3);
    c.Text(tx, 6, title, 5, 3);
    c.Text((468 - qm::fakeweb::GifCanvas::TextWidth(line, 2)) / 2, 38, line, 5, 2);
    if (!qm::WriteFileAtomic(argv[1], c.Encode())) {
        std::fprintf(stderr, "quillmar-make-banner: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
