#include "tools/bitmap_painter/pictures.hpp"

#include "tools/common/noise.hpp"

#include <algorithm>
#include <cmath>

namespace {

double smoothstep(double a, double b, double x) {
    const double t = std::clamp((x - a) / (b - a), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// The sky at a point of the full-size (1280 x 320) sky; x repeats every 640.
Rgb skyAt(const TileNoise& clouds, double x, double y) {
    const Rgb zenith{38, 84, 172}, high{118, 164, 220}, fog{240, 240, 240};
    Rgb sky = y < 190 ? mix(zenith, high, std::pow(y / 190, 1.3)) : mix(high, fog, smoothstep(190, 262, y));
    // A soft sun high on the left of each screen width.
    const double sx = std::fmod(x, 640.0) - 170, sy = y - 64;
    const double sun = std::hypot(sx, sy);
    sky = mix(sky, Rgb{255, 246, 214}, 0.55 * std::exp(-sun / 38));
    if (sun < 15) sky = mix(sky, Rgb{255, 252, 236}, smoothstep(15, 12.5, sun));
    // Clouds: tiled noise, stretched wide, in a band that thins out toward the
    // horizon haze.
    const double u = std::fmod(x, 640.0) / 640.0;
    const double density = clouds.fractal(u, y / 150.0, 4, 8);
    const double band = smoothstep(10, 60, y) * (1 - smoothstep(170, 240, y));
    const double cover = smoothstep(0.47, 0.66, density) * band;
    const Rgb cloud = mix(Rgb{196, 206, 222}, Rgb{252, 252, 253}, smoothstep(0.52, 0.80, density));
    return mix(sky, cloud, cover * 0.92);
}

} // namespace

Canvas paintSky(int scale) {
    static const TileNoise clouds(64, 0x5C1);
    const int width = 1280 / scale, height = 320 / scale;
    Canvas canvas(width, height);
    // Each pixel averages scale x scale samples of the full-size sky, so the
    // half-size sky is the same picture and still repeats every period.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgb sum;
            for (int sy = 0; sy < scale; ++sy)
                for (int sx = 0; sx < scale; ++sx) {
                    const Rgb c = skyAt(clouds, x * scale + sx + 0.5, y * scale + sy + 0.5);
                    sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                }
            const double n = scale * scale;
            canvas.at(x, y) = {sum.r / n, sum.g / n, sum.b / n};
        }
    // The bottom row meets the fog colour exactly.
    for (int x = 0; x < width; ++x) canvas.at(x, height - 1) = {240, 240, 240};
    return canvas;
}
