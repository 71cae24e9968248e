#pragma once
// A loaded font. The record is a byte layout (the graphics layer's own font file
// holds it byte for byte from offset 58), so it is kept as bytes with accessors:
//
//   0     name, 58 bytes NUL-terminated      74    width[256], advance per code
//   58    fontType (1 vector, 2 fixed,       330   offset[256], u16; 0xFFFF = no glyph
//         3 proportional bitmap)             842   imageWidth[256] (bitmap fonts) or
//   60    maxWidth       62 leftOverhang           the start of the stroke data (vector)
//   64    fontWidth      66 fontHeight       1098  imageLeft[256]
//   68    ascent         70 descent          1354  glyph images (bitmap fonts)
//   72    leading
//
// All multi-byte values little-endian; the 16-bit header fields are signed.
#include "base/types.hpp"

#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

struct Font {
    static constexpr size_t nameOffset = 0;
    static constexpr size_t nameSize = 58;
    static constexpr size_t fontTypeOffset = 58;
    static constexpr size_t maxWidthOffset = 60;
    static constexpr size_t leftOverhangOffset = 62;
    static constexpr size_t fontWidthOffset = 64;
    static constexpr size_t fontHeightOffset = 66;
    static constexpr size_t ascentOffset = 68;
    static constexpr size_t descentOffset = 70;
    static constexpr size_t leadingOffset = 72;
    static constexpr size_t widthOffset = 74;
    static constexpr size_t glyphOffsetOffset = 330;
    static constexpr size_t imageWidthOffset = 842;
    static constexpr size_t strokeDataOffset = 842; // vector fonts: strokes start here
    static constexpr size_t imageLeftOffset = 1098;
    static constexpr size_t glyphImagesOffset = 1354;
    static constexpr u16 noGlyph = 0xFFFF;

    static constexpr i16 vectorFont = 1;
    static constexpr i16 fixedFont = 2;
    static constexpr i16 proportionalFont = 3;

    std::vector<u8> record; // at least glyphImagesOffset bytes

    // A record of `size` zero bytes (at least the header).
    explicit Font(size_t size = glyphImagesOffset)
        : record(size < glyphImagesOffset ? glyphImagesOffset : size) {}

    // The name; the record keeps byte 57 NUL so this always ends inside the field.
    const char* name() const { return reinterpret_cast<const char*>(record.data()); }
    void setName(std::string_view text) {
        std::memset(record.data(), 0, nameSize);
        std::memcpy(record.data(), text.data(), text.size() < nameSize ? text.size() : nameSize - 1);
    }

    i16 fontType() const { return get16(fontTypeOffset); }
    i16 maxWidth() const { return get16(maxWidthOffset); }
    i16 leftOverhang() const { return get16(leftOverhangOffset); }
    i16 fontWidth() const { return get16(fontWidthOffset); }
    i16 fontHeight() const { return get16(fontHeightOffset); }
    i16 ascent() const { return get16(ascentOffset); }
    i16 descent() const { return get16(descentOffset); }
    i16 leading() const { return get16(leadingOffset); }
    void setFontType(i16 v) { set16(fontTypeOffset, v); }
    void setMaxWidth(i16 v) { set16(maxWidthOffset, v); }
    void setLeftOverhang(i16 v) { set16(leftOverhangOffset, v); }
    void setFontWidth(i16 v) { set16(fontWidthOffset, v); }
    void setFontHeight(i16 v) { set16(fontHeightOffset, v); }
    void setAscent(i16 v) { set16(ascentOffset, v); }
    void setDescent(i16 v) { set16(descentOffset, v); }
    void setLeading(i16 v) { set16(leadingOffset, v); }

    u8 width(u8 c) const { return record[widthOffset + c]; }
    u16 glyphOffset(u8 c) const { return static_cast<u16>(get16(glyphOffsetOffset + 2 * size_t{c})); }
    u8 imageWidth(u8 c) const { return record[imageWidthOffset + c]; }
    u8 imageLeft(u8 c) const { return record[imageLeftOffset + c]; }
    void setWidth(u8 c, u8 v) { record[widthOffset + c] = v; }
    void setGlyphOffset(u8 c, u16 v) { set16(glyphOffsetOffset + 2 * size_t{c}, static_cast<i16>(v)); }
    void setImageWidth(u8 c, u8 v) { record[imageWidthOffset + c] = v; }
    void setImageLeft(u8 c, u8 v) { record[imageLeftOffset + c] = v; }
    // Character `to` takes the width, image and glyph of character `from` (character
    // 0 holds the font's default character this way).
    void copyGlyphEntry(u8 to, u8 from) {
        setWidth(to, width(from));
        setImageWidth(to, imageWidth(from));
        setGlyphOffset(to, glyphOffset(from));
        setImageLeft(to, imageLeft(from));
    }

    // The code whose glyph and width stand for `c`: c itself, or 0 (the default
    // character) when c has no glyph.
    u8 glyphCode(u8 c) const { return glyphOffset(c) == noGlyph ? 0 : c; }

    i16 get16(size_t at) const { return static_cast<i16>(record[at] | record[at + 1] << 8); }
    void set16(size_t at, i16 v) {
        record[at] = static_cast<u8>(v);
        record[at + 1] = static_cast<u8>(static_cast<u16>(v) >> 8);
    }
};

// The signature that starts the graphics layer's own font files.
inline constexpr char fontFileSignature[] = "RasterGfx Font File:";

// Loads a font file of either format, looked for as the name itself, then under the
// library root and "RGL_ROOT" in "FONTS\". Null with the last error set: -14 not
// found, -13 corrupt, -26 an FNT version other than 2.0, -5 no memory. A converted
// glyph above 512 bytes ends the program ("Temporary glyph buffer is too small!!").
std::unique_ptr<Font> loadFont(std::string_view name);

// The FNT conversion's reordering of one glyph of `rows` rows and `bytesPerRow`
// bytes per row from column order into row order, in place.
void reorderGlyphColumns(u8* glyph, i32 bytesPerRow, i32 rows);
