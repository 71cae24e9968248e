// The menu picture is an 8-bit bitmap: its 256 colours are chosen by median cut
// over the picture's own pixels, then every pixel takes the nearest of them
// after a light ordered dither (which hides the banding of the gradients).
#include "tools/bitmap_painter/pictures.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

using Colour = std::array<int, 3>;

int channel(double v) {
    return std::clamp(static_cast<int>(std::lround(v)), 0, 255);
}

std::vector<Colour> medianCut(std::vector<Colour> pixels, size_t count) {
    struct Box {
        size_t begin, end;
    };
    std::vector<Box> boxes{{0, pixels.size()}};
    const auto widest = [&](const Box& b, int& axis) {
        int best = -1;
        for (int a = 0; a < 3; ++a) {
            int lo = 255, hi = 0;
            for (size_t i = b.begin; i < b.end; ++i)
                lo = std::min(lo, pixels[i][a]), hi = std::max(hi, pixels[i][a]);
            if (hi - lo > best) best = hi - lo, axis = a;
        }
        return best;
    };
    while (boxes.size() < count) {
        // Split the box with the widest spread (ties: the first).
        size_t pick = 0;
        int pickAxis = 0, pickRange = -1;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].end - boxes[i].begin < 2) continue;
            int axis = 0;
            const int range = widest(boxes[i], axis);
            if (range > pickRange) pickRange = range, pick = i, pickAxis = axis;
        }
        if (pickRange <= 0) break;
        Box b = boxes[pick];
        std::stable_sort(pixels.begin() + static_cast<std::ptrdiff_t>(b.begin),
                         pixels.begin() + static_cast<std::ptrdiff_t>(b.end),
                         [pickAxis](const Colour& l, const Colour& r) { return l[pickAxis] < r[pickAxis]; });
        const size_t mid = (b.begin + b.end) / 2;
        boxes[pick] = {b.begin, mid};
        boxes.push_back({mid, b.end});
    }
    std::vector<Colour> palette;
    for (const Box& b : boxes) {
        long sum[3] = {0, 0, 0};
        for (size_t i = b.begin; i < b.end; ++i)
            for (int a = 0; a < 3; ++a) sum[a] += pixels[i][a];
        const long n = static_cast<long>(b.end - b.begin);
        palette.push_back(
            {static_cast<int>(sum[0] / n), static_cast<int>(sum[1] / n), static_cast<int>(sum[2] / n)});
    }
    while (palette.size() < count) palette.push_back({0, 0, 0});
    return palette;
}

} // namespace

Bitmap toBitmap8(const Canvas& canvas) {
    std::vector<Colour> pixels;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const Rgb& p = canvas.at(x, y);
            pixels.push_back({channel(p.r), channel(p.g), channel(p.b)});
        }
    const std::vector<Colour> palette = medianCut(pixels, 256);
    Bitmap bitmap = makeBitmap(canvas.width(), canvas.height(), 8);
    for (const Colour& c : palette)
        bitmap.palette.push_back({static_cast<u8>(c[2]), static_cast<u8>(c[1]), static_cast<u8>(c[0]), 0});
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const Rgb& p = canvas.at(x, y);
            const double d = (bayer[y % 4][x % 4] - 7.5) * 0.6;
            const int r = channel(p.r + d), g = channel(p.g + d), b = channel(p.b + d);
            int best = 0;
            long bestDistance = 1L << 40;
            for (size_t i = 0; i < palette.size(); ++i) {
                const long dr = r - palette[i][0], dg = g - palette[i][1], db = b - palette[i][2];
                const long dist = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
                if (dist < bestDistance) bestDistance = dist, best = static_cast<int>(i);
            }
            bitmap.row(y)[x] = static_cast<u8>(best);
        }
    return bitmap;
}

Bitmap toBitmap24(const Canvas& canvas, bool keyUncovered) {
    Bitmap bitmap = makeBitmap(canvas.width(), canvas.height(), 24);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const Rgb& p = canvas.at(x, y);
            int r = channel(p.r), g = channel(p.g), b = channel(p.b);
            if (keyUncovered) {
                if (canvas.coverage(x, y) < 0.5)
                    r = g = b = 255;
                else if (r == 255 && g == 255 && b == 255)
                    r = g = b = 254; // would read as see-through
            }
            u8* px = bitmap.row(y) + 3 * x; // 24-bit RGB stores blue, green, red
            px[0] = static_cast<u8>(b);
            px[1] = static_cast<u8>(g);
            px[2] = static_cast<u8>(r);
        }
    return bitmap;
}
