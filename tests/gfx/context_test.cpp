#include "gfx/gfx_error.hpp"

#include "gfx_test_support.hpp"

TEST(PixelFormat, PackingFollowsMasksPositionsAndAdjusts) {
    EXPECT_EQ(packRGB(pixelFormatRGB24, 255, 128, 1), 0xFF8001u);
    EXPECT_EQ(packRGB(pixelFormatBGR24, 255, 128, 1), 0x0180FFu);
    EXPECT_EQ(packRGB(pixelFormat555, 255, 255, 255), 0x7FFFu); // reserved bit stays 0
    EXPECT_EQ(packRGB(pixelFormat565, 8, 4, 8), (1u << 11) | (1u << 5) | 1u);
    EXPECT_EQ(packRGB(pixelFormatRGBA32, 1, 2, 3), 0x01020300u);
    EXPECT_EQ(expandChannel(31, 31), 255u);
}

TEST(DeviceContext, MemoryContextsPadRowsAndRefuseWhatTheyCannotDraw) {
    resetGfx();
    auto dc = createMemoryContext(640, 480, 24);
    ASSERT_TRUE(dc);
    EXPECT_EQ(dc->bytesPerLine, 1920);
    EXPECT_EQ(dc->clipRect, (Rect{0, 0, 640, 480}));
    EXPECT_EQ((std::array{getMaxX(*dc), getMaxY(*dc)}), (std::array{639, 479}));
    EXPECT_EQ(createMemoryContext(3, 2, 24)->bytesPerLine, 12); // 9 bytes rounded up
    EXPECT_EQ(createMemoryContext(3, 2, 15)->bytesPerLine, 8);  // 15 bits take two bytes

    auto refusedWith = [](std::unique_ptr<DeviceContext> c) { return c ? 1 : LastError(); };
    EXPECT_EQ(refusedWith(createMemoryContext(10, 10, 12)), -31);
    EXPECT_EQ(refusedWith(createMemoryContext(10, 10, 16, &pixelFormatARGB32)), -31); // channels past 16 bits
    EXPECT_EQ(refusedWith(createMemoryContext(0, 10, 24)), -17);
    EXPECT_EQ(refusedWith(createMemoryContext(10, -1, 24)), -17);
    EXPECT_EQ(refusedWith(createMemoryContext(maxContextSide + 1, 1, 24)), -17);
    std::vector<u8> buffer(2 * 16, 0xAA);
    EXPECT_EQ(refusedWith(createContextOver(buffer.data(), 10, 2, 20, 24)), -17); // a row needs 30 bytes
    EXPECT_EQ(refusedWith(createContextOver(nullptr, 2, 2, 8, 24)), -17);

    // A caller's buffer is drawn with the caller's pitch.
    auto over = createContextOver(buffer.data(), 3, 2, 16, 24);
    ASSERT_TRUE(over);
    makeCurrentContext(over.get());
    setColorRGB(1, 2, 3);
    drawPixel(2, 1);
    EXPECT_EQ(std::vector<u8>(buffer.begin() + 16 + 6, buffer.begin() + 16 + 10),
              (std::vector<u8>{3, 2, 1, 0xAA}));
    resetGfx();
}

TEST(DeviceContext, PaletteContextsPickTheFirstNearestEntry) {
    auto dc = createMemoryContext(4, 4, 8);
    EXPECT_EQ(packColor(*dc, 255, 255, 255), 15u);
    EXPECT_EQ(packColor(*dc, 170, 0, 0), 4u);
    EXPECT_EQ(packColor(*dc, 0, 0, 95), 17u); // the colour cube's first blue step
    // Entries 1 and 2 are equally near (distance 10): the first wins.
    PaletteEntry two[2] = {{0, 0, 100, 0}, {0, 0, 120, 0}};
    setPalette(*dc, two, 2, 1);
    EXPECT_EQ(packColor(*dc, 110, 0, 0), 1u);
}

TEST(DeviceContext, ColorIndexUsesThePackedColorTable) {
    auto dc = currentMemoryContext(4, 4, 24);
    dc->color = 0x123456;
    setColorIndex(0);
    EXPECT_EQ(dc->color, 0u); // entry 0 of the default palette: black
    PaletteEntry e{1, 2, 3, 0};
    setPalette(*dc, &e, 1, 4);
    setColorIndex(4);
    EXPECT_EQ(dc->color, 0x030201u);
    setColorIndex(300); // past the table: black
    EXPECT_EQ(dc->color, 0u);
    auto indexed = currentMemoryContext(4, 4, 8);
    setColorIndex(7);
    EXPECT_EQ(indexed->color, 7u);
    resetGfx();
}

TEST(DeviceContext, NestedPixelAccessReleasesOnTheLastEnd) {
    static int locks, unlocks;
    locks = unlocks = 0;
    auto dc = currentMemoryContext(4, 4, 24);
    dc->lockSurface = [](DeviceContext&) { ++locks; };
    dc->unlockSurface = [](DeviceContext&) { ++unlocks; };
    beginPixelAccess();
    beginPixelAccess();
    EXPECT_EQ(dc->beginCount, 1);
    endPixelAccess();
    EXPECT_EQ((std::array{locks, unlocks}), (std::array{1, 0}));
    endPixelAccess();
    EXPECT_EQ((std::array{locks, unlocks, dc->beginCount}), (std::array{1, 1, -1}));
    endPixelAccess(); // unbalanced: nothing to release
    EXPECT_EQ((std::array{locks, unlocks, dc->beginCount}), (std::array{1, 1, -1}));
    resetGfx();
}

TEST(GfxError, LastErrorIsReadOnceAndEveryCodeHasItsText) {
    resetGfx();
    setLastError(-22);
    EXPECT_EQ(LastError(), -22);
    EXPECT_EQ(LastError(), 0);

    const std::pair<i32, const char*> texts[] = {
        {0, "No error"},
        {-1, "Graphics driver has not been installed"},
        {-5, "Not enough memory to load graphics driver"},
        {-10, "Not enough memory to perform operation"},
        {-12, "Invalid font data"},
        {-13, "Font file corrupted"},
        {-14, "Couldn't find font file"},
        {-16, "Invalid device type for operation"},
        {-22, "Invalid bitmap file"},
        {-23, "Bitmap file was not found"},
        {-26, "Only Windows 2.x font files supported"},
        {-27, "RGL_endRegion() was not called"},
        {-29, "OffscreenDC's require hardware bitBlt support"},
        {-31, "Invalid pixel format for memory DC"},
        {-32, "NONE"},
        {1, "NONE"},
        {-2147483647 - 1, "NONE"},
    };
    for (const auto& [code, text] : texts) EXPECT_STREQ(ErrorMessage(code), text) << code;
    for (i32 code = 0; code >= -31; --code) EXPECT_STRNE(ErrorMessage(code), "NONE") << code;
}
