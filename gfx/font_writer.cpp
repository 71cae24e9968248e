#include "gfx/font_writer.hpp"
#include "base/file_write.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr size_t fntHeaderSize = 118;

void put8(std::vector<u8>& out, u32 v) {
    out.push_back(static_cast<u8>(v));
}
void put16(std::vector<u8>& out, u32 v) {
    put8(out, v);
    put8(out, v >> 8);
}
void put32(std::vector<u8>& out, u32 v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

i32 bytesPerRow(const GlyphImage& g) {
    return (g.width + 7) / 8;
}

// True when the source describes glyphs the loaders accept.
bool usable(const RasterFontSource& s) {
    if (s.lastChar < s.firstChar || s.height <= 0 || s.defaultChar > s.lastChar - s.firstChar) return false;
    if (s.glyphs.size() != size_t{s.lastChar} - s.firstChar + 1u) return false;
    return std::all_of(s.glyphs.begin(), s.glyphs.end(), [&s](const GlyphImage& g) {
        return g.width >= 0 && g.width <= 248 &&
               g.rows.size() == static_cast<size_t>(bytesPerRow(g)) * static_cast<size_t>(s.height);
    });
}

i32 maxGlyphWidth(const RasterFontSource& s) {
    i32 widest = 0;
    for (const GlyphImage& g : s.glyphs) widest = std::max(widest, g.width);
    return widest;
}

std::string keptName(const std::string& name) {
    return name.substr(0, std::min<size_t>(name.size(), 57));
}

// An empty encoding means the picture or font could not be encoded.
bool writeEncoded(const std::string& path, const std::vector<u8>& bytes) {
    return !bytes.empty() && writeFileBytes(path, bytes);
}

} // namespace

std::vector<u8> encodeFntFont(const RasterFontSource& s) {
    if (!usable(s)) return {};
    const size_t count = s.glyphs.size();
    const size_t bitsOffset = fntHeaderSize + (count + 1) * 4; // the table has a closing entry
    size_t bitsSize = 0;
    for (const GlyphImage& g : s.glyphs) bitsSize += g.rows.size();
    const std::string name = keptName(s.name);
    const size_t faceOffset = bitsOffset + bitsSize;
    const size_t fileSize = faceOffset + name.size() + 1;
    if (faceOffset > 0xFFFF) return {}; // glyph offsets are 16-bit in version 2.0

    const i32 maxWidth = maxGlyphWidth(s);
    i32 strikeBytes = 0;
    for (const GlyphImage& g : s.glyphs) strikeBytes += bytesPerRow(g);
    const u8 x = 'X';
    const i32 avgWidth = s.pixelWidth                            ? s.pixelWidth
                         : (x >= s.firstChar && x <= s.lastChar) ? s.glyphs[x - s.firstChar].width
                                                                 : maxWidth;
    const u8 space = ' ';
    const u32 breakChar = space >= s.firstChar && space <= s.lastChar ? space - s.firstChar : 0;

    std::vector<u8> out;
    out.reserve(fileSize);
    put16(out, 0x200);
    put32(out, static_cast<u32>(fileSize));
    out.resize(out.size() + 60, 0); // copyright
    put16(out, 0);                  // raster font
    put16(out, static_cast<u32>(s.points));
    put16(out, 96);
    put16(out, 96);
    put16(out, static_cast<u32>(s.ascent));
    put16(out, static_cast<u32>(s.internalLeading));
    put16(out, static_cast<u32>(s.externalLeading));
    put8(out, s.italic ? 1 : 0);
    put8(out, 0); // underline
    put8(out, 0); // strike-out
    put16(out, static_cast<u32>(s.weight));
    put8(out, 0); // ANSI
    put16(out, static_cast<u32>(s.pixelWidth));
    put16(out, static_cast<u32>(s.height));
    put8(out, s.pixelWidth ? 0 : 1); // variable pitch
    put16(out, static_cast<u32>(avgWidth));
    put16(out, static_cast<u32>(maxWidth));
    put8(out, s.firstChar);
    put8(out, s.lastChar);
    put8(out, s.defaultChar);
    put8(out, breakChar);
    put16(out, static_cast<u32>(strikeBytes + (strikeBytes & 1)));
    put32(out, 0); // no device name
    put32(out, static_cast<u32>(faceOffset));
    put32(out, 0); // bits pointer
    put32(out, static_cast<u32>(bitsOffset));
    put8(out, 0);

    size_t at = bitsOffset;
    for (const GlyphImage& g : s.glyphs) {
        put16(out, static_cast<u32>(g.width));
        put16(out, static_cast<u32>(at));
        at += g.rows.size();
    }
    put16(out, 0); // the closing entry marks where the last glyph ends
    put16(out, static_cast<u32>(at));

    // Glyph bits column by column: each 8-pixel column top to bottom.
    for (const GlyphImage& g : s.glyphs) {
        const i32 b = bytesPerRow(g);
        for (i32 i = 0; i < b; ++i)
            for (i32 r = 0; r < s.height; ++r) out.push_back(g.rows[static_cast<size_t>(r * b + i)]);
    }
    out.insert(out.end(), name.begin(), name.end());
    out.push_back(0);
    return out;
}

bool saveFntFont(const std::string& path, const RasterFontSource& source) {
    return writeEncoded(path, encodeFntFont(source));
}

Font buildFont(const RasterFontSource& s) {
    if (!usable(s)) return Font();
    size_t bitsSize = 0;
    for (const GlyphImage& g : s.glyphs) bitsSize += g.rows.size();
    Font f(bitsSize + Font::glyphImagesOffset + 1);
    f.setName(keptName(s.name));
    f.setFontType(s.pixelWidth ? Font::fixedFont : Font::proportionalFont);
    f.setFontWidth(static_cast<i16>(s.pixelWidth ? s.pixelWidth : maxGlyphWidth(s)));
    f.setMaxWidth(static_cast<i16>(maxGlyphWidth(s)));
    f.setLeftOverhang(0);
    f.setFontHeight(static_cast<i16>(s.height));
    f.setAscent(static_cast<i16>(s.ascent));
    f.setDescent(static_cast<i16>(s.ascent - s.height));
    f.setLeading(static_cast<i16>(s.externalLeading));
    for (int c = 0; c < 256; ++c) f.setGlyphOffset(static_cast<u8>(c), Font::noGlyph);
    size_t at = 0;
    for (size_t i = 0; i < s.glyphs.size(); ++i) {
        const GlyphImage& g = s.glyphs[i];
        const u8 code = static_cast<u8>(s.firstChar + i);
        f.setWidth(code, static_cast<u8>(g.width));
        f.setImageWidth(code, static_cast<u8>((g.width + 7) & ~7));
        f.setGlyphOffset(code, static_cast<u16>(at));
        f.setImageLeft(code, 0);
        std::copy(g.rows.begin(), g.rows.end(),
                  f.record.begin() + static_cast<std::ptrdiff_t>(Font::glyphImagesOffset + at));
        at += g.rows.size();
    }
    f.copyGlyphEntry(0, static_cast<u8>(s.firstChar + s.defaultChar));
    return f;
}

std::vector<u8> encodeFont(const Font& font) {
    std::vector<u8> out(256, 0);
    std::memcpy(out.data(), fontFileSignature, sizeof fontFileSignature); // with its NUL
    const std::string name(font.name(), strnlen(font.name(), Font::nameSize - 1));
    std::memcpy(out.data() + sizeof fontFileSignature, name.data(), name.size());
    out.insert(out.end(), font.record.begin() + Font::fontTypeOffset, font.record.end());
    return out;
}

bool saveFont(const std::string& path, const Font& font) {
    return writeEncoded(path, encodeFont(font));
}
