// The renderer's rasteriser: fog, the reference scanline filler and outline mode.
#include "render/fog.hpp"
#include "render/outline.hpp"
#include "render/scene_fill.hpp"
#include "render_test_support.hpp"
#include "tests/support/reference_fill.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <utility>
#include <vector>

namespace {

ScreenEdge edge(f32 sx1, f32 sy1, f32 sx2, f32 sy2, f32 depth = 0) {
    return screenEdge(sx1, sy1, depth, sx2, sy2, depth);
}

// An axis-aligned rectangle outline at one depth.
ScenePolygon rectangle(f32 left, f32 top, f32 right, f32 bottom, u32 colour, f32 depth = 0) {
    return scenePolygon({edge(left, top, right, top, depth), edge(right, top, right, bottom, depth),
                         edge(right, bottom, left, bottom, depth), edge(left, bottom, left, top, depth)},
                        colour);
}

Span span(f32 left, f32 right, f32 rightDepth = 0) {
    Span s;
    s.left.x = left;
    s.right.x = right;
    s.right.depth = rightDepth;
    return s;
}

constexpr Rgb untouched{1, 2, 3}, white{255, 255, 255};

using PixelSet = std::set<std::pair<i32, i32>>;

class Raster : public FrameTest {
  protected:
    void SetUp() override {
        useFrame(640, 480);
        paintFrame(1, 2, 3);
    }
    void fill(ScenePolygon polygon) { reference::fillPolygon(polygon, 639, 479); }

    // Draws the edges as outlines (through drawScene in outline mode when asked)
    // on a black frame and returns every pixel no longer black.
    PixelSet outline(std::vector<ScreenEdge> edges, u32 colour = 0x00FFFFFF, bool asScene = false) {
        std::fill(frame->ownedSurface.begin(), frame->ownedSurface.end(), 0);
        const Camera camera = playerEye(0, 0, 0);
        if (asScene) {
            Scene scene{{scenePolygon(edges, colour)}, 639, 479, &camera, {}, {}};
            drawScene(scene, 1);
            EXPECT_EQ(scene.polygons[0].edges.size(), edges.size()); // outlines keep the edges
        } else {
            drawOutline(edges, 639, 479, camera, colour);
        }
        PixelSet lit;
        for (i32 y = 0; y < 480; ++y)
            for (i32 x = 0; x < 640; ++x)
                if (readPixel(*frame, x, y) != 0) lit.insert({x, y});
        return lit;
    }
};

} // namespace

TEST(Fog, BlendsTowardLightGreyOverTwoCells) {
    const struct {
        u16 channel;
        f32 depth;
        u32 expected;
    } cases[] = {
        {255, 0, 255},    {0, 0, 0},        {255, 65536, 247}, // 240 * 0.5 + 255 * 0.5, truncated
        {0, 65536, 120},  {0, 131072, 240}, {255, 131072.5f, 240}, {255, 1e30f, 240},
        {17, -0.5f, 240}, {300, 0, 300}, // a bright texel passes 255; the frame keeps the low byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(fogChannel(c.channel, c.depth), c.expected) << c.channel << " at " << c.depth;
}

TEST_F(Raster, FillCoversTheRectangleNeverTheLastTwoRowsAndConsumesTheEdgesItReaches) {
    ScenePolygon drawn = rectangle(10, 10.9f, 20, 20.2f, 0x00FFFFFF);
    reference::fillPolygon(drawn, 639, 479);
    EXPECT_TRUE(drawn.edges.empty());
    // Rows 10 to 20 (truncated) and columns 10 to 20, ends included.
    EXPECT_EQ(pixel(10, 10), white);
    EXPECT_EQ(pixel(20, 20), white);
    for (const auto& [x, y] : {std::pair{9, 15}, {21, 15}, {15, 9}, {15, 21}})
        EXPECT_EQ(pixel(x, y), untouched) << x << ", " << y;

    // Below the last filled row: the rows never reach it, and its edges stay.
    ScenePolygon low = rectangle(10, 478, 20, 479, 0x00FFFFFF);
    reference::fillPolygon(low, 639, 479);
    EXPECT_EQ(low.edges.size(), 4u);
    fill(rectangle(-50, -50, 700, 600, 0x00FFFFFF));
    EXPECT_EQ(pixel(0, 0), white);
    EXPECT_EQ(pixel(639, 477), white);
    EXPECT_EQ(pixel(0, 478), untouched);
    EXPECT_EQ(pixel(639, 479), untouched);
}

TEST_F(Raster, FillShadeAndTexelsModulateTheColourBeforeFog) {
    Texture texture(1, 1);
    const struct {
        u32 colour, smooth;
        f32 shade;
        u16 texel; // 0x7FFF: untextured
        f32 depth;
        Rgb expected;
    } cases[] = {
        {0x00000000, 1, 0, 0x7FFF, 0, {127, 127, 127}}, // shade 0: halfway to white
        {0x00204080, 1, 1, 0x7FFF, 0, {0x20, 0x40, 0x80}},
        {0x00000000, 0, 0, 0x7FFF, 0, {0, 0, 0}}, // not smooth: the shade is ignored
        {0x00C86432, 0, 1, 256, 0, {200, 100, 50}},
        {0x00C86432, 0, 1, 128, 0, {100, 50, 25}},
        {0x00C86432, 0, 1, 0, 65536, {120, 120, 120}}, // the fog blend of black
        {0x00C86432, 0, 1, 512, 0, {400 & 0xFF, 200, 100}},
    };
    for (const auto& c : cases) {
        texture.texel(0, 0) = c.texel;
        ScenePolygon p = rectangle(10, 10, 20, 20, c.colour, c.depth);
        p.smooth = c.smooth;
        p.texture = c.texel == 0x7FFF ? nullptr : &texture;
        for (ScreenEdge& e : p.edges) e.first.shade = e.second.shade = c.shade;
        fill(p);
        EXPECT_EQ(pixel(15, 15), c.expected) << std::hex << c.colour << " texel " << c.texel;
    }
}

TEST_F(Raster, FillSpanIsClippedToTheFrameWithItsValuesMovedAlong) {
    drawSpan(scenePolygon({}, 0x00FF0000), span(-20.5f, 700, 72050), 7, 639); // 100 per column
    // Column 0 takes its depth 20.5 steps into the span: 2050, so green = 240 * 2050 / 131072.
    EXPECT_EQ(pixel(0, 7), (Rgb{254, 3, 3}));
    EXPECT_EQ(pixel(639, 7), (Rgb{247, 120, 120})); // depth 65950
    EXPECT_EQ(pixel(640, 7), (Rgb{0, 0, 0}));       // off the frame
    EXPECT_EQ(pixel(0, 6), untouched);
    for (i32 x = 0; x <= 639; ++x) EXPECT_NE(pixel(x, 7), untouched) << x;

    // Width zero draws one pixel, moved back onto the last column when just past
    // it; a reversed span draws nothing.
    const ScenePolygon p = scenePolygon({}, 0x00FFFFFF);
    drawSpan(p, span(30.7f, 30.7f), 5, 639);
    drawSpan(p, span(50.5f, 49.5f), 5, 639);
    drawSpan(p, span(639.5f, 639.5f), 6, 639);
    EXPECT_EQ(pixel(30, 5), white);
    EXPECT_EQ(pixel(639, 6), white);
    for (const i32 x : {29, 31, 49, 50}) EXPECT_EQ(pixel(x, 5), untouched) << x;
}

TEST_F(Raster, FillNonFiniteSpansAndEdgesDrawNothing) {
    const ScenePolygon p = scenePolygon({}, 0x00FFFFFF);
    const f32 nan = std::numeric_limits<f32>::quiet_NaN();
    drawSpan(p, span(10, 20, nan), 5, 639);
    drawSpan(p, span(-std::numeric_limits<f32>::infinity(), 20), 5, 639);
    EXPECT_EQ(pixel(15, 5), untouched);

    ScenePolygon bad = rectangle(10, 10, 20, 20, 0x00FFFFFF);
    bad.edges[1].second.sx = nan;
    bad.edges[2].first.sx = nan;
    fill(bad);
    EXPECT_EQ(pixel(15, 15), untouched);
    fill(rectangle(-3e38f, 30, 3e38f, 40, 0x00FFFFFF)); // huge but finite: filled
    EXPECT_EQ(pixel(0, 35), white);
    EXPECT_EQ(pixel(639, 35), white);
}

TEST(CloseOutline, BridgesGapsBetweenEdgesAndClosesTheLastEdgeBackToTheFirst) {
    const auto ends = [](const ScreenEdge& e) {
        return std::vector<f32>{e.first.sx, e.first.sy, e.second.sx, e.second.sy};
    };
    std::vector<ScreenEdge> edges{edge(10, 10, 50, 10), edge(50, 80, 10, 10)};
    edges[0].second.texU = 7;
    edges[0].second.shade = 0.25f;
    edges[1].first.texV = 9;
    edges[1].first.shade = 0.5f;
    closeOutline(edges);
    ASSERT_EQ(edges.size(), 3u);
    const ScreenEdge& inserted = edges[1];
    EXPECT_EQ(ends(inserted), (std::vector<f32>{50, 10, 50, 80}));
    EXPECT_EQ((std::vector<f32>{inserted.first.texU, inserted.first.shade, inserted.second.texV,
                                inserted.second.shade}),
              (std::vector<f32>{7, 0.25f, 9, 0.5f}));
    EXPECT_EQ(ends(edges[2]), (std::vector<f32>{50, 80, 10, 10}));

    // An open chain gets its closing edge; a single edge does not; a difference in
    // depth alone is a gap.
    std::vector<ScreenEdge> open{edge(0, 0, 10, 0), edge(10, 0, 10, 10)};
    std::vector<ScreenEdge> single{edge(0, 0, 10, 0)};
    std::vector<ScreenEdge> deep{edge(0, 0, 10, 0, 1), edge(10, 0, 0, 0, 2)};
    for (auto* list : {&open, &single, &deep}) closeOutline(*list);
    ASSERT_EQ(open.size(), 3u);
    EXPECT_EQ(ends(open[2]), (std::vector<f32>{10, 10, 0, 0}));
    EXPECT_EQ(single.size(), 1u);
    EXPECT_EQ(deep.size(), 4u);
}

TEST_F(Raster, OutlineLinesStepOnePixelAlongTheMajorAxisTheSameEitherWay) {
    const PixelSet shallow{{10, 10}, {11, 10}, {12, 11}, {13, 11}, {14, 12}, {15, 12},
                           {16, 13}, {17, 13}, {18, 14}, {19, 14}, {20, 15}};
    EXPECT_EQ(outline({screenEdge(10, 10, 0, 20, 15, 131072)}, 0x00FF0000), shallow);
    const std::vector<u8> forward = frame->ownedSurface;
    EXPECT_EQ(outline({screenEdge(20, 15, 131072, 10, 10, 0)}, 0x00FF0000), shallow);
    EXPECT_EQ(frame->ownedSurface, forward);
    EXPECT_EQ(pixel(10, 10), (Rgb{255, 0, 0})); // fogged by the depth at each end
    EXPECT_EQ(pixel(20, 15), (Rgb{240, 240, 240}));

    PixelSet lit = outline({screenEdge(10, 20, 0, 20, 10, 0)}); // x up, y down
    EXPECT_EQ(lit.size(), 11u);
    EXPECT_TRUE(lit.count({10, 20}) && lit.count({20, 10}));
    lit = outline({screenEdge(30, 40, 0, 32, 10, 0)}); // steep: one pixel per row
    EXPECT_EQ(lit.size(), 31u);
    for (i32 y = 10; y <= 40; ++y)
        EXPECT_EQ(lit.count({30, y}) + lit.count({31, y}) + lit.count({32, y}), 1u) << y;
}

TEST_F(Raster, OutlineEdgesAreClippedToTheFrameAndTheDepthRange) {
    // Wholly off one side: left, top, in front of the near limit.
    EXPECT_TRUE(outline({screenEdge(-5, 10, 0, -50, 100, 0), screenEdge(10, -3, 0, 600, -1, 0),
                         screenEdge(10, 10, -5, 20, 20, -1)})
                    .empty());
    // Depth 100000 at column 100 to 200000 at column 300: 131072 falls near column 162.
    const PixelSet lit = outline({screenEdge(100, 50, 100000, 300, 50, 200000)}, 0x00000000);
    EXPECT_TRUE(lit.count({100, 50}) && lit.count({150, 50}));
    for (const auto& [x, y] : lit) EXPECT_TRUE(y == 50 && x <= 163) << x << ", " << y;
    EXPECT_GE(lit.rbegin()->first, 158);
}

TEST_F(Raster, OutlineNonFiniteEdgesAreSkipped) {
    const f32 nan = std::numeric_limits<f32>::quiet_NaN();
    const f32 inf = std::numeric_limits<f32>::infinity();
    EXPECT_TRUE(outline({screenEdge(nan, 10, 0, 20, 10, 0), screenEdge(10, 10, 0, inf, 10, 0),
                         screenEdge(10, 10, 0, 20, 10, nan)})
                    .empty());
    // Huge but finite ends are subdivided down to the frame.
    EXPECT_FALSE(outline({screenEdge(-3e38f, 100, 0, 3e38f, 100, 0)}).empty());
}

TEST_F(Raster, OutlineModeLeavesOutlinesCutAtTheNearSideOpen) {
    const PixelSet lit =
        outline({screenEdge(10, 100, 0, 60, 100, 0), screenEdge(60, 100, 0, 60, 150, 0)}, 0x00FFFFFF, true);
    EXPECT_TRUE(lit.count({35, 100}) && lit.count({60, 125}));
    EXPECT_FALSE(lit.count({35, 125})); // no closing diagonal
    EXPECT_EQ(lit.size(), 51u + 50u);
}
