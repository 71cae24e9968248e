// icon_maker: paints the game's icon for the desktop and for its window.
//
//   icon_maker <run directory>
//
// Writes <run directory>/icons/hicolor/<N>x<N>/apps/tessaron3d.png for the sizes
// of the hicolor icon theme (installed under share/icons, not with the game's
// data) and <run directory>/Bitmaps/icon.bmp, 64 x 64 pixels of 32 bits with
// alpha, which the game gives its window.
#include "tools/icon_maker/icon_art.hpp"

#include <png.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int themeSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr int windowIconSize = 64;

// An 8-bit RGBA PNG without a time stamp, so a rerun writes the same bytes.
bool writePng(const fs::path& path, const std::vector<u8>& rgba, int size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = false;
    if (info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_compression_level(png, 9);
        png_set_IHDR(png, info, static_cast<png_uint_32>(size), static_cast<png_uint_32>(size), 8,
                     PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < size; ++y)
            png_write_row(png, rgba.data() + static_cast<size_t>(y) * size * 4);
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}

void put16(std::vector<u8>& out, u32 v) {
    out.push_back(static_cast<u8>(v));
    out.push_back(static_cast<u8>(v >> 8));
}
void put32(std::vector<u8>& out, u32 v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A bottom-up BMP of 32 bits per pixel, bytes blue, green, red, alpha.
bool writeBmp(const fs::path& path, const std::vector<u8>& rgba, int size) {
    const u32 imageBytes = static_cast<u32>(size) * size * 4;
    std::vector<u8> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + imageBytes);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40); // the plain information header
    put32(out, static_cast<u32>(size));
    put32(out, static_cast<u32>(size));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0); // uncompressed
    put32(out, imageBytes);
    put32(out, 2835); // 72 dots per inch
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const u8* p = &rgba[(static_cast<size_t>(y) * size + x) * 4];
            out.insert(out.end(), {p[2], p[1], p[0], p[3]});
        }
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}

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
        if (error || !writePng(file, paintIcon(size), size)) {
            std::fprintf(stderr, "icon_maker: cannot write %s\n", file.c_str());
            ok = false;
        }
    }
    const fs::path bmp = dir / "Bitmaps" / "icon.bmp";
    if (!writeBmp(bmp, paintIcon(windowIconSize), windowIconSize)) {
        std::fprintf(stderr, "icon_maker: cannot write %s\n", bmp.c_str());
        ok = false;
    }
    if (ok) std::printf("wrote the icons to %s\n", (dir / "icons").c_str());
    return ok ? 0 : 1;
}
