// The painter's order against a depth-buffered reference: over many views of
// every shipped level, the share of view pixels that show another object than
// the nearest one, and no view in which a near object is covered whole by a
// far one. The quick run looks at about 60 views per level at 320x240; the
// sweep (CTest label "sweep", run with `ctest -C Sweep -L sweep`) at about 450
// per level at 640x480, and prints the figures of the old order, by the
// distance along one axis, beside them.
#include "depth_reference.hpp"
#include "level_views.hpp"
#include "render/scene_build.hpp"
#include "render_test_support.hpp"
#include "tests/support/run_directory.hpp"
#include "world/texture.hpp"
#include "world/world.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

namespace {

// The shipped run directory made current, with the textures loaded.
class ShippedData : public ::testing::Test {
  protected:
    void SetUp() override {
        loadTextures();
    }
    void TearDown() override {
        resetWorld();
        resetTextures();
    }

  private:
    RunDirectory run{RunDirectory::Shipped};
};

Camera cameraAt(const LevelView& view) {
    return playerEye(view.x, view.y, view.heading);
}

// The draw order the game had before: by the smallest distance along either
// axis from the eye to a box edge, far first, ties in the order the cells
// gather the objects.
std::vector<const WorldObject*> axisDistanceOrder(std::vector<const WorldObject*> objects,
                                                  const Camera& camera) {
    std::map<const WorldObject*, size_t> arrival;
    const i64 cx = camera.x >> 16, cy = camera.y >> 16;
    for (i64 x = std::max<i64>(cx - 2, 0); x <= std::min<i64>(cx + 2, world::state.worldGrid.width - 1); ++x)
        for (i64 y = std::max<i64>(cy - 2, 0); y <= std::min<i64>(cy + 2, world::state.worldGrid.height - 1);
             ++y)
            for (const CellList* node = world::state.worldGrid.cell(static_cast<u32>(x), static_cast<u32>(y));
                 node != nullptr && node->object != nullptr; node = node->next)
                arrival.try_emplace(node->object, arrival.size());
    const auto key = [&camera](const WorldObject* o) {
        const auto gap = [](u32 a, u32 b) {
            const i32 d = static_cast<i32>(a - b);
            return d < 0 ? 0u - static_cast<u32>(d) : static_cast<u32>(d);
        };
        return std::min({gap(o->minX, camera.x), gap(o->maxX, camera.x), gap(o->minY, camera.y),
                         gap(o->maxY, camera.y)});
    };
    std::sort(objects.begin(), objects.end(), [&](const WorldObject* a, const WorldObject* b) {
        const u32 ka = key(a), kb = key(b);
        return ka != kb ? ka > kb : arrival.at(a) < arrival.at(b);
    });
    return objects;
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
            firstHidden = "x " + std::to_string(view.x) + " y " + std::to_string(view.y) +
                          " heading " + std::to_string(view.heading);
    }
    f64 share() const { return pixels ? static_cast<f64>(different) / pixels : 0; }
    f64 fartherShare() const { return pixels ? static_cast<f64>(farther) / pixels : 0; }
};

// Compares the views of every shipped level with the reference, prints the
// figures of the game's order (and, when asked, of the old order) and checks
// the game's.
void sweepLevels(u32 driveViews, u16 width, bool withOldOrder) {
    const FrameBounds screen = boundsOf(width, width * 3 / 4);
    for (u16 level = 0; levelFileName(level) != nullptr; ++level) {
        loadLevel(level);
        LevelFigures game, old;
        for (const LevelView& view : levelViews(driveViews)) {
            const Camera camera = cameraAt(view);
            const std::vector<const WorldObject*> objects = sceneObjects(world::state.worldGrid, camera);
            game.add(compareWithReference(objects, camera, screen, world::state.playerColours), view);
            if (withOldOrder)
                old.add(compareWithReference(axisDistanceOrder(objects, camera), camera, screen,
                                             world::state.playerColours),
                        view);
        }
        std::printf("%-18s %4u views at %ux%u: %.3f%% of view pixels differ, %.3f%% clearly "
                    "behind (worst view %.2f%%), %u views hide a whole object",
                    levelFileName(level), game.views, width, width * 3 / 4, 100 * game.share(),
                    100 * game.fartherShare(), 100 * game.worstView, game.hiddenViews);
        if (withOldOrder)
            std::printf("; old axis order %.3f%%, %.3f%% (worst %.2f%%), %u views",
                        100 * old.share(), 100 * old.fartherShare(), 100 * old.worstView,
                        old.hiddenViews);
        std::printf("\n");
        EXPECT_LT(game.share(), 0.005) << levelFileName(level);
        EXPECT_EQ(game.hiddenViews, 0u)
            << levelFileName(level) << ", first at " << game.firstHidden;
        resetWorld();
    }
}

} // namespace

using DrawOrder = ShippedData;
using DrawOrderSweep = ShippedData;

TEST_F(DrawOrder, PainterMatchesTheDepthReferenceOnASampleOfEveryLevel) {
    sweepLevels(24, 320, false);
}

TEST_F(DrawOrderSweep, PainterMatchesTheDepthReferenceOnEveryLevel) {
    sweepLevels(400, 640, true);
}
