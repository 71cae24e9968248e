#include "gfx_test_support.hpp"

#include <cstdlib>

TEST(Primitives, TwentyFourBitPixelsAreStoredBlueGreenRed) {
    auto dc = currentMemoryContext(640, 480, 24);
    setColorRGB(255, 128, 1);
    EXPECT_EQ(dc->color, 0xFF8001u);
    drawPixel(639, 2);
    const u8* p = dc->surface + 2 * dc->bytesPerLine + 3 * 639;
    EXPECT_EQ((std::array{p[0], p[1], p[2]}), (std::array<u8, 3>{0x01, 0x80, 0xFF}));
    // x = 640 and negative positions are outside the clip rectangle.
    drawPixel(640, 2);
    drawPixel(-1, 0);
    drawPixel(0, 480);
    EXPECT_EQ(inkOf(*dc), (Pixels{{639, 2}}));
    resetGfx();
}

TEST(Primitives, ViewportMovesDrawingAndClipStaysOnTheSurface) {
    auto dc = currentMemoryContext(20, 20, 24);
    setViewport(*dc, Rect{10, 5, 30, 25}); // reaches past the surface
    EXPECT_EQ(dc->clipRect, (Rect{0, 0, 10, 15}));
    setColor(0xFFFFFF);
    for (auto [x, y] : {std::pair{0, 0}, {9, 14}, {10, 0}}) drawPixel(x, y); // (10, 0) is beyond the surface
    setViewport(*dc, dc->deviceRect);
    EXPECT_EQ(inkOf(*dc), (Pixels{{10, 5}, {19, 19}}));
    dc->clipping = false; // now only the surface bounds drawing
    for (auto [x, y] : {std::pair{-1, 0}, {20, 0}, {5, 5}}) drawPixel(x, y);
    EXPECT_EQ(inkOf(*dc).size(), 3u);
    resetGfx();
}

TEST(Primitives, ClearDeviceFillsEverythingRegardlessOfTheClip) {
    auto dc = currentMemoryContext(5, 3, 24);
    setClipRect(*dc, Rect{1, 1, 2, 2});
    setBackColor(0xFFFFFF);
    clearDevice();
    EXPECT_EQ(inkOf(*dc).size(), 15u);
    EXPECT_EQ(readPixel(*dc, 4, 2), 0xFFFFFFu);
    EXPECT_EQ(dc->surface[dc->bytesPerLine - 1], 0); // row padding untouched
    resetGfx();
}

TEST(Primitives, HorizontalLinesAreRunsIncludingBothEnds) {
    auto dc = currentMemoryContext(20, 10, 24);
    setColor(1);
    drawLine(10, 5, 3, 5);
    Pixels expected;
    for (i32 x = 3; x <= 10; ++x) expected.insert({x, 5});
    EXPECT_EQ(inkOf(*dc), expected);

    // Clipped at both sides; the pen size widens the run.
    clearDevice();
    drawLine(-100, 0, 100, 0);
    EXPECT_EQ(inkOf(*dc).size(), 20u);
    clearDevice();
    dc->penWidth = 1;
    dc->penHeight = 1;
    drawLine(2, 3, 4, 3);
    EXPECT_EQ(inkOf(*dc), (Pixels{{2, 3}, {3, 3}, {4, 3}, {5, 3}, {2, 4}, {3, 4}, {4, 4}, {5, 4}}));
    resetGfx();
}

TEST(Primitives, LinesAreConnectedHitBothEndsAndClipToTheirOwnPixels) {
    auto whole = createMemoryContext(64, 64, 24);
    auto clipped = createMemoryContext(64, 64, 24);
    setClipRect(*clipped, Rect{10, 12, 50, 40});
    std::srand(7);
    for (int n = 0; n < 300; ++n) {
        const i32 x1 = std::rand() % 64, y1 = std::rand() % 64, x2 = std::rand() % 64, y2 = std::rand() % 64;
        if (x1 == x2 && y1 == y2) continue;
        for (DeviceContext* dc : {whole.get(), clipped.get()}) {
            makeCurrentContext(dc);
            clearDevice();
            setColor(1);
            drawLine(x1, y1, x2, y2);
        }
        SCOPED_TRACE(testing::Message() << x1 << ',' << y1 << ' ' << x2 << ',' << y2);
        const Pixels ink = inkOf(*whole);
        ASSERT_TRUE(ink.count({x1, y1}) && ink.count({x2, y2}));
        // One pixel per step along the longer axis, each touching another.
        ASSERT_EQ(ink.size(), static_cast<size_t>(std::max(std::abs(x2 - x1), std::abs(y2 - y1)) + 1));
        for (const auto& [x, y] : ink) {
            bool touches = false;
            for (const auto& [u, v] : ink)
                touches |= (u != x || v != y) && std::abs(u - x) <= 1 && std::abs(v - y) <= 1;
            ASSERT_TRUE(touches);
        }
        Pixels inside;
        for (const auto& [x, y] : ink)
            if (x >= 10 && x < 50 && y >= 12 && y < 40) inside.insert({x, y});
        ASSERT_EQ(inkOf(*clipped), inside);
    }
    resetGfx();
}

TEST(Primitives, ExtremeEndPointsAreClippedWithoutWalkingTheLine) {
    auto dc = currentMemoryContext(32, 32, 24);
    setColor(1);
    drawLine(-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647); // the diagonal
    const Pixels ink = inkOf(*dc);
    EXPECT_EQ(ink.size(), 32u);
    for (const auto& [x, y] : ink) EXPECT_EQ(x, y);
    clearDevice();
    drawLine(16, -2147483647 - 1, 16, 2147483647); // a vertical line
    EXPECT_EQ(inkOf(*dc).size(), 32u);
    resetGfx();
}
