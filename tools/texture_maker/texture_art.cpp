// Procedural painters for the game's textures. One texel covers 128 world units,
// so a 64-texel texture repeats every 8192 units (an eighth of a grid cell);
// every pattern below repeats exactly across its tile so the repeats join.
#include "tools/texture_maker/texture_art.hpp"

#include "tools/common/noise.hpp"
#include "tools/common/random.hpp"
#include "tools/texture_maker/texture_numbers.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace {

constexpr double twoPi = 6.283185307179586;

// Brightness factors are kept a little under 256 except where a highlight is
// wanted, so that lit faces keep some texture.
int clampTexel(double value) {
    return std::clamp(static_cast<int>(std::lround(value)), 0, 256);
}

TextureArt blank(const char* name, int width, int height) {
    TextureArt art;
    art.name = name;
    art.width = width;
    art.height = height;
    art.texels.assign(static_cast<size_t>(width) * height, 0);
    return art;
}

// Bricks of 16 x 8 texels (2048 x 1024 world units) in running bond: courses run
// along u, so on a wall whose first edge is level the courses lie level.
TextureArt paintBrick() {
    TextureArt art = blank("brick", 64, 64);
    ToolRandom random(0xB41C);
    TileNoise grain(64, 11);
    double tone[8][4]; // one tone per brick: 8 courses of 4 bricks
    for (auto& course : tone)
        for (double& t : course) t = random.range(205, 246);
    for (int j = 0; j < 64; ++j) {
        const int course = j / 8, row = j % 8;
        const int shift = (course % 2) * 8;
        for (int i = 0; i < 64; ++i) {
            const int along = (i + shift) % 64;
            const int column = along % 16;
            const double fine = grain.at(i * 0.5, j * 0.5, 32) - 0.5;
            double value;
            if (row == 7 || column == 15) {
                value = 118 + 24 * fine; // recessed mortar joint
            } else {
                value = tone[course][along / 16] + 22 * fine;
                if (row == 6) value -= 22; // the brick's lower edge in shadow
                if (row == 0) value += 6;  // and its upper edge catching light
            }
            art.at(i, j) = clampTexel(value);
        }
    }
    return art;
}

// The same bond, weathered: uneven tones, eroded wide joints, chipped bricks and
// dark streaks of damp.
TextureArt paintOldBrick() {
    TextureArt art = blank("old brick", 64, 64);
    ToolRandom random(0x01DB);
    TileNoise damp(64, 23), grain(64, 29);
    double tone[8][4];
    bool chipped[8][4];
    for (int c = 0; c < 8; ++c)
        for (int b = 0; b < 4; ++b) {
            tone[c][b] = random.range(150, 235);
            chipped[c][b] = random.unit() < 0.15;
        }
    for (int j = 0; j < 64; ++j) {
        const int course = j / 8, row = j % 8;
        const int shift = (course % 2) * 8;
        for (int i = 0; i < 64; ++i) {
            const int along = (i + shift) % 64;
            const int column = along % 16, brick = along / 16;
            const double fine = grain.at(i * 0.5, j * 0.5, 32) - 0.5;
            double value;
            if (row >= 6 || column >= 14) {
                value = 95 + 40 * fine;
            } else {
                value = tone[course][brick] + 40 * fine;
                // A chipped brick has lost a corner.
                if (chipped[course][brick] && column + row < 6) value = 85 + 20 * fine;
            }
            // Damp streaks darken whole areas.
            const double wet = damp.fractal(i / 64.0, j / 64.0, 3, 2);
            value *= 0.72 + 0.4 * wet;
            art.at(i, j) = clampTexel(std::min(value, 246.0));
        }
    }
    return art;
}

// Level planks 8 texels tall (1024 units) with grain along u, dark seams
// between them, butt joints at staggered places and a few knots.
TextureArt paintWoodPlanks() {
    TextureArt art = blank("wood planks", 64, 64);
    ToolRandom random(0x000D);
    TileNoise grain(64, 37);
    double tone[8], phase[8];
    int joint[8];
    for (int p = 0; p < 8; ++p) {
        tone[p] = random.range(200, 240);
        phase[p] = random.range(0, twoPi);
        joint[p] = random.below(64);
    }
    for (int j = 0; j < 64; ++j) {
        const int plank = j / 8, row = j % 8;
        for (int i = 0; i < 64; ++i) {
            const double wobble = grain.at(i / 8.0, j / 2.0, 8, plank) * 2.5;
            const double rings = std::sin(twoPi * 3 * i / 64.0 + phase[plank] + wobble + row * 0.7);
            double value = tone[plank] + 18 * rings;
            if (row == 0)
                value = 92; // seam between planks
            else if (row == 1)
                value -= 30; // the seam's shadow
            if (i == joint[plank]) value = 100;
            // A knot: a dark oval on every other plank.
            if (plank % 2 == 0) {
                const int kx = (joint[plank] + 30) % 64;
                int dx = std::abs(i - kx);
                dx = std::min(dx, 64 - dx);
                const double d = std::hypot(dx / 2.0, row - 4.0);
                if (d < 1.6) value = 120 + 30 * d;
            }
            art.at(i, j) = clampTexel(std::min(value, 250.0));
        }
    }
    return art;
}

// Lumpy rock with darker cracks; stones are smooth-shaded on top of it.
TextureArt paintRock() {
    TextureArt art = blank("rock", 64, 64);
    TileNoise body(64, 41), crack(64, 43);
    for (int j = 0; j < 64; ++j)
        for (int i = 0; i < 64; ++i) {
            const double u = i / 64.0, v = j / 64.0;
            double value = 150 + 100 * body.fractal(u, v, 4, 4);
            const double c = crack.fractal(u, v, 2, 4);
            if (std::abs(c - 0.5) < 0.025) value -= 55;
            art.at(i, j) = clampTexel(std::min(value, 252.0));
        }
    return art;
}

// Fine grains over gentle wind ripples.
TextureArt paintSand() {
    TextureArt art = blank("sand", 64, 64);
    ToolRandom random(0x5A4D);
    TileNoise drift(64, 47);
    for (int j = 0; j < 64; ++j)
        for (int i = 0; i < 64; ++i) {
            const double u = i / 64.0, v = j / 64.0;
            const double ripple = std::sin(twoPi * (4 * u + 1 * v) + 3 * drift.fractal(u, v, 2, 2));
            double value = 222 + 12 * ripple + random.range(-14, 14);
            art.at(i, j) = clampTexel(std::min(value, 250.0));
        }
    return art;
}

// Crossing swells with a few bright glints.
TextureArt paintWater() {
    TextureArt art = blank("water", 64, 64);
    TileNoise swell(64, 53);
    for (int j = 0; j < 64; ++j)
        for (int i = 0; i < 64; ++i) {
            const double u = i / 64.0, v = j / 64.0;
            const double bend = 1.5 * swell.fractal(u, v, 3, 2);
            const double wave = std::sin(twoPi * (3 * u + 2 * v) + bend) +
                                0.6 * std::sin(twoPi * (-2 * u + 5 * v) + 2 * bend);
            double value = 200 + 26 * wave;
            if (wave > 1.35) value = 256; // glint
            art.at(i, j) = clampTexel(value);
        }
    return art;
}

// Clumps of leaves: bright tufts over dark gaps.
TextureArt paintLeaves() {
    TextureArt art = blank("leaves", 32, 32);
    TileNoise clumps(32, 59);
    ToolRandom random(0x1EAF);
    for (int j = 0; j < 32; ++j)
        for (int i = 0; i < 32; ++i) {
            const double n = clumps.fractal(i / 32.0, j / 32.0, 3, 4);
            double value = n > 0.5 ? 200 + 100 * (n - 0.5) : 110 + 180 * n * n;
            value += random.range(-12, 12);
            art.at(i, j) = clampTexel(std::min(value, 250.0));
        }
    return art;
}

// A riveted plate: seams round the edge, a rivet in each corner, faint wear.
TextureArt paintMetalPlate() {
    TextureArt art = blank("metal plate", 32, 32);
    TileNoise wear(32, 61);
    for (int j = 0; j < 32; ++j)
        for (int i = 0; i < 32; ++i) {
            double value = 226 + 20 * (wear.fractal(i / 32.0, j / 32.0, 3, 4) - 0.5);
            if (i == 0 || j == 0) value = 150;
            if (i == 1 || j == 1) value = 245;
            for (int corner = 0; corner < 4; ++corner) {
                const double cx = corner % 2 ? 27.5 : 4.5, cy = corner / 2 ? 27.5 : 4.5;
                const double d = std::hypot(i - cx, j - cy);
                if (d < 1.2)
                    value = 252;
                else if (d < 2.1)
                    value = 165;
            }
            art.at(i, j) = clampTexel(value);
        }
    return art;
}

// Diagonal hazard bands that tell a headquarters from any wall.
TextureArt paintHqMarking() {
    TextureArt art = blank("hq marking", 32, 32);
    for (int j = 0; j < 32; ++j)
        for (int i = 0; i < 32; ++i) {
            const int band = ((i + j) / 8) % 2;
            const int edge = (i + j) % 8;
            double value = band ? 250 : 150;
            if (edge == 0) value -= 25; // a crisp edge between the bands
            art.at(i, j) = clampTexel(value);
        }
    return art;
}

// Bark: furrows running along v (the trunk is authored with its first edge
// level, so v runs up the trunk).
TextureArt paintBark() {
    TextureArt art = blank("bark", 16, 32);
    TileNoise furrow(32, 67);
    for (int j = 0; j < 32; ++j)
        for (int i = 0; i < 16; ++i) {
            const double ridge = std::sin(twoPi * 3 * i / 16.0 + 2 * furrow.at(i / 4.0, j / 8.0, 4));
            double value = 185 + 45 * ridge;
            art.at(i, j) = clampTexel(std::min(value, 240.0));
        }
    return art;
}

} // namespace

std::vector<TextureArt> paintTextures() {
    std::vector<TextureArt> textures;
    textures.push_back(paintBrick());
    textures.push_back(paintOldBrick());
    textures.push_back(paintWoodPlanks());
    textures.push_back(paintRock());
    textures.push_back(paintSand());
    textures.push_back(paintWater());
    textures.push_back(paintLeaves());
    textures.push_back(paintMetalPlate());
    textures.push_back(paintHqMarking());
    textures.push_back(paintBark());
    assert(textures.size() == texture_number::count);
    return textures;
}
