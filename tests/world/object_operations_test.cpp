#include "world/texture.hpp"
#include "world/world_object.hpp"

#include <gtest/gtest.h>

#include <array>

namespace {

using Position = std::array<u32, 3>;
using Normal = std::array<f32, 3>;

// An object of one polygon per vertex list, with the box {minX, minY, maxX, maxY}.
WorldObject objectOf(std::vector<std::vector<Vertex>> polygons, std::array<u32, 4> box = {}) {
    WorldObject object;
    for (auto& vertices : polygons) object.polygons.emplace_back().vertices = std::move(vertices);
    object.minX = box[0], object.minY = box[1], object.maxX = box[2], object.maxY = box[3];
    return object;
}

Position position(const Vertex& v) {
    return {v.x, v.y, v.z};
}
Normal normal(const Vertex& v) {
    return {v.nx, v.ny, v.nz};
}
Normal normal(const Polygon& p) {
    return {p.nx, p.ny, p.nz};
}

} // namespace

TEST(Rotate, TurnsAboutTheTruncatedBoxCentreWithThePiOfAFloat) {
    const struct {
        u32 angle;
        std::array<u32, 4> box;
        u32 x, y, toX, toY;
    } cases[] = {
        // Centre (2000, 3000). The quarter turn's sine falls just short of 1:
        // 1000 east ends 999 north, and 1 east lands on the centre.
        {16384, {1000, 2000, 3000, 4000}, 3000, 3000, 2000, 3999},
        {16384, {1000, 2000, 3000, 4000}, 2001, 3000, 2000, 3000},
        {65536 + 16384, {1000, 2000, 3000, 4000}, 3000, 3000, 2000, 3999}, // low 16 bits only
        {0, {1000, 2000, 3000, 4000}, 3000, 70000, 3000, 70000},
        // Centre 5 / 2 + 3 / 2 = 3, not 4; sin(pi) is a hair from zero and truncates.
        {32768, {3, 3, 5, 5}, 1003, 3, 3u - 999, 3},
        {32768, {3, 3, 5, 5}, 3, 1003, 3, 3u - 999},
        // Far east of a centre at 0: the results wrap around the world edge.
        {16384, {0, 0, 0, 0}, 0xFFFFFFFF, 0, 0u - 187, 4294967294},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.angle << " (" << c.x << ", " << c.y << ")");
        WorldObject object = objectOf({{{c.x, c.y, 7}}}, c.box);
        rotate(object, c.angle);
        EXPECT_EQ(position(object.polygons[0].vertices[0]), (Position{c.toX, c.toY, 7}));
        EXPECT_EQ(object.maxY, c.box[3]); // the box stays
    }
}

TEST(Translate, MovesEveryVertexWithWrapButNotTheBox) {
    WorldObject object = objectOf({{{1, 2, 3}, {0xFFFFFFFF, 5, 6}}, {{100, 100, 100}}}, {1, 2, 3, 4});
    translate(object, 65536, 0xFFFFFFFF); // one cell east, one unit south by wrap-around
    EXPECT_EQ(position(object.polygons[0].vertices[0]), (Position{65537, 1, 3}));
    EXPECT_EQ(position(object.polygons[0].vertices[1]), (Position{65535, 4, 6}));
    EXPECT_EQ(position(object.polygons[1].vertices[0]), (Position{65636, 99, 100}));
    EXPECT_EQ(object.minX, 1u);
    EXPECT_EQ(object.maxX, 3u);
}

TEST(Clone, MovesApartFromItsTemplateAndSharesItsTextures) {
    const Texture texture(1, 1);
    WorldObject source = objectOf({{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}}, {1, 2, 7, 8});
    source.polygons[0].texture = &texture;
    source.type = ObjectType::Shot;
    const auto copy = clone(source);
    EXPECT_EQ(copy->polygons[0].texture, &texture);
    EXPECT_EQ(copy->type, ObjectType::Shot);
    translate(*copy, 1000, 1000);
    EXPECT_EQ(copy->polygons[0].vertices[0].x, 1001u);
    EXPECT_EQ(source.polygons[0].vertices[0].x, 1u); // the template stays put
}

TEST(ComputeNormals, FacesFromTheFirstTwoEdgesAndSharedPositionsSumThem) {
    // A floor quad (normal +z) and a wall (normal -y) meeting along x, and a
    // two-vertex line that touches the floor: it has no face.
    WorldObject object = objectOf({{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}},
                                   {{0, 0, 0}, {10, 0, 0}, {10, 0, 10}},
                                   {{5, 5, 5}, {10, 10, 0}}});
    object.polygons[2].nx = 5.0f; // stale values do not survive
    computeNormals(object);
    const std::vector<Polygon>& p = object.polygons;
    EXPECT_EQ(normal(p[0]), (Normal{0, 0, 100})); // unnormalised, not twice the quad's area
    EXPECT_EQ(normal(p[1]), (Normal{0, -100, 0}));
    EXPECT_EQ(normal(p[2]), (Normal{0, 0, 0}));
    for (int v = 0; v < 2; ++v) { // the shared positions
        EXPECT_EQ(normal(p[0].vertices[v]), (Normal{0, -100, 100}));
        EXPECT_EQ(normal(p[1].vertices[v]), (Normal{0, -100, 100}));
    }
    EXPECT_EQ(normal(p[0].vertices[3]), (Normal{0, 0, 100})); // the floor's own corner
    EXPECT_EQ(normal(p[1].vertices[2]), (Normal{0, -100, 0}));
    EXPECT_EQ(normal(p[2].vertices[0]), (Normal{0, 0, 0}));
    EXPECT_EQ(normal(p[2].vertices[1]), (Normal{0, 0, 100})); // the line shares a floor corner
}
