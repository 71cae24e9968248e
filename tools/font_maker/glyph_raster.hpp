#pragma once
// Rasterises a face's printable ASCII into one-bit glyph cells of a fixed
// height with a common baseline, as raster font files hold them.
#include "gfx/font_writer.hpp"

#include <string>

struct RasterRequest {
    std::string fontFile; // a DejaVu TrueType file
    int pixelSize = 0;    // FreeType size in pixels (em)
    int cellHeight = 0;   // rows of every glyph
    int ascent = 0;       // rows above the baseline, counted from the cell top
    int fixedWidth = 0;   // nonzero: every glyph this wide, ink centred in it
};

// The glyphs of codes 32..126 in the cell. Ink is hinted for a one-bit raster;
// a proportional glyph is widened where its ink reaches past its advance (the
// oblique faces lean out), so no pixel is cut off. Throws std::runtime_error
// when the font cannot be read.
std::vector<GlyphImage> rasteriseAscii(const RasterRequest& request);
