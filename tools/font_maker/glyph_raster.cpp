#include "tools/font_maker/glyph_raster.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <stdexcept>

namespace {

// One rendered glyph: its ink with the pen position it started from.
struct Ink {
    int left = 0, top = 0; // bitmap_left, bitmap_top from FreeType
    int width = 0, rows = 0;
    int advance = 0;
    std::vector<bool> bits; // rows x width
};

Ink renderInk(FT_Face face, unsigned char code) {
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME))
        throw std::runtime_error("FreeType cannot render a glyph");
    const FT_GlyphSlot g = face->glyph;
    Ink ink;
    ink.left = g->bitmap_left;
    ink.top = g->bitmap_top;
    ink.width = static_cast<int>(g->bitmap.width);
    ink.rows = static_cast<int>(g->bitmap.rows);
    ink.advance = static_cast<int>(g->advance.x >> 6);
    ink.bits.resize(static_cast<size_t>(ink.width) * ink.rows);
    for (int r = 0; r < ink.rows; ++r)
        for (int c = 0; c < ink.width; ++c)
            ink.bits[static_cast<size_t>(r) * ink.width + c] =
                g->bitmap.buffer[r * g->bitmap.pitch + c / 8] & (0x80 >> (c % 8));
    return ink;
}

} // namespace

std::vector<GlyphImage> rasteriseAscii(const RasterRequest& request) {
    FT_Library library;
    if (FT_Init_FreeType(&library)) throw std::runtime_error("FreeType does not start");
    FT_Face face;
    if (FT_New_Face(library, request.fontFile.c_str(), 0, &face)) {
        FT_Done_FreeType(library);
        throw std::runtime_error("cannot load " + request.fontFile);
    }
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(request.pixelSize));
    std::vector<GlyphImage> glyphs;
    for (int code = 32; code <= 126; ++code) {
        const Ink ink = renderInk(face, static_cast<unsigned char>(code));
        int width, shift;
        if (request.fixedWidth) {
            width = request.fixedWidth;
            // Centre the ink in the cell.
            shift = ink.width ? (width - ink.width) / 2 - ink.left : 0;
        } else {
            // Keep the pen position; lean-out ink widens the glyph.
            shift = std::max(0, -ink.left);
            width = std::max(ink.advance, ink.left + shift + ink.width);
            width = std::max(width, 1);
        }
        GlyphImage glyph;
        glyph.width = width;
        const int bytes = (width + 7) / 8;
        glyph.rows.assign(static_cast<size_t>(bytes) * request.cellHeight, 0);
        for (int r = 0; r < ink.rows; ++r)
            for (int c = 0; c < ink.width; ++c) {
                if (!ink.bits[static_cast<size_t>(r) * ink.width + c]) continue;
                const int x = ink.left + shift + c, y = request.ascent - ink.top + r;
                if (x < 0 || x >= width || y < 0 || y >= request.cellHeight) continue; // outside the cell
                glyph.rows[static_cast<size_t>(y) * bytes + x / 8] |= static_cast<u8>(0x80 >> (x % 8));
            }
        glyphs.push_back(std::move(glyph));
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return glyphs;
}
