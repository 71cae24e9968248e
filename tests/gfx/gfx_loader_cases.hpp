#pragma once
// What the damaged-file corpus and the fuzzers share: small valid files of every
// variant the loaders read (made with the writers and a field-by-field BMP builder,
// nothing taken from elsewhere), and the drawing every file that loads gets.
#include "base/types.hpp"
#include "gfx/bitmap.hpp"
#include "gfx/bitmap_writer.hpp"
#include "gfx/font.hpp"
#include "gfx/font_writer.hpp"
#include "gfx/primitives.hpp"
#include "gfx/text.hpp"

#include <vector>

inline void put16(std::vector<u8>& out, u32 v) {
    out.push_back(static_cast<u8>(v));
    out.push_back(static_cast<u8>(v >> 8));
}

inline void put32(std::vector<u8>& out, u32 v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
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
    std::vector<u8> palette; // raw bytes after the headers (palette or masks)
    std::vector<u8> rows;    // raw row bytes as stored in the file

    std::vector<u8> build() const {
        std::vector<u8> out{'B', 'M'};
        put32(out, static_cast<u32>(54 + palette.size() + rows.size()));
        put32(out, 0);
        put32(out, static_cast<u32>(54 + palette.size()));
        put32(out, infoSize);
        put32(out, static_cast<u32>(width));
        put32(out, static_cast<u32>(height));
        put16(out, planes);
        put16(out, bits);
        put32(out, compression);
        put32(out, static_cast<u32>(rows.size()));
        put32(out, 0);
        put32(out, 0);
        put32(out, colorsUsed);
        put32(out, 0);
        out.insert(out.end(), palette.begin(), palette.end());
        out.insert(out.end(), rows.begin(), rows.end());
        return out;
    }
};

inline std::vector<std::vector<u8>> bitmapSeeds() {
    std::vector<std::vector<u8>> seeds;
    Bitmap rgb = makeBitmap(5, 3, 24);
    for (size_t i = 0; i < rgb.pixels.size(); ++i) rgb.pixels[i] = static_cast<u8>(i * 37);
    seeds.push_back(encodeBitmap(rgb));
    Bitmap indexed = makeBitmap(6, 2, 8);
    indexed.palette.assign(256, PaletteEntry{9, 8, 7, 0});
    indexed.row(1)[3] = 200;
    seeds.push_back(encodeBitmap(indexed));
    for (const u32 bits : {1u, 4u, 16u, 32u}) {
        BmpBuilder b;
        b.width = 7;
        b.height = -3;
        b.bits = bits;
        if (bits <= 8) b.palette.assign((size_t{4} << bits), 0x55);
        if (bits == 32) {
            b.compression = 3;
            for (u32 mask : {0xFFu, 0xFF00u, 0xFF0000u}) put32(b.palette, mask);
        }
        b.rows.assign(static_cast<size_t>(bitmapBytesPerLine(7, static_cast<i32>(bits)) * 3), 0xA5);
        seeds.push_back(b.build());
    }
    // Bit fields of 5:6:5 and of blue-first 24-bit pixels, and a short palette.
    BmpBuilder fields565;
    fields565.width = 3;
    fields565.height = 2;
    fields565.bits = 16;
    fields565.compression = 3;
    for (u32 mask : {0xF800u, 0x7E0u, 0x1Fu}) put32(fields565.palette, mask);
    fields565.rows.assign(16, 0x3C);
    seeds.push_back(fields565.build());
    BmpBuilder bgr = fields565;
    bgr.bits = 24;
    bgr.palette.clear();
    for (u32 mask : {0xFFu, 0xFF00u, 0xFF0000u}) put32(bgr.palette, mask);
    bgr.rows.assign(24, 0xC3);
    seeds.push_back(bgr.build());
    BmpBuilder sixteenColours;
    sixteenColours.width = 4;
    sixteenColours.height = 2;
    sixteenColours.bits = 8;
    sixteenColours.colorsUsed = 16;
    sixteenColours.palette.assign(64, 0x77);
    sixteenColours.rows = {0, 5, 15, 40, 1, 2, 3, 4};
    seeds.push_back(sixteenColours.build());
    return seeds;
}

inline std::vector<std::vector<u8>> fontSeeds() {
    RasterFontSource s;
    s.name = "Seed";
    s.height = 6;
    s.ascent = 5;
    s.firstChar = 'a';
    s.lastChar = 'c';
    for (i32 w : {3, 9, 17}) s.glyphs.push_back(GlyphImage{w, std::vector<u8>(static_cast<size_t>((w + 7) / 8 * 6), 0x5A)});
    std::vector<std::vector<u8>> seeds{encodeFntFont(s)};
    Font own = buildFont(s);
    seeds.push_back(encodeFont(own));
    own.setFontType(Font::vectorFont); // the same record read as strokes
    seeds.push_back(encodeFont(own));
    return seeds;
}


// Draws a loaded bitmap every way the game does, partly off the surface.
inline void drawLoadedBitmap(const Bitmap& bm) {
    for (i32 bits : {8, 24}) {
        auto dc = createMemoryContext(9, 5, bits);
        putBitmap(*dc, -2, 1, &bm, writeReplace);
        putBitmapTransparent(*dc, 3, -1, &bm, 0xFFFFFF, 1);
    }
}

// Draws and measures every character code with a loaded font.
inline void drawLoadedFont(const Font& font) {
    auto dc = createMemoryContext(40, 40, 24);
    DeviceContext* previous = currentContext;
    makeCurrentContext(dc.get());
    useFont(&font);
    setColor(0xFFFFFF);
    char text[256];
    for (int c = 1; c < 256; ++c) text[c - 1] = static_cast<char>(c);
    text[255] = 0;
    drawText(3, 3, text);
    textWidth(text);
    makeCurrentContext(previous);
}
