// icon_maker: paints the game's icon for the desktop and for its window.
//
//   icon_maker <run directory>
//
// Writes <run directory>/icons/hicolor/<N>x<N>/apps/tessaron3d.png for the sizes
// of the hicolor icon theme (installed under share/icons, not with the game's
// data) and <run directory>/Bitmaps/icon.bmp, 64 x 64 pixels of 32 bits with
// alpha, which the game gives its window.
#include "gfx/bitmap_writer.hpp"
#include "gfx/png_writer.hpp"
#include "tools/icon_maker/icon_art.hpp"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int themeSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr int windowIconSize = 64;

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: icon_maker <run directory>\n");
        return 2;
    }
    const fs::path dir = argv[1];
    bool ok = true;
    for (const int size : themeSizes) {
        const std::string sizeName = std::to_string(size) + "x" + std::to_string(size);
        const fs::path folder = dir / "icons" / "hicolor" / sizeName / "apps";
        std::error_code error;
        fs::create_directories(folder, error);
        const fs::path file = folder / "tessaron3d.png";
        if (error || !saveRgbaPng(file.string(), paintIcon(size).data(), size, size)) {
            std::fprintf(stderr, "icon_maker: cannot write %s\n", file.c_str());
            ok = false;
        }
    }
    const fs::path bmp = dir / "Bitmaps" / "icon.bmp";
    if (!saveRgbaBitmap(bmp.string(), paintIcon(windowIconSize).data(), windowIconSize, windowIconSize)) {
        std::fprintf(stderr, "icon_maker: cannot write %s\n", bmp.c_str());
        ok = false;
    }
    if (ok) std::printf("wrote the icons to %s\n", (dir / "icons").c_str());
    return ok ? 0 : 1;
}
