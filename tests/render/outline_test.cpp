#include "render/outline.hpp"

#include "render/fog.hpp"
#include "render/scene.hpp"
#include "render_test_support.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <utility>
#include <vector>

namespace {

ScreenEdge line(f32 sx1, f32 sy1, f32 depth1, f32 sx2, f32 sy2, f32 depth2) {
    ScreenEdge e;
    e.sx1 = sx1;
    e.sy1 = sy1;
    e.depth1 = depth1;
    e.sx2 = sx2;
    e.sy2 = sy2;
    e.depth2 = depth2;
    return e;
}

using PixelSet = std::set<std::pair<i32, i32>>;

class Outline : public FrameTest {
  protected:
    void SetUp() override { useFrame(640, 480); }

    void draw(std::vector<ScreenEdge> edges, u32 colour = 0x00FFFFFF) {
        drawOutline(edges, 639, 479, camera, colour);
    }

    // Every pixel that is no longer black.
    PixelSet litPixels() const {
        PixelSet lit;
        for (i32 y = 0; y < 480; ++y)
            for (i32 x = 0; x < 640; ++x)
                if (readPixel(*frame, x, y) != 0) lit.insert({x, y});
        return lit;
    }

    void clear() { std::fill(frame->ownedSurface.begin(), frame->ownedSurface.end(), 0); }

    Camera camera = standardCamera(0, 0, 0);
};

} // namespace

TEST(OutlineCode, MarksEverySideOutside) {
    const Camera camera = standardCamera(0, 0, 0);
    EXPECT_EQ(outcode(0, 0, 0, 639, 479, camera), 0u);
    EXPECT_EQ(outcode(640, 480, 131072, 639, 479, camera), 0u); // one past the last pixel
    EXPECT_EQ(outcode(-0.5f, 5, 5, 639, 479, camera), u32{outsideLeft});
    EXPECT_EQ(outcode(5, -1, 5, 639, 479, camera), u32{outsideTop});
    EXPECT_EQ(outcode(5, 5, -1, 639, 479, camera), u32{outsideNear});
    EXPECT_EQ(outcode(640.5f, 5, 5, 639, 479, camera), u32{outsideRight});
    EXPECT_EQ(outcode(5, 480.5f, 5, 639, 479, camera), u32{outsideBottom});
    EXPECT_EQ(outcode(5, 5, 131073, 639, 479, camera), u32{outsideFar});
    EXPECT_EQ(outcode(-1, 500, 200000, 639, 479, camera), 1u | 16u | 32u);
}

TEST_F(Outline, ShallowLineDrawsOnePixelPerColumn) {
    draw({line(10, 10, 0, 20, 15, 0)});
    const PixelSet expected{{10, 10}, {11, 10}, {12, 11}, {13, 11}, {14, 12}, {15, 12},
                            {16, 13}, {17, 13}, {18, 14}, {19, 14}, {20, 15}};
    EXPECT_EQ(litPixels(), expected);
    EXPECT_EQ(pixel(10, 10), (Rgb{255, 255, 255}));
}

TEST_F(Outline, ReversedLineDrawsTheSamePixelsWithItsOwnEndDepths) {
    draw({line(10, 10, 0, 20, 15, 131072)}, 0x00FF0000);
    const PixelSet forward = litPixels();
    const u64 forwardHash = frameHash(*frame);
    clear();
    draw({line(20, 15, 131072, 10, 10, 0)}, 0x00FF0000);
    EXPECT_EQ(litPixels(), forward);
    EXPECT_EQ(frameHash(*frame), forwardHash);
    EXPECT_EQ(pixel(10, 10), (Rgb{255, 0, 0}));
    EXPECT_EQ(pixel(20, 15), (Rgb{240, 240, 240}));
}

TEST_F(Outline, MixedDirectionAndSteepLinesStepTheMinorAxisEachWay) {
    draw({line(10, 20, 0, 20, 10, 0)}); // x up, y down
    PixelSet lit = litPixels();
    EXPECT_EQ(lit.size(), 11u);
    EXPECT_TRUE(lit.count({10, 20}));
    EXPECT_TRUE(lit.count({20, 10}));
    clear();
    draw({line(30, 40, 0, 32, 10, 0)}); // steep: one pixel per row
    lit = litPixels();
    EXPECT_EQ(lit.size(), 31u);
    for (i32 y = 10; y <= 40; ++y) {
        EXPECT_TRUE(lit.count({30, y}) + lit.count({31, y}) + lit.count({32, y}) == 1) << y;
    }
}

TEST_F(Outline, EdgesOffOneSideOfTheFrameDrawNothing) {
    draw({line(-5, 10, 0, -50, 100, 0), line(10, -3, 0, 600, -1, 0), line(10, 10, -5, 20, 20, -1)});
    EXPECT_TRUE(litPixels().empty());
}

TEST_F(Outline, LinesAreClippedToTheFrame) {
    draw({line(-50, 10, 0, 50, 10, 0)});
    const PixelSet lit = litPixels();
    ASSERT_FALSE(lit.empty());
    EXPECT_TRUE(lit.count({50, 10}));
    EXPECT_LE(lit.begin()->first, 1); // reaches the left edge, give or take the dropped last piece
    for (const auto& [x, y] : lit)
        EXPECT_EQ(y, 10);
}

TEST_F(Outline, EdgeAcrossTheFarLimitKeepsOnlyItsNearPart) {
    // Depth 100000 at column 100 to 200000 at column 300: 131072 falls near column 162.
    draw({line(100, 50, 100000, 300, 50, 200000)}, 0x00000000);
    const PixelSet lit = litPixels();
    ASSERT_FALSE(lit.empty());
    EXPECT_TRUE(lit.count({100, 50}));
    EXPECT_TRUE(lit.count({150, 50}));
    for (const auto& [x, y] : lit) {
        EXPECT_EQ(y, 50);
        EXPECT_LE(x, 163);
    }
    EXPECT_GE(lit.rbegin()->first, 158);
}

TEST_F(Outline, NonFiniteEdgesAreSkipped) {
    const f32 nan = std::numeric_limits<f32>::quiet_NaN();
    const f32 inf = std::numeric_limits<f32>::infinity();
    draw({line(nan, 10, 0, 20, 10, 0), line(10, 10, 0, inf, 10, 0), line(10, 10, 0, 20, 10, nan)});
    EXPECT_TRUE(litPixels().empty());
    // Huge but finite ends are subdivided down to the frame.
    draw({line(-3e38f, 100, 0, 3e38f, 100, 0)});
    EXPECT_FALSE(litPixels().empty());
}

TEST_F(Outline, OutlineModeDrawsOpenOutlinesAndKeepsTheEdges) {
    Scene scene;
    const ScreenInfo screen = screenOf(640, 480);
    scene.screen = &screen;
    scene.camera = &camera;
    ScenePolygon& p = scene.polygons.emplace_back();
    p.colour = 0x00FFFFFF;
    // A polygon cut at the near side: its two edges do not meet again.
    p.edges = {line(10, 100, 0, 60, 100, 0), line(60, 100, 0, 60, 150, 0)};
    drawScene(scene, 1);
    EXPECT_EQ(scene.polygons[0].edges.size(), 2u);
    EXPECT_TRUE(litPixels().count({35, 100}));
    EXPECT_TRUE(litPixels().count({60, 125}));
    EXPECT_FALSE(litPixels().count({35, 125})); // no closing diagonal
    EXPECT_EQ(litPixels().size(), 51u + 50u);
}
