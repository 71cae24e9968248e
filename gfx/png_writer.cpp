#include "gfx/png_writer.hpp"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace {

// How a picture is handed to libpng: its colour type, compression and a way to
// get each row in PNG byte order (possibly converted into `scratch`).
struct PngSource {
    int colorType;
    int compressionLevel;
    const u8* (*row)(const PngSource& source, u32 y, std::vector<u8>& scratch);
    const u8* pixels;
    u32 width, height, bytesPerLine;
};

// libpng reports a failure by jumping back to the setjmp of the write; nothing
// with a destructor may live between the two, so the row is allocated outside.
bool writePng(std::FILE* file, const PngSource& source, std::vector<u8>& scratch) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, source.compressionLevel);
    png_set_IHDR(png, info, source.width, source.height, 8, source.colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (u32 y = 0; y < source.height; ++y) png_write_row(png, source.row(source, y, scratch));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool savePngFile(const std::string& path, const PngSource& source, size_t scratchBytes) {
    if (source.width == 0 || source.height == 0) return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::vector<u8> scratch(scratchBytes);
    const bool written = writePng(file, source, scratch);
    return std::fclose(file) == 0 && written;
}

// A frame row's blue, green, red turned into red, green, blue.
const u8* frameRow(const PngSource& source, u32 y, std::vector<u8>& row) {
    const u8* from = source.pixels + static_cast<size_t>(y) * source.bytesPerLine;
    for (u32 x = 0; x < source.width; ++x) {
        row[3 * x] = from[3 * x + 2];
        row[3 * x + 1] = from[3 * x + 1];
        row[3 * x + 2] = from[3 * x];
    }
    return row.data();
}

const u8* packedRow(const PngSource& source, u32 y, std::vector<u8>&) {
    return source.pixels + static_cast<size_t>(y) * source.bytesPerLine;
}

} // namespace

bool savePng(const std::string& path, const u8* pixels, u32 width, u32 height, u32 bytesPerLine) {
    const PngSource source{PNG_COLOR_TYPE_RGB, 3, frameRow, pixels, width, height, bytesPerLine};
    return savePngFile(path, source, static_cast<size_t>(width) * 3);
}

bool saveRgbaPng(const std::string& path, const u8* rgba, u32 width, u32 height) {
    const PngSource source{PNG_COLOR_TYPE_RGB_ALPHA, 9, packedRow, rgba, width, height, width * 4};
    return savePngFile(path, source, 0);
}
