#include "tests/content/run_directory.hpp"

#include "world/object_definition.hpp"
#include "world/token_reader.hpp"

#include <cmath>
#include <string>

namespace {

const char* const allShapes[] = {"stone1", "stone2", "stone3", "brickwall", "oldbrickwall", "woodwall",
                                 "car",    "flag",   "hq",     "mine",      "shot",         "sea",
                                 "sand",   "firepak", "minepak", "healthpak", "nitropak",   "bush",
                                 "tree"};

struct Definition {
    u32 kind = 0;
    std::unique_ptr<WorldObject> object;
};

// Reads a definition as the level loader does, placed at (x, y); a box is
// stretched from (x, y, 0) to (x + 40000, y + 4096, 20000).
Definition readDefinition(const std::string& name, u32 x, u32 y) {
    TokenReader reader("Objects\\" + name + ".odf");
    Definition d;
    d.kind = reader.getint();
    const bool smooth = reader.getint() != 0;
    EXPECT_EQ(reader.skipBlanks(), '%') << name;
    if (d.kind == 1) d.object = readBox(reader, x, y, 0, x + 40000, y + 4096, 20000, 1, smooth, textureTable);
    else if (d.kind == 3) d.object = readTwoSided(reader, x, y, 1, smooth, textureTable);
    else d.object = readMesh(reader, x, y, 1, smooth, textureTable);
    computeNormals(*d.object);
    return d;
}

struct F3 {
    double x, y, z;
};
F3 pos(const Vertex& v) { return {double(v.x), double(v.y), double(v.z)}; }
F3 operator-(F3 a, F3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double dot(F3 a, F3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
F3 cross(F3 a, F3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
F3 normalOf(const Polygon& p) { return {p.nx, p.ny, p.nz}; }

F3 centroid(const std::vector<Vertex>& vertices) {
    F3 c{0, 0, 0};
    for (const Vertex& v : vertices) c = {c.x + v.x, c.y + v.y, c.z + v.z};
    const double n = static_cast<double>(vertices.size());
    return {c.x / n, c.y / n, c.z / n};
}

using ShapeContent = InRunDirectory;

// Every face must be a flat convex polygon with a usable normal: the renderer
// tests facing with the first vertex and fills by scanline.
TEST_F(ShapeContent, EveryFaceIsAFlatConvexPolygonWithANormal) {
    loadTextures();
    for (const char* name : allShapes) {
        const Definition d = readDefinition(name, 100000, 100000);
        ASSERT_FALSE(d.object->polygons.empty()) << name;
        for (const Polygon& p : d.object->polygons) {
            ASSERT_GE(p.vertices.size(), 3u) << name;
            const F3 n = normalOf(p);
            const double len = std::sqrt(dot(n, n));
            ASSERT_GT(len, 0) << name;
            const size_t count = p.vertices.size();
            for (size_t i = 0; i < count; ++i) {
                const F3 a = pos(p.vertices[i]), b = pos(p.vertices[(i + 1) % count]),
                         c = pos(p.vertices[(i + 2) % count]);
                // On the plane of the first three vertices (within rounding of
                // painted-on details)...
                EXPECT_LT(std::abs(dot(a - pos(p.vertices[0]), n)) / len, 2.0) << name;
                // ...and turning the same way at every corner.
                EXPECT_GE(dot(cross(b - a, c - b), n), 0) << name << " has a reflex corner";
            }
            EXPECT_LT(static_cast<u32>(p.colour >> 24), 2u) << name << ": unknown tint marker";
        }
    }
}

// Convex bodies (with details painted on their faces) must list every face
// counter-clockwise from outside, or the renderer drops the faces that show.
TEST_F(ShapeContent, SolidShapesFaceOutward) {
    for (const char* name : {"car", "hq", "mine", "shot", "stone1", "stone2", "stone3", "bush", "firepak",
                             "minepak", "healthpak", "nitropak", "brickwall", "oldbrickwall", "woodwall"}) {
        const Definition d = readDefinition(name, 100000, 100000);
        std::vector<Vertex> all;
        for (const Polygon& p : d.object->polygons) all.insert(all.end(), p.vertices.begin(), p.vertices.end());
        const F3 middle = centroid(all);
        for (const Polygon& p : d.object->polygons)
            EXPECT_GT(dot(normalOf(p), centroid(p.vertices) - middle), 0) << name << " has a face turned inward";
    }
}

TEST_F(ShapeContent, GroundPatchesAreFlatFacingUpAndAtMostOneCell) {
    loadTextures();
    for (const char* name : {"sea", "sand"}) {
        const Definition d = readDefinition(name, 65536, 65536);
        const WorldObject& o = *d.object;
        EXPECT_EQ(d.kind, 0u);
        EXPECT_LT(o.height, 64u) << name << " must lie just above the ground";
        EXPECT_LT(o.maxX - o.minX, 65536u) << name;
        EXPECT_LT(o.maxY - o.minY, 65536u) << name;
        for (const Polygon& p : o.polygons) EXPECT_GT(p.nz, 0) << name;
        ASSERT_NE(o.polygons[0].texture, nullptr) << name;
    }
}

// The car holds its driver's eye, 3072 high at the centre of its box: every
// face is turned away from it, so the own car never covers the view.
TEST_F(ShapeContent, TheCarHidesNothingFromItsOwnDriver) {
    const Definition d = readDefinition("car", 200000, 300000);
    const WorldObject& car = *d.object;
    const F3 eye{(car.minX + car.maxX) / 2.0, (car.minY + car.maxY) / 2.0, 3072};
    EXPECT_GT(car.height, 3072u);
    EXPECT_NEAR(car.maxX - car.minX, 8000, 1000); // nose toward +x
    EXPECT_NEAR(car.maxY - car.minY, 5000, 500);
    EXPECT_GE(car.height, 3500u);
    EXPECT_LE(car.height, 4500u);
    int tinted = 0;
    for (const Polygon& p : car.polygons) {
        EXPECT_GT(dot(pos(p.vertices[0]) - eye, normalOf(p)), 0) << "a car face looks at its own driver";
        tinted += (p.colour >> 24) == 1;
    }
    EXPECT_GE(tinted, 8) << "the body shows its owner's colour";
}

TEST_F(ShapeContent, SizesSuitTheirRoles) {
    const auto sizeOf = [](const char* name) { return readDefinition(name, 100000, 100000); };
    EXPECT_GE(sizeOf("flag").object->height, 10000u); // seen over the stones
    for (const char* stone : {"stone1", "stone2", "stone3"}) EXPECT_LT(sizeOf(stone).object->height, 10000u);
    EXPECT_LT(sizeOf("mine").object->height, 1000u); // well under the eye
    EXPECT_LT(sizeOf("bush").object->height, 3072u);
    for (const char* crate : {"firepak", "minepak", "healthpak", "nitropak"}) {
        const Definition d = sizeOf(crate);
        EXPECT_NEAR(d.object->maxX - d.object->minX, 3000, 500) << crate;
        EXPECT_LT(d.object->height, 3072u) << crate; // its top and sign show
    }
    const Definition hq = sizeOf("hq");
    EXPECT_NEAR(hq.object->maxX - hq.object->minX, 65536 / 3, 4000);
    // The shot points along +y (heading 0).
    const Definition shot = sizeOf("shot");
    EXPECT_GT(shot.object->maxY - shot.object->minY, 2 * (shot.object->maxX - shot.object->minX));
    EXPECT_LT(shot.object->height, 3072u);
}

// The tree is a billboard in the x-z plane, centred on the middle of its x
// extent, where the level loader puts its trunk's box.
TEST_F(ShapeContent, TheTreeIsABillboardInTheXzPlane) {
    const Definition d = readDefinition("tree", 300000, 300000);
    EXPECT_EQ(d.kind, 3u);
    for (const Polygon& p : d.object->polygons)
        for (const Vertex& v : p.vertices) EXPECT_EQ(v.y, 300000u);
    const double mid = (d.object->minX + d.object->maxX) / 2.0;
    const Polygon& trunk = d.object->polygons[0];
    EXPECT_NEAR(centroid(trunk.vertices).x, mid, 1.0);
}

} // namespace
