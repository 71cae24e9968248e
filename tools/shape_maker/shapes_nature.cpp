#include "tools/common/random.hpp"
#include "tools/shape_maker/shapes.hpp"
#include "tools/texture_maker/texture_numbers.hpp"

#include <algorithm>
#include <cmath>

namespace {

constexpr double pi = 3.141592653589793;

// A lump: points spread evenly over an ellipsoid's upper part (a golden-angle
// spiral), each pushed in or out a little, cut flat at the ground. The hull of
// such points is an irregular rock or a round bush. Offsets start at 0.
std::vector<V3> lumpPoints(std::uint64_t seed, int count, double rx, double ry, double height,
                           double roughness, double sink) {
    ToolRandom random(seed);
    std::vector<V3> points;
    // The centre sits `sink` of the height below the ground, so the base is wide.
    const double cz = -sink * height;
    const double rz = height - cz;
    for (int i = 0; i < count; ++i) {
        const double t = (i + 0.5) / count;
        const double z = 1 - 2 * t; // -1 .. 1
        const double ring = std::sqrt(std::max(0.0, 1 - z * z));
        const double a = i * 2.399963229728653 + random.range(-0.25, 0.25);
        const double k = 1 + roughness * random.range(-1, 1);
        double px = rx * ring * std::cos(a) * k, py = ry * ring * std::sin(a) * k, pz = cz + rz * z * k;
        pz = std::max(pz, 0.0);
        points.push_back({std::llround(px + rx * (1 + roughness)), std::llround(py + ry * (1 + roughness)),
                          std::llround(pz)});
    }
    // Move the lowest corner to the origin: definitions hold unsigned offsets.
    std::int64_t minX = points[0].x, minY = points[0].y;
    for (const V3& p : points) minX = std::min(minX, p.x), minY = std::min(minY, p.y);
    for (V3& p : points) p.x -= minX, p.y -= minY;
    return points;
}

// A stone: an irregular, smooth-shaded rock. Each face gets a slightly
// different tone so the facets read even where the shading is even.
Shape stone(const char* name, const char* description, std::uint64_t seed, int count, double rx, double ry,
            double height, std::uint32_t colour) {
    Shape shape{name, description, 0, true, {}};
    ToolRandom tones(seed ^ 0x70E5);
    addConvexPart(shape, lumpPoints(seed, count, rx, ry, height, 0.16, 0.35), [&](std::vector<V3> face, V3) {
        const double k = tones.range(0.9, 1.06);
        const auto ch = [&](int shift) {
            return std::clamp(static_cast<int>((colour >> shift & 0xFF) * k), 0, 255);
        };
        return Face{std::move(face), texture_number::rock, rgb(ch(16), ch(8), ch(0))};
    });
    return shape;
}

// A bush: a low round clump of leaves, under the eye. Cars flatten it at speed.
Shape bush() {
    Shape shape{
        "bush", "A bush: a leafy clump 3800 across and 2300 high; flattened by fast cars.", 0, true, {}};
    ToolRandom tones(0xB05);
    addConvexPart(shape, lumpPoints(0xB054, 34, 1900, 1700, 2300, 0.14, 0.25), [&](std::vector<V3> face, V3) {
        const int g = static_cast<int>(tones.range(120, 150));
        return Face{std::move(face), texture_number::leaves, rgb(g / 3, g, g / 4)};
    });
    return shape;
}

// A tree: a two-sided billboard (kind 3) drawn flat to the view, authored in the
// x-z plane and symmetric about x = 7000, the middle of its extent (the game
// centres the billboard there). A trunk, then three tiers of a fir, each tier
// a lit half and a shaded half.
Shape tree() {
    Shape shape{"tree",
                "A fir tree: a billboard 14000 wide and 21000 high, always facing the viewer.\n"
                "Its box is the trunk's (2048 square), set by the level loader.",
                3,
                false,
                {}};
    const std::int64_t mid = 7000;
    shape.faces.push_back({{{mid - 650, 0, 0}, {mid + 650, 0, 0}, {mid + 500, 0, 6500}, {mid - 500, 0, 6500}},
                           texture_number::bark,
                           rgb(120, 84, 56)});
    struct Tier {
        std::int64_t half, base, top;
    };
    const Tier tiers[] = {{7000, 4200, 12800}, {5600, 8600, 17000}, {4100, 12800, 21000}};
    for (const Tier& t : tiers) {
        // Two triangles sharing the tier's axis; listed with the same turn.
        shape.faces.push_back({{{mid - t.half, 0, t.base}, {mid, 0, t.base - 500}, {mid, 0, t.top}},
                               texture_number::leaves,
                               rgb(58, 140, 60)});
        shape.faces.push_back({{{mid, 0, t.base - 500}, {mid + t.half, 0, t.base}, {mid, 0, t.top}},
                               texture_number::leaves,
                               rgb(40, 106, 48)});
    }
    return shape;
}

// A flat patch just above the ground, half a cell square minus one unit so it
// lies in exactly one grid cell. Levels tile lakes and dunes from these; small
// patches keep the far-to-near drawing order right around them.
Shape patch(const char* name, const char* description, std::int64_t z, int texture, std::uint32_t colour) {
    Shape shape{name, description, 0, false, {}};
    const std::int64_t s = 32767;
    shape.faces.push_back({{{0, 0, z}, {s, 0, z}, {s, s, z}, {0, s, z}}, texture, colour});
    return shape;
}

} // namespace

std::vector<Shape> natureShapes() {
    return {
        stone("stone1", "A small rock, about 7000 across and 4000 high.", 0x5701, 30, 3600, 3000, 4000,
              rgb(124, 118, 108)),
        stone("stone2", "A rock about 12000 across and 7000 high.", 0x5702, 36, 6200, 5000, 7000,
              rgb(116, 110, 102)),
        stone("stone3", "A boulder about 21000 across and 9500 high.", 0x5703, 44, 10500, 9000, 9500,
              rgb(108, 104, 100)),
        bush(),
        tree(),
        patch("sea", "A patch of water, half a cell square, 12 above the ground. Blocks cars.", 12,
              texture_number::water, rgb(52, 110, 190)),
        patch("sand", "A patch of soft sand, half a cell square, 10 above the ground. Blocks cars.", 10,
              texture_number::sand, rgb(226, 200, 140)),
    };
}
