// The renderer's front end: the camera and projection, each polygon's colour and
// texture frame, and the scene built from the cells around the camera.
#include "render/polygon_setup.hpp"
#include "render/scene.hpp"
#include "render/view.hpp"
#include "render_test_support.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr u32 eye = 5 * cell;

std::vector<f32> values(const Vec3f& v) {
    return {v.x, v.y, v.z};
}

// Polygons of one object set up into a scene that knows two owner colours.
struct PolygonCase {
    WorldObject object;
    std::vector<u32> colours{0x00FF0000, 0x000000FF};
    Scene scene{{}, 0, 0, nullptr, colours, {}};
    Texture texture{4, 4};

    // A textured polygon with the given face normal, set up.
    const ScenePolygon& setUp(const std::vector<Corner>& corners, Vec3f normal) {
        Polygon& polygon = addPolygon(object, corners, 0, &texture);
        polygon.nx = normal.x;
        polygon.ny = normal.y;
        polygon.nz = normal.z;
        return setUpPolygon(polygon, object, scene);
    }
};

// An empty 16 x 16 level seen on a 640 x 480 screen.
struct TestWorld : SyntheticWorld {
    FrameBounds screen = boundsOf(640, 480);

    TestWorld() { grid.resize(16, 16); }
    // A small block around (x, y), coloured so the scene shows which it is.
    void mark(u32 x, u32 y, u32 colour) {
        placeObject(*this, makeCuboid(x - 500, y - 500, 0, x + 500, y + 500, 2000, colour));
    }
    // One object of polygons coloured 1, 2, ... in order.
    void placePolygons(const std::vector<std::vector<Corner>>& polygons) {
        auto object = std::make_unique<WorldObject>();
        for (const std::vector<Corner>& corners : polygons)
            addPolygon(*object, corners, static_cast<u32>(object->polygons.size() + 1));
        finishObject(*object);
        placeObject(*this, std::move(object));
    }
    Scene build(const Camera& camera) { return buildScene(grid, camera, screen.maxX, screen.maxY, colours); }
    // The colours of the drawn polygons in drawing order, runs collapsed.
    std::vector<u32> colourOrder(const Camera& camera) {
        std::vector<u32> order;
        for (const ScenePolygon& p : build(camera).polygons)
            if (order.empty() || order.back() != p.colour) order.push_back(p.colour);
        return order;
    }
};

} // namespace

TEST(View, CameraAndProjectionAtBothResolutions) {
    EXPECT_EQ(headingRadians(32768), 3.1415927f); // 2 * pi as a float times heading / 65536
    Camera moved = playerEye(10, 4294967290u, 65000);
    moved.moveAndTurn(-20, 10, 1000); // positions and heading wrap around
    EXPECT_EQ((std::vector<u32>{moved.x, moved.y, moved.heading}), (std::vector<u32>{4294967286u, 4, 464}));
    EXPECT_EQ(moved.sinHeading, std::sin(headingRadians(464)));
    EXPECT_EQ(worldDelta(5, 4294967295u), -4294967290.0f); // exact before it becomes a float

    const Camera camera = playerEye(0, 0, 16384);
    const struct {
        u16 width, height;
        f32 centreX, rowsBelow, focal, horizon;
    } cases[] = {{640, 480, 319.5f, 159.6667f, 446.24f, 319.333f},
                 {320, 240, 159.5f, 79.6667f, 222.65f, 159.333f}};
    for (const auto& c : cases) {
        const ViewConstants view = viewConstants(camera, c.width - 1, c.height - 1);
        EXPECT_EQ(view.centreX, c.centreX);
        EXPECT_NEAR(view.rowsBelow, c.rowsBelow, 1e-3f);
        EXPECT_NEAR(view.focal, c.focal, 0.01f);
        // Straight ahead at eye height: the centre of the horizon at any depth.
        for (const f32 depth : {1.0f, 1000.0f, 65536.0f, 131072.0f}) {
            const ScreenPoint p = project(ViewPoint{0, depth, 0}, view);
            EXPECT_EQ(p.sx, c.centreX);
            EXPECT_NEAR(p.sy, c.horizon, 1e-3f);
            EXPECT_EQ(p.depth, depth);
        }
    }
    // Positive lateral lies left (off the edge here, not clipped), rise lies above.
    const ViewConstants view = viewConstants(camera, 639, 479);
    EXPECT_NEAR(project(ViewPoint{1000, 1000, 0}, view).sx, -126.74f, 0.01f);
    EXPECT_NEAR(project(ViewPoint{-1000, 1000, 0}, view).sx, 765.74f, 0.01f);
    EXPECT_NEAR(project(ViewPoint{0, 1000, 1000}, view).sy, 319.333f - 446.24f, 0.01f);
}

TEST(PolygonSetup, TintMarkerPicksOwnOwnerTintedOrLowBitsCleared) {
    const std::vector<u32> colours{0x00FFFFFF, 0x000000FF};
    const struct {
        u32 colour;
        u16 owner;
        u32 expected;
    } cases[] = {
        {0x00123456, 1, 0x00123456}, // marker 0: the colour itself
        {0x01FF0000, 2, 0x007F007F}, // marker 1: half own, half owner's
        {0x01FFFFFF, 1, 0x00FEFEFE},
        {0x01010101, 2, 0x0000007F}, // each channel halves on its own
        {0x01FF8001, 0, 0x00FF8001}, // no valid owner: the own colour
        {0x01FF8001, 3, 0x00FF8001},
        {0x02FF8001, 0, 0x00FE8000}, // other markers: lowest bit of each channel cleared
        {0xFF030303, 1, 0x00020202},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tintedColour(c.colour, c.owner, colours), c.expected) << std::hex << c.colour;

    PolygonCase p;
    p.object.owner = 2;
    addPolygon(p.object, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, 0x01FF0000);
    EXPECT_EQ(setUpPolygon(p.object.polygons[0], p.object, p.scene).colour, 0x007F007Fu);
}

TEST(PolygonSetup, WallTextureFrame) {
    PolygonCase c;
    c.object.minY = 1000;
    c.object.maxY = 7000;
    const ScenePolygon& wall = c.setUp({{0, 10, 0}, {0, 0, 0}, {0, 0, 100}}, {1000, 0, 0});
    ASSERT_EQ(wall.texture, &c.texture);
    EXPECT_EQ(wall.axis, 0);
    EXPECT_EQ(values(wall.uAxis), (std::vector<f32>{0, 1, 0}));
    EXPECT_EQ(values(wall.vAxis), (std::vector<f32>{0, 0, -1}));
    // On the wall's plane at height 0 and the box's low y, as the normal points to +x.
    EXPECT_EQ(values(wall.origin), (std::vector<f32>{0, 1000, 0}));
    const f32 inverse = 1.0f / frameDeterminant(wall);
    const TexturePoint base = textureCoordinates(wall, 0, 40, 300, inverse);
    const TexturePoint higher = textureCoordinates(wall, 0, 40, 556, inverse);
    const TexturePoint along = textureCoordinates(wall, 0, 168, 300, inverse);
    EXPECT_EQ(higher.v - base.v, -256.0f); // two texels
    EXPECT_EQ(higher.u, base.u);
    EXPECT_EQ(along.u - base.u, 128.0f);
    EXPECT_EQ(along.v, base.v);

    // Facing -x, the origin lies at the box's high y.
    EXPECT_EQ(values(c.setUp({{500, 0, 0}, {500, 10, 0}, {500, 10, 100}}, {-1000, 0, 0}).origin),
              (std::vector<f32>{500, 7000, 0}));
    // The projection axis comes from the truncated normal; on a tie y wins.
    const std::vector<Corner> tilted{{0, 0, 0}, {0, 10, 5}, {3, 10, 5}};
    EXPECT_EQ(c.setUp(tilted, {0.9f, -0.5f, 0.95f}).axis, 0); // every component below 1
    EXPECT_EQ(c.setUp(tilted, {2, -3.5f, 3.9f}).axis, 1);     // |-3| ties with 3
}

TEST(PolygonSetup, DegenerateTextureFramesDrawUntextured) {
    PolygonCase c;
    // The first two vertices coincide: u has no direction.
    EXPECT_EQ(c.setUp({{5, 5, 0}, {5, 5, 0}, {9, 5, 9}}, {0, 100, 0}).texture, nullptr);
    // The normal runs along the first edge: v has no direction.
    EXPECT_EQ(c.setUp({{0, 0, 0}, {0, 0, 10}, {1, 0, 0}}, {0, 0, 100}).texture, nullptr);
    // A normal of zero length, and a polygon of one vertex.
    EXPECT_EQ(c.setUp({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}}, {0, 0, 0}).texture, nullptr);
    EXPECT_EQ(c.setUp({{0, 0, 0}}, {0, 0, 1}).texture, nullptr);
}

TEST(SceneBuild, GathersTheFiveByFiveCellsAroundTheCameraAndDrawsFarObjectsFirst) {
    TestWorld world;
    const u32 row = cell + cell / 2;
    world.mark(cell / 2, row, 1);
    world.mark(4 * cell + cell / 2, row, 2);
    world.mark(5 * cell + cell / 2, row, 3);
    // Looking along -x from cell 1: column 0 is in the window, not column -1.
    EXPECT_EQ(world.colourOrder(playerEye(100000, row, 49152)), std::vector<u32>{1});
    // From x = 131072 (cell 2) the window is columns 0 to 4.
    EXPECT_EQ(world.colourOrder(playerEye(131072, row, 16384)), std::vector<u32>{2});
    // A camera beyond the grid's last column gathers nothing.
    EXPECT_TRUE(world.build(playerEye(20 * cell, cell, 49152)).polygons.empty());

    // Diagonally ahead at three distances.
    TestWorld far;
    far.mark(eye + 10000, eye + 10000, 1);
    far.mark(eye + 40000, eye + 40000, 2);
    far.mark(eye + 25000, eye + 25000, 3);
    EXPECT_EQ(far.colourOrder(playerEye(eye, eye, 16384)), (std::vector<u32>{2, 3, 1}));
    // Lined up along one axis: both boxes start 40000 ahead along x, but the
    // second lies 40000 off to the side as well. It is the farther one and is
    // drawn first, although the cells give it second.
    TestWorld lined;
    const u32 x = eye + 10000;
    placeObject(lined, makeCuboid(x + 40000, eye - 500, 0, x + 41000, eye + 500, 100, 1));
    placeObject(lined, makeCuboid(x + 40000, eye + 40000, 0, x + 41000, eye + 45000, 100, 2));
    EXPECT_EQ(lined.colourOrder(playerEye(x, eye, 16384)), (std::vector<u32>{2, 1}));
    // At the same distance from the eye (one ahead along x, one along y), the
    // one the cells give first is drawn first: both lie in column 5, and the
    // first reaches down into row 4, although it was placed second.
    TestWorld tie;
    placeObject(tie, makeCuboid(x - 500, eye + 40000, 0, x + 500, eye + 41000, 100, 2));
    placeObject(tie, makeCuboid(x + 40000, eye - 500, 0, x + 41000, eye + 500, 100, 1));
    EXPECT_EQ(tie.colourOrder(playerEye(x, eye, 12000)), (std::vector<u32>{1, 2}));
}

TEST(SceneBuild, PolygonsWithoutVerticesOrAreaAreSkipped) {
    // An empty polygon, one whose corners lie on a line (no area, no normal)
    // and a proper one facing the eye.
    TestWorld odd;
    odd.placePolygons({{},
                       {{eye + 20000, eye, 0}, {eye + 20000, eye + 10, 0}, {eye + 20000, eye + 20, 0}},
                       {{eye + 20000, eye, 0}, {eye + 20000, eye, 100}, {eye + 20000, eye + 100, 0}}});
    const Scene scene = odd.build(playerEye(eye, eye, 16384));
    ASSERT_EQ(scene.polygons.size(), 1u);
    EXPECT_EQ(scene.polygons[0].colour, 3u);
    EXPECT_EQ(scene.polygons[0].edges.size(), 3u);
}

TEST(SceneBuild, EdgesAcrossTheNearSideAreCutJustInFrontOfTheEye) {
    TestWorld world;
    // Looking along +y, depth is dy: the first vertex lies 100 behind the eye,
    // the others 100 in front. Lying on the ground, facing up to the eye.
    world.placePolygons({{{eye + 200, eye - 100, 0}, {eye, eye + 100, 0}, {eye - 50, eye + 100, 0}}});
    const Camera camera = playerEye(eye, eye, 0);
    const Scene scene = world.build(camera);
    ASSERT_EQ(scene.polygons.size(), 1u);
    const std::vector<ScreenEdge>& edges = scene.polygons[0].edges;
    ASSERT_EQ(edges.size(), 3u);
    // The search visits depths 0, 50, 25, 12.5 and stops at 6.25; the lateral
    // offset is cut at the same fraction of the edge: 200 - 106.25.
    const ScreenPoint cut =
        project(ViewPoint{93.75f, 6.25f, -3072}, viewConstants(camera, world.screen.maxX, world.screen.maxY));
    EXPECT_EQ(
        (std::vector<f32>{edges[0].first.sx, edges[0].first.sy, edges[0].first.depth, edges[0].second.depth}),
        (std::vector<f32>{cut.sx, cut.sy, 6.25f, 100}));
    // Closing edge: from the last vertex to the cut point of the way back.
    EXPECT_EQ(edges[2].first.depth, 100.0f);
    EXPECT_TRUE(edges[2].second.depth > 0.0f && edges[2].second.depth <= 8.0f) << edges[2].second.depth;

    // A polygon wholly behind the eye keeps no edges, while a second polygon puts
    // the box in view.
    TestWorld behind;
    behind.placePolygons(
        {{{eye + 5000, eye + 3000, 0}, {eye + 6000, eye + 3000, 0}, {eye + 6000, eye + 4000, 0}},
         {{eye + 5000, eye - 9000, 0}, {eye + 5000, eye - 9000, 1}, {eye + 5000, eye - 9001, 1}}});
    const Scene away = behind.build(playerEye(eye, eye, 32768)); // looking along -y
    ASSERT_GE(away.polygons.size(), 1u);
    EXPECT_EQ(away.polygons[0].colour, 1u);
    EXPECT_TRUE(away.polygons[0].edges.empty());
}
