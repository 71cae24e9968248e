#include "tools/bitmap_painter/lettering.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <stdexcept>

std::string dejaVu(const char* fileName) {
    return std::string("/usr/share/fonts/truetype/dejavu/") + fileName;
}

TextMask renderText(const std::string& fontFile, int pixelSize, const std::string& text, int tracking) {
    FT_Library library;
    if (FT_Init_FreeType(&library)) throw std::runtime_error("FreeType does not start");
    FT_Face face;
    if (FT_New_Face(library, fontFile.c_str(), 0, &face)) {
        FT_Done_FreeType(library);
        throw std::runtime_error("cannot load " + fontFile);
    }
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
    const int ascent = static_cast<int>(face->size->metrics.ascender >> 6);
    const int descent = static_cast<int>(-(face->size->metrics.descender >> 6));
    // First pass: the width.
    int width = 0;
    for (unsigned char c : text) {
        FT_Load_Char(face, c, FT_LOAD_DEFAULT);
        width += static_cast<int>(face->glyph->advance.x >> 6) + tracking;
    }
    TextMask mask;
    mask.width = width + 2;
    mask.height = ascent + descent + 2;
    mask.ascent = ascent + 1;
    mask.alpha.assign(static_cast<size_t>(mask.width) * mask.height, 0.0);
    int pen = 1;
    for (unsigned char c : text) {
        FT_Load_Char(face, c, FT_LOAD_RENDER);
        const FT_GlyphSlot g = face->glyph;
        for (unsigned row = 0; row < g->bitmap.rows; ++row)
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                const int x = pen + g->bitmap_left + static_cast<int>(col);
                const int y = mask.ascent - g->bitmap_top + static_cast<int>(row);
                if (x < 0 || y < 0 || x >= mask.width || y >= mask.height) continue;
                double& a = mask.alpha[static_cast<size_t>(y) * mask.width + x];
                a = std::max(a, g->bitmap.buffer[row * g->bitmap.pitch + col] / 255.0);
            }
        pen += static_cast<int>(g->advance.x >> 6) + tracking;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return mask;
}

void paintText(Canvas& canvas, const TextMask& mask, int x, int y,
               const std::function<Rgb(double, double)>& colour, double opacity) {
    for (int my = 0; my < mask.height; ++my)
        for (int mx = 0; mx < mask.width; ++mx) {
            const double a = mask.at(mx, my) * opacity;
            const int px = x + mx, py = y + my;
            if (a <= 0 || px < 0 || py < 0 || px >= canvas.width() || py >= canvas.height()) continue;
            canvas.at(px, py) = mix(canvas.at(px, py), colour(px + 0.5, py + 0.5), a);
        }
}

void paintText(Canvas& canvas, const TextMask& mask, int x, int y, Rgb colour, double opacity) {
    paintText(
        canvas, mask, x, y, [colour](double, double) { return colour; }, opacity);
}
