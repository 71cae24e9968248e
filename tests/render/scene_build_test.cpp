#include "render/scene.hpp"

#include "render/view.hpp"
#include "render_test_support.hpp"
#include "world/world_grid.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// A level of cells with objects placed in every cell their box touches.
struct TestWorld {
    WorldGrid grid;
    std::vector<std::unique_ptr<WorldObject>> objects;
    std::vector<u32> colours{0x00FF0000, 0x0000FF00};
    ScreenInfo screen = screenOf(640, 480);

    explicit TestWorld(u16 size = 16) { grid.resize(size, size); }

    WorldObject& place(std::unique_ptr<WorldObject> object) {
        WorldObject& o = *object;
        for (u32 cx = cellOf(o.minX); cx <= cellOf(o.maxX); ++cx)
            for (u32 cy = cellOf(o.minY); cy <= cellOf(o.maxY); ++cy)
                if (cx < grid.width && cy < grid.height) grid.cellFor(cx, cy).add(&o);
        objects.push_back(std::move(object));
        return o;
    }

    Scene build(const Camera& camera) { return buildScene(grid, camera, screen, colours); }
};

// A small marker block around (x, y), coloured so the scene shows which it is.
std::unique_ptr<WorldObject> marker(u32 x, u32 y, u32 colour) {
    return makeCuboid(x - 500, y - 500, 0, x + 500, y + 500, 2000, colour);
}

std::vector<u32> colourOrder(const Scene& scene) {
    std::vector<u32> order;
    for (const ScenePolygon& p : scene.polygons)
        if (order.empty() || order.back() != p.colour) order.push_back(p.colour);
    return order;
}

bool contains(const std::vector<u32>& order, u32 colour) {
    return std::find(order.begin(), order.end(), colour) != order.end();
}

} // namespace

TEST(SceneBuild, EmptyWorldGivesAnEmptyScene) {
    TestWorld world;
    const Camera camera = standardCamera(5 * cell, 5 * cell, 16384);
    Scene scene = world.build(camera);
    EXPECT_TRUE(scene.polygons.empty());
    EXPECT_EQ(scene.camera, &camera);
    EXPECT_EQ(scene.screen, &world.screen);
    EXPECT_EQ(scene.colours.data(), world.colours.data());
    WorldGrid noCells;
    EXPECT_TRUE(buildScene(noCells, camera, world.screen, world.colours).polygons.empty());
}

TEST(SceneBuild, GathersOnlyTheFiveByFiveCellsAroundTheCamera) {
    TestWorld world;
    // Looking along -x from cell 1: column 0 is in the window, not column -1.
    world.place(marker(cell / 2, cell + cell / 2, 0x000001));
    world.place(marker(4 * cell + cell / 2, cell + cell / 2, 0x000002));
    const Camera west = standardCamera(100000, cell + cell / 2, 49152);
    EXPECT_EQ(colourOrder(world.build(west)), std::vector<u32>{0x000001});

    // From x = 131072 (cell 2) the window is columns 0 to 4.
    world.place(marker(5 * cell + cell / 2, cell + cell / 2, 0x000003));
    const Camera east = standardCamera(131072, cell + cell / 2, 16384);
    const std::vector<u32> seen = colourOrder(world.build(east));
    EXPECT_TRUE(contains(seen, 0x000002));
    EXPECT_FALSE(contains(seen, 0x000003));

    // A camera beyond the grid's last column gathers nothing.
    const Camera outside = standardCamera(20 * cell, cell, 49152);
    EXPECT_TRUE(world.build(outside).polygons.empty());
}

TEST(SceneBuild, DrawsFarObjectsFirst) {
    TestWorld world;
    // Diagonally ahead, so that the nearest box edge along either axis grows with
    // the distance (the order key is not a Euclidean distance).
    const u32 eye = 5 * cell;
    world.place(marker(eye + 10000, eye + 10000, 0x000001));
    world.place(marker(eye + 40000, eye + 40000, 0x000002));
    world.place(marker(eye + 25000, eye + 25000, 0x000003));
    const Camera camera = standardCamera(eye, eye, 16384);
    EXPECT_EQ(colourOrder(world.build(camera)), (std::vector<u32>{0x000002, 0x000003, 0x000001}));
}

TEST(SceneBuild, EqualOrderKeysKeepTheOrderOfGathering) {
    TestWorld world;
    // The nearest box edge of both lies 40000 from the eye, so their keys tie; the
    // one in the lower column (5) is gathered first and drawn first.
    const u32 eyeX = 5 * cell + 10000, eyeY = 5 * cell;
    world.place(
        makeCuboid(eyeX + 61000, eyeY - 45000, 0, eyeX + 62000, eyeY - 40000, 100, 0x000002));
    world.place(
        makeCuboid(eyeX + 40000, eyeY + 40000, 0, eyeX + 41000, eyeY + 45000, 100, 0x000001));
    const Camera camera = standardCamera(eyeX, eyeY, 16384);
    EXPECT_EQ(colourOrder(world.build(camera)), (std::vector<u32>{0x000001, 0x000002}));
}

TEST(SceneBuild, ObjectsOutsideTheViewConeOrInactiveAreNotDrawn) {
    TestWorld world;
    const u32 eye = 5 * cell;
    // Large, but wholly behind the eye.
    world.place(makeCuboid(eye - 100000, eye - 60000, 0, eye - 1000, eye + 60000, 30000, 0x000001));
    // Far off to the side: every corner more than 75.5 degrees from the view.
    world.place(makeCuboid(eye + 1000, eye + 50000, 0, eye + 2000, eye + 60000, 30000, 0x000002));
    WorldObject& inactive = world.place(marker(eye + 20000, eye, 0x000003));
    inactive.active = false;
    world.place(marker(eye + 30000, eye, 0x000004));
    const Camera camera = standardCamera(eye, eye, 16384);
    EXPECT_EQ(colourOrder(world.build(camera)), std::vector<u32>{0x000004});
}

TEST(SceneBuild, KeepsOnlyPolygonsThatFaceTheEyeExceptOnTwoSidedObjects) {
    TestWorld world;
    const u32 eye = 5 * cell;
    WorldObject& block = world.place(marker(eye + 20000, eye, 0x000001));
    const Camera camera = standardCamera(eye, eye, 16384);
    // Of a block ahead and below the eye, the top and the face toward the eye.
    EXPECT_EQ(world.build(camera).polygons.size(), 2u);
    block.shapeKind = ShapeKind::TwoSided;
    EXPECT_EQ(world.build(camera).polygons.size(), 6u);
}

TEST(SceneBuild, DegenerateNormalKeepsThePolygonAndEmptyPolygonsAreSkipped) {
    TestWorld world;
    const u32 eye = 5 * cell;
    auto object = std::make_unique<WorldObject>();
    addPolygon(*object,
               {{eye + 20000, eye, 0}, {eye + 20000, eye + 10, 0}, {eye + 20000, eye + 20, 0}},
               0x000001);
    object->polygons.emplace_back(); // no vertices
    finishObject(*object);
    world.place(std::move(object));
    const Camera camera = standardCamera(eye, eye, 16384);
    const Scene scene = world.build(camera);
    ASSERT_EQ(scene.polygons.size(), 1u);
    EXPECT_EQ(scene.polygons[0].edges.size(), 3u);
}

TEST(SceneBuild, EdgeAcrossTheNearSideIsCutJustInFrontOfTheEye) {
    TestWorld world;
    const u32 eye = 5 * cell;
    auto object = std::make_unique<WorldObject>();
    // Looking along +y, depth is dy: the first vertex lies 100 behind the eye,
    // the others 100 in front. Lying on the ground, facing up to the eye.
    addPolygon(*object, {{eye + 200, eye - 100, 0}, {eye, eye + 100, 0}, {eye - 50, eye + 100, 0}},
               0x000001);
    finishObject(*object);
    world.place(std::move(object));
    const Camera camera = standardCamera(eye, eye, 0);
    const Scene scene = world.build(camera);
    ASSERT_EQ(scene.polygons.size(), 1u);
    const std::vector<ScreenEdge>& edges = scene.polygons[0].edges;
    ASSERT_EQ(edges.size(), 3u);

    // The search visits depths 0, 50, 25, 12.5 and stops at 6.25; the lateral
    // offset is cut at the same fraction of the edge: 200 - 106.25.
    const ViewConstants view = viewConstants(camera, world.screen);
    ViewPoint cut;
    cut.lateral = 93.75f;
    cut.depth = 6.25f;
    cut.rise = -3072;
    const ScreenPoint expected = project(cut, view);
    EXPECT_EQ(edges[0].depth1, 6.25f);
    EXPECT_EQ(edges[0].sx1, expected.sx);
    EXPECT_EQ(edges[0].sy1, expected.sy);
    EXPECT_EQ(edges[0].depth2, 100.0f);
    // Closing edge: from the last vertex to the cut point of the way back.
    EXPECT_EQ(edges[2].depth1, 100.0f);
    EXPECT_GT(edges[2].depth2, 0.0f);
    EXPECT_LE(edges[2].depth2, 8.0f);
    // An edge wholly behind the eye emits nothing: here every edge has a front end.
    for (const ScreenEdge& e : edges) {
        EXPECT_GT(e.depth1, 0.0f);
        EXPECT_GT(e.depth2, 0.0f);
    }
}

TEST(SceneBuild, PolygonWhollyBehindTheEyeKeepsNoEdges) {
    TestWorld world;
    const u32 eye = 5 * cell;
    auto object = std::make_unique<WorldObject>();
    addPolygon(
        *object,
        {{eye + 5000, eye + 3000, 0}, {eye + 6000, eye + 3000, 0}, {eye + 6000, eye + 4000, 0}},
        0x000001);
    // A second polygon that puts the box in view while the first lies behind.
    addPolygon(
        *object,
        {{eye + 5000, eye - 9000, 0}, {eye + 5000, eye - 9000, 1}, {eye + 5000, eye - 9001, 1}},
        0x000002);
    finishObject(*object);
    world.place(std::move(object));
    const Camera camera = standardCamera(eye, eye, 32768); // looking along -y
    const Scene scene = world.build(camera);
    ASSERT_GE(scene.polygons.size(), 1u);
    EXPECT_EQ(scene.polygons[0].colour, 0x000001u);
    EXPECT_TRUE(scene.polygons[0].edges.empty());
}

TEST(SceneBuild, SmoothObjectsCarryTheHorizontalShareOfTheVertexNormal) {
    TestWorld world;
    const u32 eye = 5 * cell;
    WorldObject& floor =
        world.place(makeCuboid(eye + 10000, eye - 2000, 0, eye + 14000, eye + 2000, 10, 0));
    const Camera camera = standardCamera(eye, eye, 16384);
    floor.smooth = true;
    Scene scene = world.build(camera);
    // Each corner of the top is shared by the top and two sides: the summed
    // normal leans outward, so the shade lies strictly between 0 and 1.
    ASSERT_FALSE(scene.polygons.empty());
    for (const ScenePolygon& p : scene.polygons) {
        EXPECT_EQ(p.smooth, 1u);
        for (const ScreenEdge& e : p.edges) {
            EXPECT_GT(e.shade1, 0.0f);
            EXPECT_LT(e.shade1, 1.0f);
        }
    }
    // A lone flat face: every vertex normal points straight up, shade 0.
    auto plate = std::make_unique<WorldObject>();
    addPolygon(
        *plate,
        {{eye + 20000, eye - 2000, 5}, {eye + 24000, eye - 2000, 5}, {eye + 24000, eye + 2000, 5}},
        7);
    finishObject(*plate);
    plate->smooth = true;
    floor.active = false;
    world.place(std::move(plate));
    scene = world.build(camera);
    ASSERT_EQ(scene.polygons.size(), 1u);
    for (const ScreenEdge& e : scene.polygons[0].edges) {
        EXPECT_EQ(e.shade1, 0.0f);
        EXPECT_EQ(e.shade2, 0.0f);
    }
    // Not smooth: shade 1 whatever the normal.
    world.objects.back()->smooth = false;
    scene = world.build(camera);
    EXPECT_EQ(scene.polygons[0].edges[0].shade1, 1.0f);
}

TEST(SceneBuild, TwoSidedObjectsAreDrawnFlatToTheViewAtTheDepthOfTheirCentre) {
    TestWorld world;
    const u32 eye = 5 * cell;
    auto tree = std::make_unique<WorldObject>();
    // Authored in the x-z plane; the y offsets are ignored when drawn.
    addPolygon(*tree,
               {{eye + 20000, eye + 300, 0},
                {eye + 22000, eye - 300, 0},
                {eye + 22000, eye, 8000},
                {eye + 20000, eye, 8000}},
               0x000001);
    finishObject(*tree);
    tree->shapeKind = ShapeKind::TwoSided;
    const WorldObject& placed = world.place(std::move(tree));
    const Camera camera = standardCamera(eye, eye, 16384);
    const Scene scene = world.build(camera);
    ASSERT_EQ(scene.polygons.size(), 1u);
    const u32 centreX = (placed.minX + placed.maxX) / 2;
    const u32 centreY = (placed.minY + placed.maxY) / 2;
    const f32 centreDepth = depthOf(camera, worldDelta(centreX, eye), worldDelta(centreY, eye));
    const ViewConstants view = viewConstants(camera, world.screen);
    for (const ScreenEdge& e : scene.polygons[0].edges) {
        EXPECT_EQ(e.depth1, centreDepth);
        EXPECT_EQ(e.depth2, centreDepth);
    }
    // The x offset 2000 across the box is laid out as lateral 2000 at that depth.
    const std::vector<ScreenEdge>& edges = scene.polygons[0].edges;
    EXPECT_NEAR(edges[0].sx1 - edges[0].sx2, view.focal * 2000 / centreDepth, 1e-3f);
}
