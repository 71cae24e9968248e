#include "gfx/png_writer.hpp"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace {

// libpng reports a failure by jumping back to the setjmp of the write; nothing
// with a destructor may live between the two, so the row is allocated outside.
bool writePng(std::FILE* file, const u8* pixels, u32 width, u32 height, u32 bytesPerLine,
              std::vector<u8>& row) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    // Fast compression: a screenshot taken in a match must not hold the game up.
    png_set_compression_level(png, 3);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (u32 y = 0; y < height; ++y) {
        const u8* from = pixels + static_cast<size_t>(y) * bytesPerLine;
        for (u32 x = 0; x < width; ++x) {
            row[3 * x] = from[3 * x + 2];
            row[3 * x + 1] = from[3 * x + 1];
            row[3 * x + 2] = from[3 * x];
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool savePng(const std::string& path, const u8* pixels, u32 width, u32 height, u32 bytesPerLine) {
    if (width == 0 || height == 0) return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::vector<u8> row(static_cast<size_t>(width) * 3);
    const bool written = writePng(file, pixels, width, height, bytesPerLine, row);
    return std::fclose(file) == 0 && written;
}
