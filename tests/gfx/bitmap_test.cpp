#include "gfx/bitmap.hpp"
#include "gfx/bitmap_writer.hpp"
#include "gfx/file_search.hpp"
#include "gfx/gfx_error.hpp"
#include "gfx/primitives.hpp"

#include "gfx_test_support.hpp"

#include <gtest/gtest.h>

namespace {

// A one-row-per-entry file of `bits` bits with raw row bytes.
BmpBuilder rowsOf(i32 width, i32 height, u32 bits, std::vector<u8> rows) {
    BmpBuilder b;
    b.width = width;
    b.height = height;
    b.bits = bits;
    b.rows = std::move(rows);
    return b;
}

std::vector<u8> masks(u32 red, u32 green, u32 blue) {
    std::vector<u8> out;
    put32(out, red);
    put32(out, green);
    put32(out, blue);
    return out;
}

std::unique_ptr<Bitmap> load(const BmpBuilder& b, int loadPalette = 1) {
    writeBytes("test.bmp", b.build());
    return loadBitmap("test.bmp", loadPalette);
}

// What one pixel of a bitmap becomes on a 24-bit RGB frame.
u32 drawnColor(const Bitmap& bm, i32 x, i32 y) {
    auto dc = createMemoryContext(bm.width, bm.height, 24);
    putBitmap(*dc, 0, 0, &bm, writeReplace);
    return readPixel(*dc, x, y);
}

} // namespace

TEST(BitmapFile, TwentyFourBitRoundTripAndRowPadding) {
    ScratchDir dir;
    Bitmap bm = makeBitmap(3, 2, 24);
    EXPECT_EQ(bm.bytesPerLine, 12); // 9 bytes rounded up to 12
    bm.row(0)[0] = 1;                // blue of the top-left pixel
    bm.row(1)[8] = 9;                // red of the bottom-right pixel
    ASSERT_TRUE(saveBitmap("Round.bmp", bm));
    auto back = loadBitmap("round.BMP", 1); // names are matched without regard to case
    ASSERT_TRUE(back);
    EXPECT_EQ(LastError(), 0);
    EXPECT_EQ(back->width, 3);
    EXPECT_EQ(back->height, 2);
    EXPECT_EQ(back->bitsPerPixel, 24);
    EXPECT_EQ(back->pixelFormat, pixelFormatRGB24);
    EXPECT_TRUE(back->palette.empty());
    EXPECT_EQ(back->pixels, bm.pixels);
}

TEST(BitmapFile, RowOrderFollowsTheSignOfTheHeight) {
    ScratchDir dir;
    const std::vector<u8> redThenBlue{0, 0, 255, 0, 255, 0, 0, 0};
    auto bottomUp = load(rowsOf(1, 2, 24, redThenBlue));
    ASSERT_TRUE(bottomUp);
    EXPECT_EQ(drawnColor(*bottomUp, 0, 0), 0x0000FFu); // the last stored row, blue, is the top
    EXPECT_EQ(drawnColor(*bottomUp, 0, 1), 0xFF0000u);
    auto topDown = load(rowsOf(1, -2, 24, redThenBlue));
    ASSERT_TRUE(topDown);
    EXPECT_EQ(topDown->height, 2);
    EXPECT_EQ(drawnColor(*topDown, 0, 0), 0xFF0000u);
}

TEST(BitmapFile, IndexedDepthsReadTheirPalettes) {
    ScratchDir dir;
    // 1 bit, 17 pixels wide: 3 bytes of pixels padded to 4.
    BmpBuilder one = rowsOf(17, 1, 1, {0x80, 0x00, 0x80, 0x00});
    one.palette = {0, 0, 0, 0, 255, 255, 255, 0};
    auto b1 = load(one);
    ASSERT_TRUE(b1);
    EXPECT_EQ(b1->bytesPerLine, 4);
    EXPECT_EQ(b1->palette.size(), 2u);

    // 4 bits: the high nibble is the left pixel.
    BmpBuilder four = rowsOf(3, 1, 4, {0x12, 0x30, 0, 0});
    for (u8 i = 0; i < 16; ++i) four.palette.insert(four.palette.end(), {i, 0, 0, 0});
    auto b4 = load(four);
    ASSERT_TRUE(b4);
    EXPECT_EQ(drawnColor(*b4, 0, 0), 1u);
    EXPECT_EQ(drawnColor(*b4, 1, 0), 2u);
    EXPECT_EQ(drawnColor(*b4, 2, 0), 3u);

    // 8 bits with 16 colours used: a 64-byte palette, then the rows. Index 20 lies
    // beyond the palette and reads as black.
    BmpBuilder eight = rowsOf(2, 1, 8, {5, 20, 0, 0});
    eight.colorsUsed = 16;
    eight.palette.assign(64, 0);
    eight.palette[5 * 4 + 1] = 200; // green of entry 5
    auto b8 = load(eight);
    ASSERT_TRUE(b8);
    EXPECT_EQ(b8->palette.size(), 16u);
    EXPECT_EQ(b8->row(0)[0], 5);
    EXPECT_EQ(drawnColor(*b8, 0, 0), 0x00C800u);
    EXPECT_EQ(drawnColor(*b8, 1, 0), 0u);

    auto noPalette = load(eight, 0);
    ASSERT_TRUE(noPalette);
    EXPECT_TRUE(noPalette->palette.empty());
    EXPECT_EQ(noPalette->row(0)[0], 5);
}

TEST(BitmapFile, PackedDepthsChooseTheirPixelFormat) {
    ScratchDir dir;
    auto plain16 = load(rowsOf(2, 1, 16, {0xFF, 0x7F, 0x00, 0x7C}));
    ASSERT_TRUE(plain16);
    EXPECT_EQ(plain16->bitsPerPixel, 15);
    EXPECT_EQ(plain16->pixelFormat, pixelFormat555);
    EXPECT_EQ(drawnColor(*plain16, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(drawnColor(*plain16, 1, 0), 0xFF0000u);

    BmpBuilder fields565 = rowsOf(2, 1, 16, {0x00, 0xF8, 0xE0, 0x07});
    fields565.compression = 3;
    fields565.palette = masks(0xF800, 0x7E0, 0x1F);
    auto b565 = load(fields565);
    ASSERT_TRUE(b565);
    EXPECT_EQ(b565->bitsPerPixel, 16);
    EXPECT_EQ(b565->pixelFormat, pixelFormat565);
    EXPECT_EQ(drawnColor(*b565, 0, 0), 0xFF0000u);
    EXPECT_EQ(drawnColor(*b565, 1, 0), 0x00FF00u);

    BmpBuilder bgr = rowsOf(1, 1, 24, {0x11, 0x22, 0x33, 0});
    bgr.compression = 3;
    bgr.palette = masks(0xFF, 0xFF00, 0xFF0000);
    auto b24 = load(bgr);
    ASSERT_TRUE(b24);
    EXPECT_EQ(b24->pixelFormat, pixelFormatBGR24);
    EXPECT_EQ(drawnColor(*b24, 0, 0), 0x112233u);

    struct Case {
        bool fields;
        u32 redMask;
        PixelFormat format;
    };
    for (const Case& c : {Case{false, 0, pixelFormatARGB32}, Case{true, 0xFF0000, pixelFormatARGB32},
                          Case{true, 0xFF, pixelFormatABGR32}, Case{true, 0xFF00, pixelFormatBGRA32},
                          Case{true, 0xFF000000, pixelFormatRGBA32}}) {
        BmpBuilder b = rowsOf(1, 1, 32, {0x11, 0x22, 0x33, 0x44});
        if (c.fields) {
            b.compression = 3;
            b.palette = masks(c.redMask, 0, 0);
        }
        auto bm = load(b);
        ASSERT_TRUE(bm);
        EXPECT_EQ(bm->pixelFormat, c.format) << std::hex << c.redMask;
        const u32 v = 0x44332211;
        const PixelFormat& f = c.format;
        EXPECT_EQ(drawnColor(*bm, 0, 0), ((v >> f.redPos) & 255) << 16 | ((v >> f.greenPos) & 255) << 8 |
                                             ((v >> f.bluePos) & 255));
    }
}

TEST(BitmapFile, RefusesWhatItCannotRead) {
    ScratchDir dir;
    EXPECT_FALSE(loadBitmap("missing.bmp", 1));
    EXPECT_EQ(LastError(), -23);

    auto refused = [](BmpBuilder b) {
        writeBytes("bad.bmp", b.build());
        const bool loaded = loadBitmap("bad.bmp", 1) != nullptr;
        return !loaded && LastError() == -22;
    };
    BmpBuilder rle = rowsOf(2, 1, 8, {0, 0, 0, 0});
    rle.compression = 1;
    EXPECT_TRUE(refused(rle));
    BmpBuilder b = rowsOf(1, 1, 24, {0, 0, 0, 0});
    EXPECT_FALSE(refused(b));
    b.infoSize = 108;
    EXPECT_TRUE(refused(b));
    b = rowsOf(1, 1, 24, {0, 0, 0, 0});
    b.planes = 2;
    EXPECT_TRUE(refused(b));
    b = rowsOf(1, 1, 2, {0, 0, 0, 0});
    EXPECT_TRUE(refused(b));
    b = rowsOf(0x10000, 1, 24, {0, 0, 0, 0}); // only the low 16 bits of the width count
    EXPECT_TRUE(refused(b));
    b = rowsOf(1, 0, 24, {});
    EXPECT_TRUE(refused(b));
    b = rowsOf(1, -2147483647 - 1, 24, {});
    EXPECT_TRUE(refused(b));
    b = rowsOf(1, 9000, 24, {});
    EXPECT_TRUE(refused(b));
    b = rowsOf(1, 1, 4, {0, 0, 0, 0});
    b.colorsUsed = 17; // more entries than 4 bits can index
    b.palette.assign(17 * 4, 0);
    EXPECT_TRUE(refused(b));
    b = rowsOf(1, 1, 8, {});
    b.palette.assign(100, 0); // a palette of 256 entries cut short
    EXPECT_TRUE(refused(b));
    b = rowsOf(1, 1, 32, {});
    b.compression = 3;
    b.palette.assign(8, 0); // masks cut short
    EXPECT_TRUE(refused(b));

    std::vector<u8> header = rowsOf(1, 1, 24, {0, 0, 0, 0}).build();
    header[1] = 'A';
    writeBytes("bad.bmp", header);
    EXPECT_FALSE(loadBitmap("bad.bmp", 1));
    EXPECT_EQ(LastError(), -22);
    header.resize(40);
    writeBytes("bad.bmp", header);
    EXPECT_FALSE(loadBitmap("bad.bmp", 1));
    EXPECT_EQ(LastError(), -22);
}

TEST(BitmapFile, RowsMissingFromAShortFileAreZero) {
    ScratchDir dir;
    // Three rows of one white pixel, bottom-up, the file holding only the first and
    // half of the second.
    auto bm = load(rowsOf(1, 3, 24, {255, 255, 255, 0, 255, 255}));
    ASSERT_TRUE(bm);
    EXPECT_EQ(drawnColor(*bm, 0, 2), 0xFFFFFFu);
    EXPECT_EQ(drawnColor(*bm, 0, 1), 0x00FFFFu);
    EXPECT_EQ(drawnColor(*bm, 0, 0), 0u);
}

TEST(BitmapFile, SearchTriesTheNameThenTheRootThenRglRoot) {
    ScratchDir dir;
    auto saveWidth = [](const std::string& path, i32 width) {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        ASSERT_TRUE(saveBitmap(path, makeBitmap(width, 1, 24)));
    };
    saveWidth("env/BITMAPS/sky1.bmp", 3);
    saveWidth("lib/Bitmaps/sky1.bmp", 2);
    saveWidth("Bitmaps/sky1.bmp", 1);
    ::setenv("RGL_ROOT", (dir.path() + "/env").c_str(), 1);
    setLibraryRoot(dir.path() + "/lib/");
    EXPECT_EQ(joinLibraryPath("C:\\rgl", "BITMAPS\\", "a.bmp"), "C:\\rgl\\BITMAPS\\a.bmp");

    EXPECT_EQ(loadBitmap("Bitmaps\\sky1.bmp", 1)->width, 1); // the current directory first
    EXPECT_EQ(loadBitmap("sky1.bmp", 1)->width, 2);
    std::filesystem::remove("lib/Bitmaps/sky1.bmp");
    EXPECT_EQ(loadBitmap("sky1.bmp", 1)->width, 3);
    setLibraryRoot(""); // an unset root is skipped, not taken as "/"
    EXPECT_EQ(loadBitmap("sky1.bmp", 1)->width, 3);
    ::unsetenv("RGL_ROOT");
    EXPECT_FALSE(loadBitmap("sky1.bmp", 1));
    EXPECT_EQ(LastError(), -23);
}

TEST(PutBitmap, CopiesClippedRowsAndConvertsOtherFormats) {
    Bitmap bm = makeBitmap(3, 3, 24);
    for (i32 y = 0; y < 3; ++y)
        for (i32 x = 0; x < 3; ++x) bm.row(y)[3 * x] = static_cast<u8>(1 + x + 3 * y);
    auto dc = createMemoryContext(4, 4, 24);
    setClipRect(*dc, Rect{0, 0, 3, 4});
    putBitmap(*dc, -1, 2, &bm, writeReplace);
    // Only bitmap columns 1-2 and row 0-1 land inside.
    EXPECT_EQ(readPixel(*dc, 0, 2), 2u);
    EXPECT_EQ(readPixel(*dc, 1, 3), 6u);
    EXPECT_EQ(readPixel(*dc, 2, 2), 0u);
    putBitmap(*dc, 100, 100, &bm, writeReplace); // nothing remains: nothing drawn
    putBitmap(*dc, 0, 0, nullptr, writeReplace);

    // A 5:6:5 context gets converted pixels.
    Bitmap white = makeBitmap(1, 1, 24);
    std::fill(white.pixels.begin(), white.pixels.begin() + 3, 255);
    auto dc16 = createMemoryContext(2, 2, 16);
    putBitmap(*dc16, 1, 1, &white, writeReplace);
    EXPECT_EQ(readPixel(*dc16, 1, 1), 0xFFFFu);

    // On a palette context a bitmap with the context's palette is copied as it is;
    // one with another palette goes through the nearest entry.
    Bitmap indexed = makeBitmap(1, 1, 8);
    indexed.row(0)[0] = 4;
    auto dc8 = createMemoryContext(2, 2, 8);
    putBitmap(*dc8, 0, 0, &indexed, writeReplace);
    EXPECT_EQ(readPixel(*dc8, 0, 0), 4u);
    indexed.palette.assign(5, PaletteEntry{});
    indexed.palette[4] = PaletteEntry{0, 0, 255, 0}; // pure red: nearest is 196 in the cube
    putBitmap(*dc8, 0, 0, &indexed, writeReplace);
    EXPECT_EQ(readPixel(*dc8, 0, 0), 196u);
    // A palette matching the context's first entries still reads indices past its
    // end as black.
    indexed.palette.assign(dc8->palette.begin(), dc8->palette.begin() + 16);
    indexed.row(0)[0] = 20;
    putBitmap(*dc8, 0, 0, &indexed, writeReplace);
    EXPECT_EQ(readPixel(*dc8, 0, 0), 0u);
}

TEST(PutBitmap, OneBitBitmapsDrawTheirSetBitsInTheCurrentColour) {
    Bitmap stencil = makeBitmap(10, 1, 1);
    stencil.row(0)[0] = 0x81;
    stencil.row(0)[1] = 0x40;
    auto dc = createMemoryContext(10, 1, 24);
    dc->color = 0x123456;
    putBitmap(*dc, 0, 0, &stencil, writeReplace);
    for (i32 x = 0; x < 10; ++x)
        EXPECT_EQ(readPixel(*dc, x, 0), x == 0 || x == 7 || x == 9 ? 0x123456u : 0u) << x;
}

TEST(PutBitmap, TransparentPixelsLeaveTheDestination) {
    resetGfx();
    Bitmap bm = makeBitmap(2, 1, 24);
    std::fill(bm.pixels.begin(), bm.pixels.begin() + 3, 255); // white, then black
    auto dc = createMemoryContext(2, 1, 24);
    makeCurrentContext(dc.get());
    setBackColor(0x808080);
    clearDevice();
    putBitmapTransparent(*dc, 0, 0, &bm, 0xFFFFFF, 1);
    EXPECT_EQ(readPixel(*dc, 0, 0), 0x808080u);
    EXPECT_EQ(readPixel(*dc, 1, 0), 0u);
    EXPECT_EQ(LastError(), 0);

    Bitmap bgr = makeBitmap(1, 1, 24, &pixelFormatBGR24);
    bgr.row(0)[0] = 0x33; // red in the low byte
    putBitmapTransparent(*dc, 0, 0, &bgr, 0xFFFFFF, 1);
    EXPECT_EQ(readPixel(*dc, 0, 0), 0x330000u);

    // Every same-format depth compares the bitmap's own values, clipped.
    for (const i32 bits : {8, 15, 32}) {
        Bitmap b = makeBitmap(3, 1, bits);
        auto target = createMemoryContext(2, 1, bits);
        const i32 bytes = bits == 15 ? 2 : bits / 8;
        b.row(0)[0] = 7;         // transparent
        b.row(0)[bytes] = 5;     // drawn
        b.row(0)[2 * bytes] = 6; // clipped away
        putBitmapTransparent(*target, 0, 0, &b, 7, 1);
        EXPECT_EQ(readPixel(*target, 0, 0), 0u) << bits;
        EXPECT_EQ(readPixel(*target, 1, 0), 5u) << bits;
    }

    // Depths other than the context's, and indexed bitmaps below 8 bits, are refused.
    Bitmap indexed = makeBitmap(1, 1, 8);
    putBitmapTransparent(*dc, 0, 0, &indexed, 0, 1);
    EXPECT_EQ(LastError(), -16);
    Bitmap nibbles = makeBitmap(1, 1, 4);
    auto dc8 = createMemoryContext(1, 1, 8);
    putBitmapTransparent(*dc8, 0, 0, &nibbles, 0, 1);
    EXPECT_EQ(LastError(), -16);
    EXPECT_EQ(readPixel(*dc, 0, 0), 0x330000u);
    resetGfx();
}

TEST(BitmapWriter, ScreenshotsAndIndexedFilesLoadBack) {
    ScratchDir dir;
    auto dc = currentMemoryContext(5, 4, 24);
    setColorRGB(10, 20, 30);
    drawLine(0, 0, 4, 3);
    ASSERT_TRUE(saveContextBitmap("shot.bmp", *dc));
    auto shot = loadBitmap("shot.bmp", 1);
    ASSERT_TRUE(shot);
    auto again = createMemoryContext(5, 4, 24);
    putBitmap(*again, 0, 0, shot.get(), writeReplace);
    EXPECT_EQ(again->ownedSurface, dc->ownedSurface);

    Bitmap menu = makeBitmap(3, 2, 8);
    menu.palette.assign(256, PaletteEntry{});
    menu.palette[7] = PaletteEntry{1, 2, 3, 0};
    menu.row(1)[2] = 7;
    ASSERT_TRUE(saveBitmap("menu.bmp", menu));
    auto back = loadBitmap("menu.bmp", 1);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->palette, menu.palette);
    EXPECT_EQ(back->pixels, menu.pixels);
    EXPECT_FALSE(saveBitmap("nibbles.bmp", makeBitmap(2, 2, 4)));
}
