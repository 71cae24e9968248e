#include "gfx/file_search.hpp"
#include "gfx/gfx_error.hpp"

#include "gfx_test_support.hpp"

namespace {

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

TEST(BitmapFile, WrittenFilesAndScreenshotsLoadBack) {
    ScratchDir dir;
    Bitmap rgb = makeBitmap(3, 2, 24), menu = makeBitmap(3, 2, 8);
    EXPECT_EQ(rgb.bytesPerLine, 12); // 9 bytes rounded up to 12
    rgb.row(0)[0] = 1;               // blue of the top-left pixel
    rgb.row(1)[8] = 9;               // red of the bottom-right pixel
    menu.palette.assign(256, PaletteEntry{});
    menu.palette[7] = PaletteEntry{1, 2, 3, 0};
    menu.row(1)[2] = 7;
    for (const Bitmap* bm : {&rgb, &menu}) {
        ASSERT_TRUE(saveBitmap("Written.bmp", *bm));
        auto back = loadBitmap("written.BMP", 1); // names are matched without regard to case
        ASSERT_TRUE(back);
        EXPECT_EQ((std::array{back->width, back->height, back->bitsPerPixel}),
                  (std::array{3, 2, bm->bitsPerPixel}));
        EXPECT_EQ(back->pixelFormat, bm->pixelFormat);
        EXPECT_EQ(back->palette, bm->palette);
        EXPECT_EQ(back->pixels, bm->pixels);
    }
    EXPECT_FALSE(saveBitmap("nibbles.bmp", makeBitmap(2, 2, 4)));

    auto dc = currentMemoryContext(5, 4, 24);
    setColorRGB(10, 20, 30);
    drawLine(0, 0, 4, 3);
    ASSERT_TRUE(saveContextBitmap("shot.bmp", *dc));
    auto shot = loadBitmap("shot.bmp", 1);
    ASSERT_TRUE(shot);
    auto again = createMemoryContext(5, 4, 24);
    putBitmap(*again, 0, 0, shot.get(), writeReplace);
    EXPECT_EQ(again->ownedSurface, dc->ownedSurface);
}

TEST(BitmapFile, EveryAcceptedVariantReadsItsPixels) {
    ScratchDir dir;
    const std::vector<BitmapVariant> variants = acceptedBitmapVariants();
    for (const BitmapVariant& v : variants) {
        SCOPED_TRACE(testing::Message() << v.file.bits << " bits, compression " << v.file.compression
                                        << ", height " << v.file.height);
        auto bm = load(v.file);
        ASSERT_TRUE(bm);
        EXPECT_EQ((std::array{bm->width, bm->height, bm->bitsPerPixel}),
                  (std::array{v.file.width, std::abs(v.file.height), v.bits}));
        EXPECT_EQ(bm->pixelFormat, v.format);
        EXPECT_EQ(bm->palette.size(), v.paletteSize);
        for (size_t x = 0; x < v.row0.size(); ++x) EXPECT_EQ(drawnColor(*bm, i32(x), 0), v.row0[x]) << x;
    }
    EXPECT_EQ(load(variants[2].file)->bytesPerLine, 4); // 1 bit, 17 wide
    auto noPalette = load(variants[4].file, 0);         // 8 bits, 16 colours
    ASSERT_TRUE(noPalette);
    EXPECT_TRUE(noPalette->palette.empty());
    EXPECT_EQ(noPalette->row(0)[0], 5);
}

TEST(BitmapFile, RefusesWhatItCannotRead) {
    ScratchDir dir;
    EXPECT_FALSE(loadBitmap("missing.bmp", 1));
    EXPECT_EQ(LastError(), -23);

    const std::vector<u8> row{0, 0, 0, 0};
    ASSERT_TRUE(load({.rows = row}));
    const BmpBuilder refused[] = {
        {.width = 2, .bits = 8, .compression = 1, .rows = row}, // RLE
        {.infoSize = 108, .rows = row},
        {.planes = 2, .rows = row},
        {.bits = 2, .rows = row},
        {.width = 0x10000, .rows = row}, // only the low 16 bits of the width count
        {.height = 0},
        {.height = -2147483647 - 1},
        {.height = 9000},
        {.bits = 4,
         .colorsUsed = 17,
         .palette = std::vector<u8>(17 * 4),
         .rows = row},                                                 // more than 4 bits index
        {.bits = 8, .palette = std::vector<u8>(100)},                  // 256 entries cut short
        {.bits = 32, .compression = 3, .palette = std::vector<u8>(8)}, // masks cut short
    };
    for (const BmpBuilder& b : refused) {
        EXPECT_FALSE(load(b)) << b.bits << ' ' << b.width << 'x' << b.height;
        EXPECT_EQ(LastError(), -22);
    }
    std::vector<u8> header = BmpBuilder{.rows = row}.build();
    header[1] = 'A';
    for (size_t size : {header.size(), size_t{40}}) {
        header.resize(size);
        writeBytes("bad.bmp", header);
        EXPECT_FALSE(loadBitmap("bad.bmp", 1));
        EXPECT_EQ(LastError(), -22);
    }
}

TEST(BitmapFile, RowsMissingFromAShortFileAreZero) {
    ScratchDir dir;
    // Three rows of one white pixel, bottom-up; the file holds the first and half the second.
    auto bm = load({.height = 3, .rows = {255, 255, 255, 0, 255, 255}});
    ASSERT_TRUE(bm);
    EXPECT_EQ(drawnColor(*bm, 0, 2), 0xFFFFFFu);
    EXPECT_EQ(drawnColor(*bm, 0, 1), 0x00FFFFu);
    EXPECT_EQ(drawnColor(*bm, 0, 0), 0u);
}

TEST(BitmapFile, SearchTriesTheNameThenTheRootThenRglRoot) {
    ScratchDir dir;
    for (auto [path, width] :
         {std::pair{"env/BITMAPS/sky1.bmp", 3}, {"lib/Bitmaps/sky1.bmp", 2}, {"Bitmaps/sky1.bmp", 1}})
        writeBytes(path, encodeBitmap(makeBitmap(width, 1, 24)));
    ::setenv("RGL_ROOT", (dir.path + "/env").c_str(), 1);
    setLibraryRoot(dir.path + "/lib/");
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
    // Only bitmap columns 1-2 and rows 0-1 land inside.
    EXPECT_EQ(readPixel(*dc, 0, 2), 2u);
    EXPECT_EQ(readPixel(*dc, 1, 3), 6u);
    EXPECT_EQ(readPixel(*dc, 2, 2), 0u);
    putBitmap(*dc, 100, 100, &bm, writeReplace); // nothing remains: nothing drawn
    putBitmap(*dc, 0, 0, nullptr, writeReplace);

    Bitmap white = makeBitmap(1, 1, 24);
    std::fill(white.pixels.begin(), white.pixels.begin() + 3, 255);
    auto dc16 = createMemoryContext(2, 2, 16);
    putBitmap(*dc16, 1, 1, &white, writeReplace);
    EXPECT_EQ(readPixel(*dc16, 1, 1), 0xFFFFu);

    // On a palette context a bitmap without a palette is copied as it is; one with
    // a palette goes through the nearest entry, even a palette that starts like the
    // context's: indices past its end are black.
    Bitmap indexed = makeBitmap(1, 1, 8);
    indexed.row(0)[0] = 4;
    auto dc8 = createMemoryContext(2, 2, 8);
    putBitmap(*dc8, 0, 0, &indexed, writeReplace);
    EXPECT_EQ(readPixel(*dc8, 0, 0), 4u);
    indexed.palette.assign(5, PaletteEntry{});
    indexed.palette[4] = PaletteEntry{0, 0, 255, 0}; // pure red: nearest is 196 in the cube
    putBitmap(*dc8, 0, 0, &indexed, writeReplace);
    EXPECT_EQ(readPixel(*dc8, 0, 0), 196u);
    indexed.palette.assign(dc8->palette.begin(), dc8->palette.begin() + 16);
    indexed.row(0)[0] = 20;
    putBitmap(*dc8, 0, 0, &indexed, writeReplace);
    EXPECT_EQ(readPixel(*dc8, 0, 0), 0u);

    // A 1-bit bitmap draws its set bits in the current colour.
    Bitmap stencil = makeBitmap(10, 1, 1);
    stencil.row(0)[0] = 0x81;
    stencil.row(0)[1] = 0x40;
    auto dc1 = createMemoryContext(10, 1, 24);
    dc1->color = 0x123456;
    putBitmap(*dc1, 0, 0, &stencil, writeReplace);
    for (i32 x = 0; x < 10; ++x)
        EXPECT_EQ(readPixel(*dc1, x, 0), x == 0 || x == 7 || x == 9 ? 0x123456u : 0u) << x;
}

TEST(PutBitmap, TransparentPixelsLeaveTheDestination) {
    resetGfx();
    Bitmap bm = makeBitmap(2, 1, 24);
    std::fill(bm.pixels.begin(), bm.pixels.begin() + 3, 255); // white, then black
    auto dc = currentMemoryContext(2, 1, 24);
    setBackColor(0x808080);
    clearDevice();
    putBitmapTransparent(*dc, 0, 0, &bm, 0xFFFFFF, 1);
    EXPECT_EQ((std::array{readPixel(*dc, 0, 0), readPixel(*dc, 1, 0)}), (std::array{0x808080u, 0u}));
    EXPECT_EQ(LastError(), 0);
    Bitmap bgr = makeBitmap(1, 1, 24, &pixelFormatBGR24);
    bgr.row(0)[0] = 0x33; // red in the low byte: converted
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
        EXPECT_EQ((std::array{readPixel(*target, 0, 0), readPixel(*target, 1, 0)}), (std::array{0u, 5u}))
            << bits;
    }

    // Depths other than the context's, and indexed bitmaps below 8 bits, are refused.
    const Bitmap indexed = makeBitmap(1, 1, 8), nibbles = makeBitmap(1, 1, 4);
    putBitmapTransparent(*dc, 0, 0, &indexed, 0, 1);
    EXPECT_EQ(LastError(), -16);
    putBitmapTransparent(*createMemoryContext(1, 1, 8), 0, 0, &nibbles, 0, 1);
    EXPECT_EQ(LastError(), -16);
    EXPECT_EQ(readPixel(*dc, 0, 0), 0x330000u);
    resetGfx();
}
