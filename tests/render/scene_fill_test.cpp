#include "render/scene_fill.hpp"

#include "render/fog.hpp"
#include "render_test_support.hpp"
#include "world/texture.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

ScreenEdge edge(f32 sx1, f32 sy1, f32 sx2, f32 sy2, f32 depth = 0) {
    ScreenEdge e;
    e.sx1 = sx1;
    e.sy1 = sy1;
    e.depth1 = depth;
    e.sx2 = sx2;
    e.sy2 = sy2;
    e.depth2 = depth;
    return e;
}

// An axis-aligned rectangle outline at one depth.
ScenePolygon rectangle(f32 left, f32 top, f32 right, f32 bottom, u32 colour, f32 depth = 0) {
    ScenePolygon p;
    p.colour = colour;
    p.edges = {edge(left, top, right, top, depth), edge(right, top, right, bottom, depth),
               edge(right, bottom, left, bottom, depth), edge(left, bottom, left, top, depth)};
    return p;
}

class Fill : public FrameTest {
  protected:
    void SetUp() override { useFrame(640, 480); }
    void fill(ScenePolygon polygon) { fillPolygon(polygon, 639, 479); }
};

} // namespace

TEST(Fog, BlendsTowardLightGreyOverTwoCells) {
    EXPECT_EQ(fogChannel(255, 0), 255u);
    EXPECT_EQ(fogChannel(0, 0), 0u);
    EXPECT_EQ(fogChannel(255, 65536), 247u); // 240 * 0.5 + 255 * 0.5, truncated
    EXPECT_EQ(fogChannel(0, 65536), 120u);
    EXPECT_EQ(fogChannel(0, 131072), 240u);
    EXPECT_EQ(fogChannel(255, 131072.5f), 240u);
    EXPECT_EQ(fogChannel(255, 1e30f), 240u);
    EXPECT_EQ(fogChannel(17, -0.5f), 240u);
    // A brightening texel can push a channel past 255; the layer takes the low byte.
    EXPECT_EQ(fogChannel(300, 0), 300u);
}

TEST_F(Fill, FlatColourIsFoggedByDepth) {
    fill(rectangle(10, 10, 20, 20, 0x00FF0000, 0));
    fill(rectangle(30, 10, 40, 20, 0x00FF0000, 65536));
    fill(rectangle(50, 10, 60, 20, 0x00FF0000, 131072));
    fill(rectangle(70, 10, 80, 20, 0x00FF0000, 200000));
    fill(rectangle(90, 10, 100, 20, 0x00FF0000, -3));
    EXPECT_EQ(pixel(15, 15), (Rgb{255, 0, 0}));
    EXPECT_EQ(pixel(35, 15), (Rgb{247, 120, 120}));
    EXPECT_EQ(pixel(55, 15), (Rgb{240, 240, 240}));
    EXPECT_EQ(pixel(75, 15), (Rgb{240, 240, 240}));
    EXPECT_EQ(pixel(95, 15), (Rgb{240, 240, 240}));
}

TEST_F(Fill, RectangleCoversTheExpectedPixels) {
    // Rows 10 to 20 and columns 10 to 20, ends included.
    fill(rectangle(10, 10, 20, 20, 0x00FFFFFF));
    EXPECT_EQ(pixel(10, 10), (Rgb{255, 255, 255}));
    EXPECT_EQ(pixel(20, 20), (Rgb{255, 255, 255}));
    EXPECT_EQ(pixel(9, 15), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixel(21, 15), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixel(15, 9), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixel(15, 21), (Rgb{0, 0, 0}));
}

TEST_F(Fill, SmoothShadeZeroLightensHalfwayToWhite) {
    ScenePolygon p = rectangle(10, 10, 20, 20, 0x00000000);
    p.smooth = 1;
    for (ScreenEdge& e : p.edges)
        e.shade1 = e.shade2 = 0;
    fill(p);
    EXPECT_EQ(pixel(15, 15), (Rgb{127, 127, 127}));
    // Shade 1 keeps the colour itself.
    ScenePolygon level = rectangle(30, 10, 40, 20, 0x00204080);
    level.smooth = 1;
    fill(level);
    EXPECT_EQ(pixel(35, 15), (Rgb{0x20, 0x40, 0x80}));
    // Without the smooth flag the shade values are ignored.
    ScenePolygon flat = rectangle(50, 10, 60, 20, 0x00000000);
    for (ScreenEdge& e : flat.edges)
        e.shade1 = e.shade2 = 0;
    fill(flat);
    EXPECT_EQ(pixel(55, 15), (Rgb{0, 0, 0}));
}

TEST_F(Fill, TexelsModulateTheColourBeforeFog) {
    Texture texture(1, 1);
    const struct {
        u16 texel;
        f32 depth;
        Rgb expected;
    } cases[] = {
        {256, 0, {200, 100, 50}},         {128, 0, {100, 50, 25}}, {0, 0, {0, 0, 0}},
        {0, 65536, {120, 120, 120}}, // the fog blend of black
        {512, 0, {400 & 0xFF, 200, 100}},
    };
    for (const auto& c : cases) {
        texture.texel(0, 0) = c.texel;
        ScenePolygon p = rectangle(10, 10, 20, 20, 0x00C86432, c.depth);
        p.texture = &texture;
        fill(p);
        EXPECT_EQ(pixel(15, 15), c.expected) << "texel " << c.texel;
    }
}

TEST_F(Fill, TextureCoordinatesPickTexelsAcrossTheSpan) {
    // Two texels along u: 0..127 the first, 128..255 the second.
    Texture texture(2, 1);
    texture.texel(0, 0) = 256;
    texture.texel(1, 0) = 0;
    ScenePolygon p = rectangle(0, 10, 255, 12, 0x00FFFFFF);
    p.texture = &texture;
    for (ScreenEdge& e : p.edges) {
        e.texU1 = e.sx1;
        e.texU2 = e.sx2;
    }
    fill(p);
    EXPECT_EQ(pixel(127, 11), (Rgb{255, 255, 255}));
    EXPECT_EQ(pixel(128, 11), (Rgb{0, 0, 0}));
    EXPECT_EQ(pixel(255, 11), (Rgb{0, 0, 0}));
}

TEST_F(Fill, TheLastTwoRowsAreNeverFilled) {
    paintFrame(1, 2, 3);
    fill(rectangle(-50, -50, 700, 600, 0x00FFFFFF));
    EXPECT_EQ(pixel(0, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(pixel(639, 477), (Rgb{255, 255, 255}));
    EXPECT_EQ(pixel(0, 478), (Rgb{1, 2, 3}));
    EXPECT_EQ(pixel(639, 479), (Rgb{1, 2, 3}));
}

TEST_F(Fill, SpanIsClippedToTheFrameWithItsValuesMovedAlong) {
    paintFrame(1, 2, 3);
    ScenePolygon p;
    p.colour = 0x00FF0000;
    Span span;
    span.left.x = -20.5f;
    span.left.depth = 0;
    span.right.x = 700;
    span.right.depth = 72050; // 100 per column
    drawSpan(p, span, 7, 639);
    // Column 0 takes its depth 20.5 steps into the span: 2050, so green = 240 * 2050 / 131072.
    EXPECT_EQ(pixel(0, 7), (Rgb{254, 3, 3}));
    EXPECT_EQ(pixel(639, 7), (Rgb{247, 120, 120})); // depth 65950
    EXPECT_EQ(pixel(640, 7), (Rgb{0, 0, 0}));       // off the frame
    EXPECT_EQ(pixel(0, 6), (Rgb{1, 2, 3}));
    for (i32 x = 0; x <= 639; ++x)
        EXPECT_NE(pixel(x, 7), (Rgb{1, 2, 3})) << x;
}

TEST_F(Fill, SpanWidthZeroDrawsOnePixelAndReversedSpansNothing) {
    paintFrame(1, 2, 3);
    ScenePolygon p;
    p.colour = 0x00FFFFFF;
    Span single;
    single.left.x = single.right.x = 30.7f;
    drawSpan(p, single, 5, 639);
    EXPECT_EQ(pixel(30, 5), (Rgb{255, 255, 255}));
    EXPECT_EQ(pixel(29, 5), (Rgb{1, 2, 3}));
    EXPECT_EQ(pixel(31, 5), (Rgb{1, 2, 3}));
    Span reversed;
    reversed.left.x = 50.5f;
    reversed.right.x = 49.5f;
    drawSpan(p, reversed, 5, 639);
    EXPECT_EQ(pixel(49, 5), (Rgb{1, 2, 3}));
    EXPECT_EQ(pixel(50, 5), (Rgb{1, 2, 3}));
    // A single pixel just past the right edge is moved back onto the last column.
    Span edgeOn;
    edgeOn.left.x = edgeOn.right.x = 639.5f;
    drawSpan(p, edgeOn, 6, 639);
    EXPECT_EQ(pixel(639, 6), (Rgb{255, 255, 255}));
}

TEST_F(Fill, NonFiniteSpansAndEdgesDrawNothing) {
    paintFrame(1, 2, 3);
    ScenePolygon p;
    p.colour = 0x00FFFFFF;
    const f32 nan = std::numeric_limits<f32>::quiet_NaN();
    const f32 inf = std::numeric_limits<f32>::infinity();
    Span span;
    span.left.x = 10;
    span.right.x = 20;
    span.right.depth = nan;
    drawSpan(p, span, 5, 639);
    span.right.depth = 0;
    span.left.x = -inf;
    drawSpan(p, span, 5, 639);
    EXPECT_EQ(pixel(15, 5), (Rgb{1, 2, 3}));

    ScenePolygon bad = rectangle(10, 10, 20, 20, 0x00FFFFFF);
    bad.edges[1].sx2 = nan;
    bad.edges[2].sx1 = nan;
    fill(bad);
    ScenePolygon huge = rectangle(-3e38f, 30, 3e38f, 40, 0x00FFFFFF);
    fill(huge);
    EXPECT_EQ(pixel(0, 35), (Rgb{255, 255, 255}));
    EXPECT_EQ(pixel(639, 35), (Rgb{255, 255, 255}));
}

TEST(CloseOutline, BridgesGapsBetweenEdgesAndClosesTheLastEdgeBackToTheFirst) {
    std::vector<ScreenEdge> edges{edge(10, 10, 50, 10), edge(50, 80, 10, 10)};
    edges[0].texU2 = 7;
    edges[0].shade2 = 0.25f;
    edges[1].texV1 = 9;
    edges[1].shade1 = 0.5f;
    closeOutline(edges);
    ASSERT_EQ(edges.size(), 3u);
    const ScreenEdge& inserted = edges[1];
    EXPECT_EQ(inserted.sx1, 50.0f);
    EXPECT_EQ(inserted.sy1, 10.0f);
    EXPECT_EQ(inserted.sx2, 50.0f);
    EXPECT_EQ(inserted.sy2, 80.0f);
    EXPECT_EQ(inserted.texU1, 7.0f);
    EXPECT_EQ(inserted.shade1, 0.25f);
    EXPECT_EQ(inserted.texV2, 9.0f);
    EXPECT_EQ(inserted.shade2, 0.5f);
    EXPECT_EQ(edges[2].sx1, 50.0f);
    EXPECT_EQ(edges[2].sy1, 80.0f);

    // An open chain gets its closing edge; a single edge does not.
    std::vector<ScreenEdge> open{edge(0, 0, 10, 0), edge(10, 0, 10, 10)};
    closeOutline(open);
    ASSERT_EQ(open.size(), 3u);
    EXPECT_EQ(open[2].sx1, 10.0f);
    EXPECT_EQ(open[2].sy1, 10.0f);
    EXPECT_EQ(open[2].sx2, 0.0f);
    EXPECT_EQ(open[2].sy2, 0.0f);
    std::vector<ScreenEdge> single{edge(0, 0, 10, 0)};
    closeOutline(single);
    EXPECT_EQ(single.size(), 1u);
    // A difference in depth alone is a gap.
    std::vector<ScreenEdge> deep{edge(0, 0, 10, 0, 1), edge(10, 0, 0, 0, 2)};
    closeOutline(deep);
    EXPECT_EQ(deep.size(), 4u);
}

TEST(SpanSearch, FindsTheOuterCrossingsOfTheRow) {
    // A triangle: apex at (50, 0), base from (0, 100) to (100, 100).
    const std::vector<ScreenEdge> edges{edge(50, 0, 100, 100), edge(100, 100, 0, 100),
                                        edge(0, 100, 50, 0)};
    const std::vector<ScreenEdge> sides{edges[0], edges[2]}; // the base is not active yet
    const Span middle = spanAtRow(sides, 50);
    EXPECT_EQ(middle.left.x, 25.0f);
    EXPECT_EQ(middle.right.x, 75.0f);
    // The level base spans its whole length.
    const Span base = spanAtRow(edges, 100);
    EXPECT_EQ(base.left.x, 0.0f);
    EXPECT_EQ(base.right.x, 100.0f);
    // Crossings beyond an edge's ends are held at those ends.
    const std::vector<ScreenEdge> steep{edge(10, 5.5f, 20, 25.5f)};
    const Span above = spanAtRow(steep, 5);
    EXPECT_EQ(above.left.x, 10.0f);
    EXPECT_LT(above.right.x, 10.0f); // a reversed span: nothing is drawn
}

TEST(SpanSearch, ActivationAndRetirementFollowTheTruncatedRows) {
    const ScreenEdge e = edge(0, 10.9f, 5, 20.2f);
    EXPECT_FALSE(edgeReachesRow(e, 9));
    EXPECT_TRUE(edgeReachesRow(e, 10));
    EXPECT_FALSE(edgeAboveRow(e, 20));
    EXPECT_TRUE(edgeAboveRow(e, 21));
    // Rows above the frame truncate toward zero: -0.5 is row 0.
    const ScreenEdge high = edge(0, -0.5f, 5, -0.9f);
    EXPECT_TRUE(edgeReachesRow(high, 0));
    EXPECT_FALSE(edgeAboveRow(high, 0));
    EXPECT_TRUE(edgeAboveRow(high, 1));
}

TEST_F(Fill, FillingConsumesTheEdgesItReaches) {
    ScenePolygon drawn = rectangle(10, 10, 20, 20, 0x00FFFFFF);
    fillPolygon(drawn, 639, 479);
    EXPECT_TRUE(drawn.edges.empty());
    // Below the last filled row: the rows never reach it, and its edges stay.
    ScenePolygon low = rectangle(10, 478, 20, 479, 0x00FFFFFF);
    fillPolygon(low, 639, 479);
    EXPECT_EQ(low.edges.size(), 4u);
    ScenePolygon none;
    fillPolygon(none, 639, 479);
    EXPECT_TRUE(none.edges.empty());
}
