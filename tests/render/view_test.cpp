#include "render/view.hpp"

#include "render_test_support.hpp"

#include <gtest/gtest.h>

namespace {

// A point at (lateral, depth, rise) in camera space.
ViewPoint at(f32 lateral, f32 depth, f32 rise) {
    ViewPoint p;
    p.lateral = lateral;
    p.depth = depth;
    p.rise = rise;
    return p;
}

} // namespace

TEST(View, ConstantsAtBothResolutions) {
    const Camera camera = standardCamera(0, 0, 16384);
    const ViewConstants big = viewConstants(camera, screenOf(640, 480));
    EXPECT_EQ(big.centreX, 319.5f);
    EXPECT_NEAR(big.rowsBelow, 159.6667f, 1e-3f);
    EXPECT_NEAR(big.focal, 446.24f, 0.01f);
    const ViewConstants small = viewConstants(camera, screenOf(320, 240));
    EXPECT_EQ(small.centreX, 159.5f);
    EXPECT_NEAR(small.rowsBelow, 79.6667f, 1e-3f);
    EXPECT_NEAR(small.focal, 222.65f, 0.01f);
}

TEST(View, StraightAheadAtEyeHeightProjectsToTheCentreOfTheHorizon) {
    const Camera camera = standardCamera(0, 0, 16384);
    const ViewConstants big = viewConstants(camera, screenOf(640, 480));
    const ViewConstants small = viewConstants(camera, screenOf(320, 240));
    for (const f32 depth : {1.0f, 1000.0f, 65536.0f, 131072.0f}) {
        const ScreenPoint p = project(at(0, depth, 0), big);
        EXPECT_EQ(p.sx, 319.5f);
        EXPECT_NEAR(p.sy, 319.333f, 1e-3f);
        EXPECT_EQ(p.depth, depth);
        const ScreenPoint q = project(at(0, depth, 0), small);
        EXPECT_EQ(q.sx, 159.5f);
        EXPECT_NEAR(q.sy, 159.333f, 1e-3f);
    }
}

TEST(View, PositiveLateralLiesLeftAndRiseLiesAboveTheHorizon) {
    const Camera camera = standardCamera(0, 0, 16384);
    const ViewConstants view = viewConstants(camera, screenOf(640, 480));
    // 1000 ahead and 1000 to the lateral-positive side: off the left edge, not clipped.
    EXPECT_NEAR(project(at(1000, 1000, 0), view).sx, -126.74f, 0.01f);
    EXPECT_NEAR(project(at(-1000, 1000, 0), view).sx, 765.74f, 0.01f);
    // 1000 up at 1000 ahead: focal rows above the horizon.
    EXPECT_NEAR(project(at(0, 1000, 1000), view).sy, 319.333f - 446.24f, 0.01f);
}

TEST(View, CameraSpaceFollowsTheHeading) {
    // Looking along +x, a point ahead has depth dx and one at -y lies to the
    // lateral-positive (left) side.
    const Camera east = standardCamera(100000, 100000, 16384);
    EXPECT_NEAR(depthOf(east, 500, 0), 500.0f, 1e-3f);
    EXPECT_NEAR(lateralOf(east, 0, -300), 300.0f, 1e-3f);
    const Camera north = standardCamera(100000, 100000, 0);
    EXPECT_EQ(depthOf(north, 0, 700), 700.0f);
    EXPECT_EQ(lateralOf(north, 200, 0), 200.0f);
    // Differences are exact before they become floats.
    EXPECT_EQ(worldDelta(5, 4294967295u), -4294967290.0f);
    EXPECT_EQ(worldDelta(16777217u, 0), 16777216.0f);
}
