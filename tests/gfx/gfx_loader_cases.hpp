#pragma once
// What the damaged-file corpus and the fuzzers share: small valid files of every
// variant the loaders read (made with the writers and a field-by-field BMP builder,
// nothing taken from elsewhere), the drawing every file that loads gets, and file
// writing (the loaders read named files).
#include "base/types.hpp"
#include "gfx/bitmap.hpp"
#include "gfx/bitmap_writer.hpp"
#include "gfx/font.hpp"
#include "gfx/font_writer.hpp"
#include "gfx/primitives.hpp"
#include "gfx/text.hpp"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// Writes a file, making its directory first; false when it cannot be written.
inline bool writeFileBytes(const std::string& path, const u8* data, size_t size) {
    if (const std::filesystem::path dir = std::filesystem::path(path).parent_path(); !dir.empty())
        std::filesystem::create_directories(dir);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    if (size) std::fwrite(data, 1, size, f);
    return std::fclose(f) == 0;
}

// Appends the `bytes` low bytes of v, least significant first.
inline void put32(std::vector<u8>& out, u32 v, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<u8>(v >> 8 * i));
}

inline std::vector<u8> masks(u32 red, u32 green, u32 blue) {
    std::vector<u8> out;
    for (u32 mask : {red, green, blue}) put32(out, mask);
    return out;
}

// A BMP file field by field, so tests can make every variant and every fault.
struct BmpBuilder {
    i32 width = 1;
    i32 height = 1;
    u32 bits = 24;
    u32 compression = 0;
    u32 colorsUsed = 0;
    u32 infoSize = 40;
    u32 planes = 1;
    std::vector<u8> palette{}; // raw bytes after the headers (palette or masks)
    std::vector<u8> rows{};    // raw row bytes as stored in the file

    std::vector<u8> build() const {
        std::vector<u8> out{'B', 'M'};
        const u32 offset = 54 + static_cast<u32>(palette.size());
        const u32 size = static_cast<u32>(rows.size());
        for (u32 v : {offset + size, 0u, offset, infoSize, u32(width), u32(height)}) put32(out, v);
        put32(out, planes, 2);
        put32(out, bits, 2);
        for (u32 v : {compression, size, 0u, 0u, colorsUsed, 0u}) put32(out, v);
        out.insert(out.end(), palette.begin(), palette.end());
        out.insert(out.end(), rows.begin(), rows.end());
        return out;
    }
};

// Every BMP variant the loader accepts, with what it must read from it.
struct BitmapVariant {
    BmpBuilder file;
    i32 bits;                          // the loaded bitmap's bitsPerPixel
    std::optional<PixelFormat> format; // and pixel format
    size_t paletteSize;
    std::vector<u32> row0; // the top row drawn on a 24-bit RGB frame
};

inline std::vector<BitmapVariant> acceptedBitmapVariants() {
    std::vector<u8> nibbles, sixteen(64); // 4 bits: entry i is blue i; 16 colours: entry 5 green 200
    for (u8 i = 0; i < 16; ++i) nibbles.insert(nibbles.end(), {i, 0, 0, 0});
    sixteen[5 * 4 + 1] = 200;
    const std::vector<u8> redThenBlue{0, 0, 255, 0, 255, 0, 0, 0}, pixel32{0x11, 0x22, 0x33, 0x44};
    // One file variant per row.
    // clang-format off
    return {
        // Bottom-up, the last stored row (blue) is the top; top-down, the first.
        {{.height = 2, .rows = redThenBlue}, 24, pixelFormatRGB24, 0, {0x0000FF}},
        {{.height = -2, .rows = redThenBlue}, 24, pixelFormatRGB24, 0, {0xFF0000}},
        // 1 bit, 17 wide: 3 bytes of pixels padded to 4 (drawn in the current colour).
        {{.width = 17, .bits = 1, .palette = {0, 0, 0, 0, 255, 255, 255, 0}, .rows = {0x80, 0, 0x80, 0}}, 1,
         std::nullopt, 2, {}},
        {{.width = 3, .height = -1, .bits = 4, .palette = nibbles, .rows = {0x12, 0x30, 0, 0}}, 4, std::nullopt, 16,
         {1, 2, 3}},
        // 16 colours used: a 64-byte palette, then the rows; index 20 lies beyond it and reads as black.
        {{.width = 2, .height = -2, .bits = 8, .colorsUsed = 16, .palette = sixteen,
          .rows = {5, 20, 0, 0, 1, 2, 3, 4}}, 8, std::nullopt, 16, {0x00C800, 0}},
        {{.width = 2, .bits = 16, .rows = {0xFF, 0x7F, 0x00, 0x7C}}, 15, pixelFormat555, 0, {0xFFFFFF, 0xFF0000}},
        {{.width = 2, .bits = 16, .compression = 3, .palette = masks(0xF800, 0x7E0, 0x1F),
          .rows = {0, 0xF8, 0xE0, 7}}, 16, pixelFormat565, 0, {0xFF0000, 0x00FF00}},
        {{.compression = 3, .palette = masks(0xFF, 0xFF00, 0xFF0000), .rows = {0x11, 0x22, 0x33, 0}}, 24,
         pixelFormatBGR24, 0, {0x112233}},
        // 32 bits: no masks, or the red mask's place names the format.
        {{.bits = 32, .rows = pixel32}, 32, pixelFormatARGB32, 0, {0x332211}},
        {{.bits = 32, .compression = 3, .palette = masks(0xFF0000, 0, 0), .rows = pixel32}, 32, pixelFormatARGB32, 0,
         {0x332211}},
        {{.bits = 32, .compression = 3, .palette = masks(0xFF, 0, 0), .rows = pixel32}, 32, pixelFormatABGR32, 0,
         {0x112233}},
        {{.bits = 32, .compression = 3, .palette = masks(0xFF00, 0, 0), .rows = pixel32}, 32, pixelFormatBGRA32, 0,
         {0x223344}},
        {{.bits = 32, .compression = 3, .palette = masks(0xFF000000, 0, 0), .rows = pixel32}, 32, pixelFormatRGBA32,
         0, {0x443322}},
    };
    // clang-format on
}

// The accepted variants, and files of both kinds the writer makes.
inline std::vector<std::vector<u8>> bitmapSeeds() {
    Bitmap rgb = makeBitmap(5, 3, 24), indexed = makeBitmap(6, 2, 8);
    for (size_t i = 0; i < rgb.pixels.size(); ++i) rgb.pixels[i] = static_cast<u8>(i * 37);
    indexed.palette.assign(256, PaletteEntry{9, 8, 7, 0});
    indexed.row(1)[3] = 200;
    std::vector<std::vector<u8>> seeds{encodeBitmap(rgb), encodeBitmap(indexed)};
    for (const BitmapVariant& v : acceptedBitmapVariants()) seeds.push_back(v.file.build());
    return seeds;
}

inline std::vector<std::vector<u8>> fontSeeds() {
    RasterFontSource s{
        .name = "Seed", .height = 6, .ascent = 5, .firstChar = 'a', .lastChar = 'c', .glyphs = {}};
    for (i32 w : {3, 9, 17})
        s.glyphs.push_back(GlyphImage{w, std::vector<u8>(static_cast<size_t>((w + 7) / 8 * 6), 0x5A)});
    Font own = buildFont(s);
    std::vector<std::vector<u8>> seeds{encodeFntFont(s), encodeFont(own)};
    own.setFontType(Font::vectorFont); // the same record read as strokes
    seeds.push_back(encodeFont(own));
    return seeds;
}

// The glyph-buffer fatal end, thrown instead of ending the program while damaged
// files are fed to the font loader (setFatalHook(throwFatal)).
struct FatalRaised {};
[[noreturn]] inline void throwFatal(const char*) {
    throw FatalRaised{};
}

// Loads a bitmap file with and without its palette and draws whatever loads every
// way the game does, partly off the surface.
inline void loadAndDrawBitmap(const std::string& path) {
    for (int loadPalette : {0, 1}) {
        auto bm = loadBitmap(path, loadPalette);
        if (!bm) continue;
        if (bm->pixels.size() != static_cast<size_t>(bm->bytesPerLine) * bm->height)
            throw std::logic_error("loaded bitmap has the wrong number of pixel bytes");
        for (i32 bits : {8, 24}) {
            auto dc = createMemoryContext(9, 5, bits);
            putBitmap(*dc, -2, 1, bm.get(), writeReplace);
            putBitmapTransparent(*dc, 3, -1, bm.get(), 0xFFFFFF, 1);
        }
    }
}

// Loads a font file and, if it loads, draws and measures every character code.
inline void loadAndDrawFont(const std::string& path) {
    std::unique_ptr<Font> font;
    try {
        font = loadFont(path);
    } catch (const FatalRaised&) {
        return; // oversized glyphs end the program by design
    }
    if (!font) return;
    auto dc = createMemoryContext(40, 40, 24);
    DeviceContext* previous = gfx::state.currentContext;
    makeCurrentContext(dc.get());
    useFont(font.get());
    setColor(0xFFFFFF);
    std::string text;
    for (int c = 1; c < 256; ++c) text += static_cast<char>(c);
    drawText(3, 3, text.c_str());
    textWidth(text.c_str());
    makeCurrentContext(previous);
}
