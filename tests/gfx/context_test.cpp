#include "gfx/device_context.hpp"
#include "gfx/gfx_error.hpp"
#include "gfx/primitives.hpp"

#include "gfx_test_support.hpp"

#include <gtest/gtest.h>

TEST(PixelFormat, PackingFollowsMasksPositionsAndAdjusts) {
    EXPECT_EQ(packRGB(pixelFormatRGB24, 255, 128, 1), 0xFF8001u);
    EXPECT_EQ(packRGB(pixelFormatBGR24, 255, 128, 1), 0x0180FFu);
    EXPECT_EQ(packRGB(pixelFormat555, 255, 255, 255), 0x7FFFu); // reserved bit stays 0
    EXPECT_EQ(packRGB(pixelFormat565, 255, 255, 255), 0xFFFFu);
    EXPECT_EQ(packRGB(pixelFormat565, 8, 4, 8), (1u << 11) | (1u << 5) | 1u);
    EXPECT_EQ(packRGB(pixelFormatARGB32, 1, 2, 3), 0x00010203u);
    EXPECT_EQ(packRGB(pixelFormatABGR32, 1, 2, 3), 0x00030201u);
    EXPECT_EQ(packRGB(pixelFormatRGBA32, 1, 2, 3), 0x01020300u);
    EXPECT_EQ(packRGB(pixelFormatBGRA32, 1, 2, 3), 0x03020100u);
    EXPECT_EQ(expandChannel(31, 31), 255u);
    EXPECT_EQ(expandChannel(0, 31), 0u);
    EXPECT_EQ(expandChannel(63, 63), 255u);
}

TEST(DeviceContext, MemoryContextCoversItsSurfaceWithDefaults) {
    auto dc = createMemoryContext(640, 480, 24);
    ASSERT_TRUE(dc);
    EXPECT_EQ(dc->bytesPerLine, 1920);
    EXPECT_EQ(dc->maxColor, 0xFFFFFFu);
    EXPECT_EQ(dc->pixelFormat, pixelFormatRGB24);
    EXPECT_EQ(dc->deviceRect, (Rect{0, 0, 640, 480}));
    EXPECT_EQ(dc->viewport, dc->deviceRect);
    EXPECT_EQ(dc->clipRect, dc->deviceRect);
    EXPECT_TRUE(dc->clipping);
    EXPECT_EQ(dc->beginCount, -1);
    EXPECT_EQ(dc->text.direction, 2);
    EXPECT_EQ(getMaxX(*dc), 639);
    EXPECT_EQ(getMaxY(*dc), 479);
    EXPECT_EQ(dc->palette[0], (PaletteEntry{0, 0, 0, 0}));
    EXPECT_EQ(dc->palette[15], (PaletteEntry{255, 255, 255, 0}));

    // Rows are padded to four bytes; 15 bits per pixel take two bytes.
    EXPECT_EQ(createMemoryContext(3, 2, 24)->bytesPerLine, 12);
    EXPECT_EQ(createMemoryContext(3, 2, 15)->bytesPerLine, 8);
    EXPECT_EQ(createMemoryContext(3, 2, 8)->maxColor, 255u);
    EXPECT_EQ(createMemoryContext(3, 2, 16)->pixelFormat, pixelFormat565);
    EXPECT_EQ(createMemoryContext(3, 2, 32, &pixelFormatBGRA32)->pixelFormat, pixelFormatBGRA32);
}

TEST(DeviceContext, RefusesWhatItCannotDraw) {
    resetGfx();
    EXPECT_FALSE(createMemoryContext(10, 10, 12));
    EXPECT_EQ(LastError(), -31);
    EXPECT_FALSE(createMemoryContext(10, 10, 16, &pixelFormatARGB32)); // channels beyond 16 bits
    EXPECT_EQ(LastError(), -31);
    EXPECT_FALSE(createMemoryContext(0, 10, 24));
    EXPECT_EQ(LastError(), -17);
    EXPECT_FALSE(createMemoryContext(10, -1, 24));
    EXPECT_EQ(LastError(), -17);
    EXPECT_FALSE(createMemoryContext(maxContextSide + 1, 1, 24));
    EXPECT_EQ(LastError(), -17);
    u8 buffer[64];
    EXPECT_FALSE(createContextOver(buffer, 10, 2, 20, 24)); // a row needs 30 bytes
    EXPECT_EQ(LastError(), -17);
    EXPECT_FALSE(createContextOver(nullptr, 2, 2, 8, 24));
    EXPECT_EQ(LastError(), -17);
}

TEST(DeviceContext, WrapsACallersBufferWithItsPitch) {
    std::vector<u8> buffer(2 * 16, 0xAA);
    auto dc = createContextOver(buffer.data(), 3, 2, 16, 24);
    ASSERT_TRUE(dc);
    makeCurrentContext(dc.get());
    EXPECT_EQ(currentContext, dc.get());
    setColorRGB(1, 2, 3);
    drawPixel(2, 1);
    EXPECT_EQ(buffer[16 + 6], 3);
    EXPECT_EQ(buffer[16 + 7], 2);
    EXPECT_EQ(buffer[16 + 8], 1);
    EXPECT_EQ(buffer[16 + 9], 0xAA);
    resetGfx();
}

TEST(DeviceContext, PaletteContextsPickTheFirstNearestEntry) {
    auto dc = createMemoryContext(4, 4, 8);
    EXPECT_EQ(packColor(*dc, 0, 0, 0), 0u);
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
    setColorIndex(4);
    EXPECT_EQ(dc->color, 0xAA0000u);
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

namespace {
int locks = 0;
int unlocks = 0;
void countLock(DeviceContext&) { ++locks; }
void countUnlock(DeviceContext&) { ++unlocks; }
} // namespace

TEST(DeviceContext, NestedPixelAccessReleasesOnTheLastEnd) {
    auto dc = currentMemoryContext(4, 4, 24);
    dc->lockSurface = countLock;
    dc->unlockSurface = countUnlock;
    locks = unlocks = 0;
    beginPixelAccess();
    beginPixelAccess();
    EXPECT_EQ(dc->beginCount, 1);
    EXPECT_EQ(locks, 1);
    endPixelAccess();
    EXPECT_EQ(unlocks, 0);
    endPixelAccess();
    EXPECT_EQ(unlocks, 1);
    EXPECT_EQ(dc->beginCount, -1);
    endPixelAccess(); // unbalanced: nothing to release
    EXPECT_EQ(dc->beginCount, -1);
    EXPECT_EQ(unlocks, 1);
    resetGfx();
}

TEST(GfxError, LastErrorIsReadOnceAndEveryCodeHasItsText) {
    resetGfx();
    EXPECT_EQ(LastError(), 0);
    setLastError(-22);
    EXPECT_EQ(LastError(), -22);
    EXPECT_EQ(LastError(), 0);

    EXPECT_STREQ(ErrorMessage(0), "No error");
    EXPECT_STREQ(ErrorMessage(-1), "Graphics driver has not been installed");
    EXPECT_STREQ(ErrorMessage(-5), "Not enough memory to load graphics driver");
    EXPECT_STREQ(ErrorMessage(-10), "Not enough memory to perform operation");
    EXPECT_STREQ(ErrorMessage(-12), "Invalid font data");
    EXPECT_STREQ(ErrorMessage(-13), "Font file corrupted");
    EXPECT_STREQ(ErrorMessage(-14), "Couldn't find font file");
    EXPECT_STREQ(ErrorMessage(-16), "Invalid device type for operation");
    EXPECT_STREQ(ErrorMessage(-22), "Invalid bitmap file");
    EXPECT_STREQ(ErrorMessage(-23), "Bitmap file was not found");
    EXPECT_STREQ(ErrorMessage(-26), "Only Windows 2.x font files supported");
    EXPECT_STREQ(ErrorMessage(-27), "RGL_endRegion() was not called");
    EXPECT_STREQ(ErrorMessage(-29), "OffscreenDC's require hardware bitBlt support");
    EXPECT_STREQ(ErrorMessage(-31), "Invalid pixel format for memory DC");
    EXPECT_STREQ(ErrorMessage(-32), "NONE");
    EXPECT_STREQ(ErrorMessage(1), "NONE");
    EXPECT_STREQ(ErrorMessage(-2147483647 - 1), "NONE");
    for (i32 code = 0; code >= -31; --code) EXPECT_STRNE(ErrorMessage(code), "NONE") << code;
}
