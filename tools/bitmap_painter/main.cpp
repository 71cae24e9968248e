// bitmap_painter: paints the game's pictures into <run directory>/Bitmaps.
//
//   bitmap_painter <run directory>
#include "gfx/bitmap_writer.hpp"
#include "tools/bitmap_painter/pictures.hpp"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bitmap_painter <run directory>\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/Bitmaps/";
    bool ok = true;
    const auto save = [&](const char* name, const Bitmap& bitmap) {
        if (!saveBitmap(dir + name, bitmap)) {
            std::fprintf(stderr, "bitmap_painter: cannot write %s%s\n", dir.c_str(), name);
            ok = false;
        }
    };
    try {
        // Drawn at (1, 1) on a 640 x 480 screen: 638 x 478 fits it exactly.
        save("main-256.bmp", toBitmap8(paintMenu(638, 478)));
        save("sky1.bmp", toBitmap24(paintSky(1), false));
        save("sky2.bmp", toBitmap24(paintSky(2), false));
        save("cockpit1.bmp", toBitmap24(paintCockpit(cockpitLayout640()), true));
        save("cockpit2.bmp", toBitmap24(paintCockpit(cockpitLayout320()), true));
        save("green-light1.bmp", toBitmap24(paintLamp(16, {40, 210, 60}), false));
        save("green-light2.bmp", toBitmap24(paintLamp(8, {40, 210, 60}), false));
        save("blue-light1.bmp", toBitmap24(paintLamp(16, {40, 110, 250}), false));
        save("blue-light2.bmp", toBitmap24(paintLamp(8, {40, 110, 250}), false));
        save("segment_h1.bmp", toBitmap24(paintSegment(10, 2), false));
        save("segment_v1.bmp", toBitmap24(paintSegment(2, 9), false));
        save("segment_h2.bmp", toBitmap24(paintSegment(5, 1), false));
        save("segment_v2.bmp", toBitmap24(paintSegment(1, 5), false));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bitmap_painter: %s\n", e.what());
        return 1;
    }
    if (ok) std::printf("wrote the pictures to %s\n", dir.c_str());
    return ok ? 0 : 1;
}
