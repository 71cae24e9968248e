#include "tests/support/world_run.hpp"

#include "world/object_definition.hpp"
#include "world/token_reader.hpp"

#include <cmath>
#include <string>

namespace {

// Reads a definition as the level loader does, placed at (x, y); a box is
// stretched from (x, y, 0) to (x + 40000, y + 4096, 20000).
std::unique_ptr<WorldObject> readDefinition(const std::string& name, u32 x = 100000, u32 y = 100000) {
    if (world::state.textureTable.empty()) loadTextures();
    TokenReader reader("Objects\\" + name + ".odf");
    const u32 kind = reader.getint();
    const bool smooth = reader.getint() != 0;
    EXPECT_EQ(reader.skipBlanks(), '%') << name;
    auto object =
        kind == 1 ? readBox(reader, x, y, 0, x + 40000, y + 4096, 20000, 1, smooth, world::state.textureTable)
        : kind == 3 ? readTwoSided(reader, x, y, 1, smooth, world::state.textureTable)
                    : readMesh(reader, x, y, 1, smooth, world::state.textureTable);
    computeNormals(*object);
    return object;
}

struct F3 {
    double x, y, z;
};
F3 pos(const Vertex& v) {
    return {double(v.x), double(v.y), double(v.z)};
}
F3 operator-(F3 a, F3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double dot(F3 a, F3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
F3 cross(F3 a, F3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
F3 normalOf(const Polygon& p) {
    return {p.nx, p.ny, p.nz};
}
F3 centroid(const std::vector<Vertex>& vertices) {
    F3 c{0, 0, 0};
    for (const Vertex& v : vertices) c = {c.x + v.x, c.y + v.y, c.z + v.z};
    const double n = static_cast<double>(vertices.size());
    return {c.x / n, c.y / n, c.z / n};
}

using ShapeContent = InRunDirectory;

// Solid bodies (details painted on their faces) list every face
// counter-clockwise from outside; ground patches face up, textured.
enum class Faces { outward, up, anyWay };

// The renderer tests facing with the first vertex and fills by scanline, so
// every face is flat, convex and has a normal. Heights suit the roles: the flag
// shows over the stones, pick-ups and mines stay under the driver's eye (3072),
// patches lie on the ground within one cell.
TEST_F(ShapeContent, EveryFaceIsFlatConvexAndTurnedRightAndHeightsSuitTheRoles) {
    const u32 any = ~0u;
    const auto solid = Faces::outward;
    const struct {
        const char* name;
        Faces faces;
        u32 lowest, highest;
    } shapes[] = {
        {"stone1", solid, 1, 9999},      {"stone2", solid, 1, 9999},      {"stone3", solid, 1, 9999},
        {"brickwall", solid, 1, any},    {"oldbrickwall", solid, 1, any}, {"woodwall", solid, 1, any},
        {"car", solid, 3500, 4500},      {"hq", solid, 1, any},           {"mine", solid, 1, 999},
        {"shot", solid, 1, 3071},        {"bush", solid, 1, 3071},        {"firepak", solid, 1, 3071},
        {"minepak", solid, 1, 3071},     {"healthpak", solid, 1, 3071},   {"nitropak", solid, 1, 3071},
        {"sea", Faces::up, 0, 63},       {"sand", Faces::up, 0, 63},      {"flag", Faces::anyWay, 10000, any},
        {"tree", Faces::anyWay, 1, any},
    };
    for (const auto& shape : shapes) {
        SCOPED_TRACE(shape.name);
        const auto object = readDefinition(shape.name);
        const WorldObject& o = *object;
        ASSERT_FALSE(o.polygons.empty());
        EXPECT_GE(o.height, shape.lowest);
        EXPECT_LE(o.height, shape.highest);
        if (shape.faces == Faces::up) {
            EXPECT_LT(o.maxX - o.minX, 65536u);
            EXPECT_LT(o.maxY - o.minY, 65536u);
            EXPECT_NE(o.polygons[0].texture, nullptr);
        }
        std::vector<Vertex> all;
        for (const Polygon& p : o.polygons) all.insert(all.end(), p.vertices.begin(), p.vertices.end());
        const F3 middle = centroid(all);
        for (const Polygon& p : o.polygons) {
            ASSERT_GE(p.vertices.size(), 3u);
            const F3 n = normalOf(p);
            const double len = std::sqrt(dot(n, n));
            ASSERT_GT(len, 0);
            const size_t count = p.vertices.size();
            for (size_t i = 0; i < count; ++i) {
                const F3 a = pos(p.vertices[i]), b = pos(p.vertices[(i + 1) % count]),
                         c = pos(p.vertices[(i + 2) % count]);
                // Within rounding of painted-on details.
                EXPECT_LT(std::abs(dot(a - pos(p.vertices[0]), n)) / len, 2.0) << "a face is not flat";
                EXPECT_GE(dot(cross(b - a, c - b), n), 0) << "a face has a reflex corner";
            }
            EXPECT_LT(static_cast<u32>(p.colour >> 24), 2u) << "unknown tint marker";
            if (shape.faces == Faces::outward) {
                EXPECT_GT(dot(n, centroid(p.vertices) - middle), 0) << "a face is turned inward";
            }
            if (shape.faces == Faces::up) {
                EXPECT_GT(n.z, 0);
            }
        }
    }
}

// The car holds its driver's eye, 3072 high at the centre of its box: every
// face is turned away from it, so the own car never covers the view. The car
// points along +x and the shot along +y, the ways the game moves them.
TEST_F(ShapeContent, TheCarHidesNothingFromItsDriverAndCarAndShotPointTheWayTheyMove) {
    const auto object = readDefinition("car", 200000, 300000);
    const WorldObject& car = *object;
    const F3 eye{(car.minX + car.maxX) / 2.0, (car.minY + car.maxY) / 2.0, 3072};
    EXPECT_NEAR(car.maxX - car.minX, 8000, 1000);
    EXPECT_NEAR(car.maxY - car.minY, 5000, 500);
    int tinted = 0;
    for (const Polygon& p : car.polygons) {
        EXPECT_GT(dot(pos(p.vertices[0]) - eye, normalOf(p)), 0) << "a car face looks at its own driver";
        tinted += (p.colour >> 24) == 1;
    }
    EXPECT_GE(tinted, 8) << "too little of the body shows its owner's colour";
    const auto shot = readDefinition("shot");
    EXPECT_GT(shot->maxY - shot->minY, 2 * (shot->maxX - shot->minX));
}

} // namespace
