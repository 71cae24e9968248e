// The painter's order against a depth-buffered reference: over many views of
// every shipped level, the share of view pixels that show another object than
// the nearest one, and no view in which a near object is covered whole by a
// far one. The quick run looks at about 60 views per level at 320x240; the
// sweep (CTest label "sweep", run with `ctest -C Sweep -L sweep`) at about 450
// per level at 640x480.
#include "depth_reference.hpp"
#include "level_views.hpp"
#include "render/scene_build.hpp"
#include "render_test_support.hpp"
#include "tests/support/world_run.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// The shipped run directory made current, with the textures loaded.
class ShippedData : public WorldRun<RunDirectory::Shipped> {
  protected:
    void SetUp() override {
        WorldRun::SetUp();
        loadTextures();
    }
};

Camera cameraAt(const LevelView& view) {
    return playerEye(view.x, view.y, view.heading);
}

struct LevelFigures {
    u64 pixels = 0, different = 0, farther = 0;
    u32 views = 0, hiddenViews = 0;
    f64 worstView = 0; // largest share of one view
    std::string firstHidden;

    void add(const ImageComparison& c, const LevelView& view) {
        pixels += c.pixels;
        different += c.different;
        farther += c.farther;
        ++views;
        worstView = std::max(worstView, static_cast<f64>(c.different) / c.pixels);
        if (!c.hiddenObjects.empty() && hiddenViews++ == 0)
            firstHidden = "x " + std::to_string(view.x) + " y " + std::to_string(view.y) + " heading " +
                          std::to_string(view.heading);
    }
    f64 share() const { return pixels ? static_cast<f64>(different) / pixels : 0; }
    f64 fartherShare() const { return pixels ? static_cast<f64>(farther) / pixels : 0; }
};

// Compares the views of every shipped level with the reference, prints the
// figures of the game's order and checks them.
void sweepLevels(u32 driveViews, u16 width) {
    const FrameBounds screen = boundsOf(width, width * 3 / 4);
    for (u16 level = 0; levelFileName(level) != nullptr; ++level) {
        loadLevel(level);
        LevelFigures game;
        for (const LevelView& view : levelViews(driveViews)) {
            const Camera camera = cameraAt(view);
            const std::vector<const WorldObject*> objects = sceneObjects(world::state.worldGrid, camera);
            game.add(compareWithReference(objects, camera, screen, world::state.playerColours), view);
        }
        std::printf("%-18s %4u views at %ux%u: %.3f%% of view pixels differ, %.3f%% clearly "
                    "behind (worst view %.2f%%), %u views hide a whole object\n",
                    levelFileName(level), game.views, width, width * 3 / 4, 100 * game.share(),
                    100 * game.fartherShare(), 100 * game.worstView, game.hiddenViews);
        EXPECT_LT(game.share(), 0.005) << levelFileName(level);
        EXPECT_EQ(game.hiddenViews, 0u) << levelFileName(level) << ", first at " << game.firstHidden;
        resetWorld();
    }
}

} // namespace

using DrawOrder = ShippedData;
using DrawOrderSweep = ShippedData;

TEST_F(DrawOrder, PainterMatchesTheDepthReferenceOnASampleOfEveryLevel) {
    sweepLevels(24, 320);
}

TEST_F(DrawOrderSweep, PainterMatchesTheDepthReferenceOnEveryLevel) {
    sweepLevels(400, 640);
}
