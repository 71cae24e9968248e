#pragma once
// Writes font files in both formats the layer reads: the font tool makes the game's
// fonts with it and tests make their fixtures. Both start from a set of glyph images.
#include "base/types.hpp"
#include "gfx/font.hpp"

#include <string>
#include <vector>

// One glyph: its advance and its image, `height` rows of (width + 7) / 8 bytes,
// the most significant bit the leftmost pixel, a set bit ink.
struct GlyphImage {
    i32 width = 0;
    std::vector<u8> rows;
};

// A raster font to be written: glyphs for every code from firstChar to lastChar.
struct RasterFontSource {
    std::string name;   // face name, at most 57 characters are kept
    i32 pixelWidth = 0; // nonzero: every glyph this wide (a fixed-width font)
    i32 height = 0;     // rows of every glyph
    i32 ascent = 0;     // rows from the top of the cell to the baseline
    i32 internalLeading = 0;
    i32 externalLeading = 0;
    i32 points = 0;   // nominal size
    i32 weight = 400; // 400 regular, 700 bold
    bool italic = false;
    u8 firstChar = 32;
    u8 lastChar = 126;
    u8 defaultChar = 0;             // counted from firstChar
    std::vector<GlyphImage> glyphs; // lastChar - firstChar + 1 of them
};

// The Windows 2.0 raster font file (header, character table with the closing entry,
// glyph bits in columns, face name).
std::vector<u8> encodeFntFont(const RasterFontSource& source);
bool saveFntFont(const std::string& path, const RasterFontSource& source);

// The font record the FNT conversion makes of the same glyphs.
Font buildFont(const RasterFontSource& source);

// The graphics layer's own font file for a record: signature, name, then the record
// from its fontType field on.
std::vector<u8> encodeFont(const Font& font);
bool saveFont(const std::string& path, const Font& font);
