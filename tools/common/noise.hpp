#pragma once
// Tileable value noise for textures and skies: a lattice of random values that
// repeats every `period` cells, smoothly interpolated, summed over octaves.
// Because the lattice wraps, a texture or sky made from it joins seamlessly.
#include "tools/common/random.hpp"

#include <cmath>
#include <vector>

class TileNoise {
  public:
    // A lattice of period x period values in [0, 1).
    TileNoise(int period, std::uint64_t seed) : n(period), values(static_cast<size_t>(period) * period) {
        ToolRandom random(seed);
        for (double& v : values) v = random.unit();
    }

    int period() const { return n; }

    // Smooth noise in [0, 1) at lattice coordinates (x, y), wrapping every `wrap`
    // steps (wrap <= period); `layer` picks a different part of the lattice.
    double at(double x, double y, int wrap, int layer = 0) const {
        const double fx = std::floor(x), fy = std::floor(y);
        const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
        const double tx = fade(x - fx), ty = fade(y - fy);
        const double a = lattice(ix, iy, wrap, layer), b = lattice(ix + 1, iy, wrap, layer);
        const double c = lattice(ix, iy + 1, wrap, layer), d = lattice(ix + 1, iy + 1, wrap, layer);
        return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
    }

    // Octaves at doubling frequencies, each half as strong. (u, v) in [0, 1) spans
    // one tile and every octave wraps a whole number of times across it, so the
    // sum tiles too. baseCells << (octaves - 1) must not exceed the period.
    // Result in [0, 1).
    double fractal(double u, double v, int octaves, int baseCells) const {
        double sum = 0, weight = 0, amplitude = 1;
        int cells = baseCells;
        for (int o = 0; o < octaves; ++o) {
            sum += amplitude * at(u * cells, v * cells, cells, o);
            weight += amplitude;
            amplitude *= 0.5;
            cells *= 2;
        }
        return sum / weight;
    }

  private:
    static double fade(double t) { return t * t * (3 - 2 * t); }
    double lattice(int x, int y, int wrap, int layer) const {
        const int wx = ((x % wrap) + wrap) % wrap, wy = ((y % wrap) + wrap) % wrap;
        // Layers start at different corners of the table so octaves differ.
        const int tx = (wx + layer * 37) % n, ty = (wy + layer * 53) % n;
        return values[static_cast<size_t>(ty) * n + tx];
    }

    int n;
    std::vector<double> values;
};
