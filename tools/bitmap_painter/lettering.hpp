#pragma once
// Lettering for the pictures (the title and the dashboard labels), rendered
// anti-aliased from a DejaVu font through FreeType.
#include "tools/bitmap_painter/canvas.hpp"

#include <string>
#include <vector>

// A line of text as coverage: `ascent` rows above the baseline.
struct TextMask {
    int width = 0, height = 0, ascent = 0;
    std::vector<double> alpha;
    double at(int x, int y) const {
        return x < 0 || y < 0 || x >= width || y >= height ? 0 : alpha[static_cast<size_t>(y) * width + x];
    }
};

// Renders `text` at `pixelSize` from the font file, with extra `tracking`
// pixels between letters. Throws std::runtime_error when the font cannot load.
TextMask renderText(const std::string& fontFile, int pixelSize, const std::string& text, int tracking = 0);

// Paints the mask with its top-left corner at (x, y).
void paintText(Canvas& canvas, const TextMask& mask, int x, int y, Rgb colour, double opacity = 1.0);
void paintText(Canvas& canvas, const TextMask& mask, int x, int y,
               const std::function<Rgb(double, double)>& colour, double opacity = 1.0);

// The DejaVu fonts of the build machine.
std::string dejaVu(const char* fileName);
