#include "render/polygon_setup.hpp"

#include "render_test_support.hpp"
#include "world/texture.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A one-polygon object and a scene that knows the owner colours.
struct PolygonCase {
    WorldObject object;
    std::vector<u32> colours{0x00FF0000, 0x000000FF};
    Scene scene;
    Texture texture{4, 4};

    PolygonCase() { scene.colours = colours; }

    Polygon& polygon() { return object.polygons.front(); }
};

ScreenPoint pointAt(f32 x, f32 y, f32 z) {
    ScreenPoint p;
    p.worldX = x;
    p.worldY = y;
    p.worldZ = z;
    return p;
}

} // namespace

TEST(PolygonColour, MarkerZeroKeepsTheColour) {
    EXPECT_EQ(tintedColour(0x00123456, 1, std::vector<u32>{0xFFFFFF}), 0x00123456u);
}

TEST(PolygonColour, MarkerOneMixesHalfOwnColourAndHalfOwnerColour) {
    const std::vector<u32> colours{0x00FFFFFF, 0x000000FF};
    EXPECT_EQ(tintedColour(0x01FF0000, 2, colours), 0x007F007Fu);
    EXPECT_EQ(tintedColour(0x01FFFFFF, 1, colours), 0x00FEFEFEu);
    // Each channel halves on its own: no bit crosses into the channel below.
    EXPECT_EQ(tintedColour(0x01010101, 2, colours), 0x0000007Fu);
}

TEST(PolygonColour, OwnerTintWithoutAValidOwnerKeepsTheOwnColour) {
    const std::vector<u32> colours{0x00FFFFFF, 0x000000FF};
    EXPECT_EQ(tintedColour(0x01FF8001, 0, colours), 0x00FF8001u);
    EXPECT_EQ(tintedColour(0x01FF8001, 3, colours), 0x00FF8001u);
}

TEST(PolygonColour, OtherMarkersClearTheLowestBitOfEachChannel) {
    EXPECT_EQ(tintedColour(0x02FF8001, 0, {}), 0x00FE8000u);
    EXPECT_EQ(tintedColour(0xFF030303, 1, std::vector<u32>{0}), 0x00020202u);
}

TEST(PolygonSetup, AppendsAScreenPolygonWithColourAndSmoothFlag) {
    PolygonCase c;
    addPolygon(c.object, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, 0x01FF0000);
    c.object.owner = 2;
    c.object.smooth = true;
    ScenePolygon& first = setUpPolygon(c.polygon(), c.object, c.scene);
    EXPECT_EQ(first.colour, 0x007F007Fu);
    EXPECT_EQ(first.smooth, 1u);
    EXPECT_EQ(first.texture, nullptr);
    EXPECT_TRUE(first.edges.empty());
    c.object.smooth = false;
    setUpPolygon(c.polygon(), c.object, c.scene);
    ASSERT_EQ(c.scene.polygons.size(), 2u);
    EXPECT_EQ(c.scene.polygons[1].smooth, 0u);
}

TEST(PolygonSetup, WallFaceTextureFrame) {
    PolygonCase c;
    Polygon& wall = addPolygon(c.object, {{0, 10, 0}, {0, 0, 0}, {0, 0, 100}}, 0, &c.texture);
    wall.nx = 1000;
    c.object.minY = 0;
    c.object.maxY = 10;
    const ScenePolygon& screen = setUpPolygon(wall, c.object, c.scene);
    ASSERT_EQ(screen.texture, &c.texture);
    EXPECT_EQ(screen.axis, 0);
    EXPECT_EQ(screen.uAxis.x, 0.0f);
    EXPECT_EQ(screen.uAxis.y, 1.0f);
    EXPECT_EQ(screen.uAxis.z, 0.0f);
    EXPECT_EQ(screen.vAxis.x, 0.0f);
    EXPECT_EQ(screen.vAxis.y, 0.0f);
    EXPECT_EQ(screen.vAxis.z, -1.0f);
    // Origin on the plane x = 0 at the box's low y (the normal points to +x) and height 0.
    EXPECT_EQ(screen.origin.x, 0.0f);
    EXPECT_EQ(screen.origin.y, 0.0f);
    EXPECT_EQ(screen.origin.z, 0.0f);

    const f32 inverse = 1.0f / frameDeterminant(screen);
    const TexturePoint base = textureCoordinates(screen, 0, 40, 300, inverse);
    const TexturePoint higher = textureCoordinates(screen, 0, 40, 556, inverse);
    const TexturePoint along = textureCoordinates(screen, 0, 168, 300, inverse);
    EXPECT_EQ(higher.v - base.v, -256.0f); // two texels
    EXPECT_EQ(higher.u, base.u);
    EXPECT_EQ(along.u - base.u, 128.0f);
    EXPECT_EQ(along.v, base.v);
}

TEST(PolygonSetup, WallFacingMinusXTakesTheOriginFromTheHighY) {
    PolygonCase c;
    Polygon& wall =
        addPolygon(c.object, {{500, 0, 0}, {500, 10, 0}, {500, 10, 100}}, 0, &c.texture);
    wall.nx = -1000;
    c.object.minY = 0;
    c.object.maxY = 7000;
    const ScenePolygon& screen = setUpPolygon(wall, c.object, c.scene);
    EXPECT_EQ(screen.axis, 0);
    EXPECT_EQ(screen.origin.x, 500.0f);
    EXPECT_EQ(screen.origin.y, 7000.0f);
}

TEST(PolygonSetup, FloorFaceProjectsAlongZFromTheBoxCorner) {
    PolygonCase c;
    Polygon& floor =
        addPolygon(c.object, {{2000, 1000, 50}, {1000, 1000, 50}, {1000, 3000, 50}}, 0, &c.texture);
    floor.nz = 1000;
    c.object.minX = 1000;
    c.object.minY = 1000;
    c.object.maxX = 2000;
    c.object.maxY = 3000;
    const ScenePolygon& screen = setUpPolygon(floor, c.object, c.scene);
    EXPECT_EQ(screen.axis, 2);
    EXPECT_EQ(screen.origin.x, 1000.0f);
    EXPECT_EQ(screen.origin.y, 1000.0f);
    EXPECT_EQ(screen.origin.z, 50.0f);
    // u measures along the first edge (from the second vertex toward the first),
    // v across it.
    const f32 inverse = 1.0f / frameDeterminant(screen);
    const TexturePoint corner = textureCoordinates(screen, 1000, 1000, 50, inverse);
    const TexturePoint p = textureCoordinates(screen, 1300, 1700, 50, inverse);
    EXPECT_EQ(corner.u, 0.0f);
    EXPECT_EQ(corner.v, 0.0f);
    EXPECT_EQ(p.u, 300.0f);
    EXPECT_EQ(std::fabs(p.v), 700.0f);
}

TEST(PolygonSetup, ProjectionAxisTruncatesTheNormalFirst) {
    PolygonCase c;
    Polygon& tilted = addPolygon(c.object, {{0, 0, 0}, {0, 10, 5}, {3, 10, 5}}, 0, &c.texture);
    tilted.nx = 0.9f;
    tilted.ny = -0.5f;
    tilted.nz = 0.95f;
    EXPECT_EQ(setUpPolygon(tilted, c.object, c.scene).axis, 0); // every component below 1
    tilted.nx = 2;
    tilted.ny = -3.5f;
    tilted.nz = 3.9f;
    EXPECT_EQ(setUpPolygon(tilted, c.object, c.scene).axis, 1); // |-3| ties with 3: y wins
    tilted.ny = 0;
    tilted.nz = -30;
    EXPECT_EQ(setUpPolygon(tilted, c.object, c.scene).axis, 2);
}

TEST(PolygonSetup, DegenerateTextureFramesDrawUntextured) {
    PolygonCase c;
    // The first two vertices coincide: u has no direction.
    Polygon& same = addPolygon(c.object, {{5, 5, 0}, {5, 5, 0}, {9, 5, 9}}, 0, &c.texture);
    same.ny = 100;
    EXPECT_EQ(setUpPolygon(same, c.object, c.scene).texture, nullptr);
    // The normal runs along the first edge: v has no direction.
    Polygon& along = addPolygon(c.object, {{0, 0, 0}, {0, 0, 10}, {1, 0, 0}}, 0, &c.texture);
    along.nz = 100;
    const ScenePolygon& screen = setUpPolygon(along, c.object, c.scene);
    EXPECT_EQ(screen.texture, nullptr);
    EXPECT_EQ(screen.axis, 0);
    EXPECT_EQ(screen.origin.x, 0.0f);
    // A normal of zero length gives no direction across the first edge.
    Polygon& flat = addPolygon(c.object, {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}}, 0, &c.texture);
    EXPECT_EQ(setUpPolygon(flat, c.object, c.scene).texture, nullptr);
    // A polygon of one vertex has no frame either.
    Polygon& dot = addPolygon(c.object, {{0, 0, 0}}, 0, &c.texture);
    dot.nz = 1;
    EXPECT_EQ(setUpPolygon(dot, c.object, c.scene).texture, nullptr);
}

TEST(PolygonSetup, EdgesCarryTextureCoordinatesOnlyForTexturedPolygons) {
    PolygonCase c;
    Polygon& wall = addPolygon(c.object, {{0, 10, 0}, {0, 0, 0}, {0, 0, 100}}, 0, &c.texture);
    wall.nx = 1000;
    ScenePolygon& textured = setUpPolygon(wall, c.object, c.scene);
    ScreenPoint a = pointAt(0, 300, 0);
    a.sx = 1;
    a.sy = 2;
    a.depth = 3;
    a.shade = 0.5f;
    ScreenPoint b = pointAt(0, 44, 512);
    b.sx = 4;
    b.sy = 5;
    b.depth = 6;
    emitEdge(textured, a, b);
    ASSERT_EQ(textured.edges.size(), 1u);
    const ScreenEdge& e = textured.edges[0];
    EXPECT_EQ(e.sx1, 1.0f);
    EXPECT_EQ(e.sy1, 2.0f);
    EXPECT_EQ(e.depth1, 3.0f);
    EXPECT_EQ(e.sx2, 4.0f);
    EXPECT_EQ(e.sy2, 5.0f);
    EXPECT_EQ(e.depth2, 6.0f);
    EXPECT_EQ(e.shade1, 0.5f);
    EXPECT_EQ(e.shade2, 1.0f);
    EXPECT_EQ(e.texU1, 300.0f);
    EXPECT_EQ(e.texV1, 0.0f);
    EXPECT_EQ(e.texU2, 44.0f);
    EXPECT_EQ(e.texV2, -512.0f);

    wall.texture = nullptr;
    ScenePolygon& plain = setUpPolygon(wall, c.object, c.scene);
    emitEdge(plain, a, b);
    EXPECT_EQ(plain.edges[0].texU1, 0.0f);
    EXPECT_EQ(plain.edges[0].texV2, 0.0f);
}
