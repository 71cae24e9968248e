#include "world/texture.hpp"
#include "world/world_object.hpp"

#include <gtest/gtest.h>

namespace {

Vertex at(u32 x, u32 y, u32 z) {
    Vertex v;
    v.x = x;
    v.y = y;
    v.z = z;
    return v;
}

Polygon polygonOf(std::vector<Vertex> vertices) {
    Polygon polygon;
    polygon.vertices = std::move(vertices);
    return polygon;
}

// An object with one polygon and the given box.
WorldObject objectWith(std::vector<Vertex> vertices, u32 minX, u32 minY, u32 maxX, u32 maxY) {
    WorldObject object;
    object.polygons.push_back(polygonOf(std::move(vertices)));
    object.minX = minX;
    object.minY = minY;
    object.maxX = maxX;
    object.maxY = maxY;
    return object;
}

} // namespace

TEST(Rotate, AQuarterTurnFallsJustShortWithThePiOfAFloat) {
    // Box centre (2000, 3000).
    WorldObject object = objectWith({at(3000, 3000, 7), at(2001, 3000, 0), at(2000, 3000, 0)}, 1000,
                                    2000, 3000, 4000);
    rotate(object, 16384);
    const std::vector<Vertex>& v = object.polygons[0].vertices;
    EXPECT_EQ(v[0].x, 2000u);
    EXPECT_EQ(v[0].y, 3999u); // 999 north of the centre, not 1000
    EXPECT_EQ(v[0].z, 7u);
    EXPECT_EQ(v[1].x, 2000u); // one unit east lands on the centre
    EXPECT_EQ(v[1].y, 3000u);
    EXPECT_EQ(v[2].x, 2000u);
    EXPECT_EQ(v[2].y, 3000u);
}

TEST(Rotate, TurnsAboutTheCentreOfTheBoxTakenAsTruncatedHalves) {
    // minX / 2 + maxX / 2 = 1 + 2 = 3, not 4.
    WorldObject object = objectWith({at(1003, 3, 0), at(3, 1003, 0)}, 3, 3, 5, 5);
    rotate(object, 32768); // half a turn: 1000 east ends 1000 west, less the rounding
    const std::vector<Vertex>& v = object.polygons[0].vertices;
    EXPECT_EQ(v[0].x, 3u - 999);
    EXPECT_EQ(v[0].y, 3u); // sin(pi) is a hair below zero: truncated to zero
    EXPECT_EQ(v[1].x, 3u);
    EXPECT_EQ(v[1].y, 3u - 999);
}

TEST(Rotate, ByNothingOrAFullTurnAndOnlyTheLowSixteenBitsCount) {
    const WorldObject original =
        objectWith({at(10, 20, 30), at(65536, 70000, 0), at(0, 0, 0)}, 0, 0, 65536, 70000);
    WorldObject object = original;
    rotate(object, 0);
    rotate(object, 65536);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(object.polygons[0].vertices[i].x, original.polygons[0].vertices[i].x);
        EXPECT_EQ(object.polygons[0].vertices[i].y, original.polygons[0].vertices[i].y);
    }
    WorldObject quarter = original;
    WorldObject quarterAndATurn = original;
    rotate(quarter, 16384);
    rotate(quarterAndATurn, 65536 + 16384);
    EXPECT_EQ(quarter.polygons[0].vertices[1].x, quarterAndATurn.polygons[0].vertices[1].x);
    EXPECT_EQ(quarter.polygons[0].vertices[1].y, quarterAndATurn.polygons[0].vertices[1].y);
    EXPECT_EQ(quarter.minX, original.minX); // the box stays
    EXPECT_EQ(quarter.maxY, original.maxY);
}

TEST(Rotate, ResultsWrapAroundTheWorldEdgeWithoutOverflow) {
    // A vertex far west of a centre near 0 turns to a "negative" y: it wraps.
    WorldObject object = objectWith({at(0, 0, 0), at(0xFFFFFFFF, 0, 0)}, 0, 0, 0, 0);
    rotate(object, 16384);
    EXPECT_EQ(object.polygons[0].vertices[0].y, 0u);
    // 4294967295 east of the centre: turns to 4294967294 north (the sine just below 1).
    EXPECT_EQ(object.polygons[0].vertices[1].y, 4294967294u);
}

TEST(Translate, MovesEveryVertexButNotTheBox) {
    WorldObject object = objectWith({at(1, 2, 3), at(0xFFFFFFFF, 5, 6)}, 1, 2, 3, 4);
    object.polygons.push_back(polygonOf({at(100, 100, 100)}));
    translate(object, 65536, 0);
    EXPECT_EQ(object.polygons[0].vertices[0].x, 65537u);
    EXPECT_EQ(object.polygons[0].vertices[0].y, 2u);
    EXPECT_EQ(object.polygons[0].vertices[1].x, 65535u); // wraps
    EXPECT_EQ(object.polygons[1].vertices[0].x, 65636u);
    translate(object, 0, 0xFFFFFFFF); // one unit south, by wrap-around
    EXPECT_EQ(object.polygons[1].vertices[0].y, 99u);
    EXPECT_EQ(object.polygons[0].vertices[0].z, 3u);
    EXPECT_EQ(object.minX, 1u);
    EXPECT_EQ(object.maxX, 3u);
}

TEST(Clone, CopiesEverythingAndSharesOnlyTextures) {
    const Texture texture(1, 1);
    WorldObject source = objectWith({at(1, 2, 3), at(4, 5, 6), at(7, 8, 9)}, 1, 2, 7, 8);
    source.polygons[0].texture = &texture;
    source.polygons[0].colour = 0x01123456;
    source.polygons[0].nx = 1.5f;
    source.polygons[0].vertices[1].ny = -2.5f;
    source.height = 9;
    source.shapeKind = ShapeKind::Mesh;
    source.owner = 2;
    source.type = ObjectType::Shot;
    source.smooth = true;
    source.active = true;

    const auto copy = clone(source);
    EXPECT_EQ(copy->polygons[0].texture, &texture);
    EXPECT_EQ(copy->polygons[0].colour, 0x01123456u);
    EXPECT_EQ(copy->polygons[0].nx, 1.5f);
    EXPECT_EQ(copy->polygons[0].vertices[1].ny, -2.5f);
    EXPECT_EQ(copy->height, 9u);
    EXPECT_EQ(copy->owner, 2);
    EXPECT_EQ(copy->type, ObjectType::Shot);
    EXPECT_TRUE(copy->smooth);
    EXPECT_TRUE(copy->active);
    EXPECT_EQ(copy->maxY, 8u);

    translate(*copy, 1000, 1000);
    EXPECT_EQ(copy->polygons[0].vertices[0].x, 1001u);
    EXPECT_EQ(source.polygons[0].vertices[0].x, 1u); // the template stays put
}

TEST(ComputeNormals, FaceNormalIsTheCrossProductOfTheFirstTwoEdges) {
    WorldObject object =
        objectWith({at(0, 0, 0), at(65536, 0, 0), at(65536, 0, 65536), at(0, 0, 65536)}, 0, 0, 0, 0);
    computeNormals(object);
    const Polygon& face = object.polygons[0];
    // a = (65536, 0, 0), b = (0, 0, 65536): a x b = (0, -65536^2, 0), unnormalised.
    EXPECT_EQ(face.nx, 0.0f);
    EXPECT_EQ(face.ny, -4294967296.0f);
    EXPECT_EQ(face.nz, 0.0f);
    for (const Vertex& v : face.vertices) EXPECT_EQ(v.ny, -4294967296.0f);
}

TEST(ComputeNormals, VerticesAtOnePositionShareTheSumOfTheirFaces) {
    WorldObject object;
    // Floor triangle (normal +z) and wall triangle (normal -y) meeting along x.
    object.polygons.push_back(polygonOf({at(0, 0, 0), at(10, 0, 0), at(10, 10, 0)}));
    object.polygons.push_back(polygonOf({at(0, 0, 0), at(10, 0, 0), at(10, 0, 10)}));
    computeNormals(object);
    EXPECT_EQ(object.polygons[0].nz, 100.0f);
    EXPECT_EQ(object.polygons[1].ny, -100.0f);
    for (int p = 0; p < 2; ++p)
        for (int v = 0; v < 2; ++v) { // the shared positions
            const Vertex& vertex = object.polygons[p].vertices[v];
            EXPECT_EQ(vertex.nx, 0.0f);
            EXPECT_EQ(vertex.ny, -100.0f);
            EXPECT_EQ(vertex.nz, 100.0f);
        }
    EXPECT_EQ(object.polygons[0].vertices[2].ny, 0.0f); // only the floor's own
    EXPECT_EQ(object.polygons[0].vertices[2].nz, 100.0f);
    EXPECT_EQ(object.polygons[1].vertices[2].ny, -100.0f);
    EXPECT_EQ(object.polygons[1].vertices[2].nz, 0.0f);
}

TEST(ComputeNormals, APolygonOfFewerThanThreeVerticesGetsAZeroNormal) {
    WorldObject object;
    object.polygons.push_back(polygonOf({at(0, 0, 0), at(10, 0, 0)}));
    object.polygons.push_back(polygonOf({at(0, 0, 0), at(10, 0, 0), at(10, 10, 0)}));
    object.polygons[0].nx = 5.0f; // stale values do not survive
    computeNormals(object);
    EXPECT_EQ(object.polygons[0].nx, 0.0f);
    EXPECT_EQ(object.polygons[0].nz, 0.0f);
    // Its vertices still share the positions of the triangle.
    EXPECT_EQ(object.polygons[0].vertices[1].nz, 100.0f);
}
