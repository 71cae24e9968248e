#include "gfx/gfx_error.hpp"

#include "base/fatal.hpp"
#include "gfx_test_support.hpp"

#include <cstring>

namespace {

// Glyphs for codes first..last, each `fixedWidth` wide (code-dependent when 0), ink
// in a pattern that tells rows and columns apart.
RasterFontSource fontSource(u8 first, u8 last, i32 height, i32 fixedWidth) {
    RasterFontSource s{.name = "Test Face",
                       .pixelWidth = fixedWidth,
                       .height = height,
                       .ascent = height - 2,
                       .externalLeading = 1,
                       .firstChar = first,
                       .lastChar = last,
                       .glyphs = {}};
    for (int c = first; c <= last; ++c) {
        GlyphImage g{fixedWidth ? fixedWidth : 1 + c % 12, {}};
        for (i32 r = 0; r < height; ++r)
            for (i32 i = 0; i < (g.width + 7) / 8; ++i) g.rows.push_back(static_cast<u8>(c + 16 * r + 5 * i));
        s.glyphs.push_back(g);
    }
    return s;
}

// Vertical bars at each x from row top to row bottom.
Pixels barsAt(std::initializer_list<i32> xs, i32 top, i32 bottom) {
    Pixels bars;
    for (i32 x : xs)
        for (i32 y = top; y <= bottom; ++y) bars.insert({x, y});
    return bars;
}

std::unique_ptr<Font> loadBytes(const std::vector<u8>& bytes) {
    writeBytes("font.fnt", bytes);
    return loadFont("font.fnt");
}

} // namespace

TEST(FntFont, ConversionMatchesTheGlyphsItWasWrittenFrom) {
    ScratchDir dir;
    for (const i32 fixed : {0, 16}) {
        const RasterFontSource source = fontSource(32, 127, 20, fixed);
        auto font = loadBytes(encodeFntFont(source));
        ASSERT_TRUE(font) << LastError();
        EXPECT_EQ(font->record, buildFont(source).record);
        EXPECT_STREQ(font->name(), "Test Face");
        EXPECT_EQ(font->fontType(), fixed ? 2 : 3);
        EXPECT_EQ((std::array{font->fontHeight(), font->ascent(), font->descent(), font->leading()}),
                  (std::array<i16, 4>{20, 18, -2, 1}));
        EXPECT_EQ(font->glyphOffset(31), Font::noGlyph);
        EXPECT_EQ(font->glyphOffset(128), Font::noGlyph);
        EXPECT_EQ(font->glyphOffset(0), font->glyphOffset(32)); // the default character
    }
}

TEST(FntFont, WideGlyphsAreReorderedIntoRows) {
    ScratchDir dir;
    const RasterFontSource source = fontSource('A', 'A', 20, 16);
    const std::vector<u8> file = encodeFntFont(source);
    // In the file the glyph is two columns of 20 bytes each.
    const size_t bits = 118 + 2 * 4;
    EXPECT_EQ(file[bits + 1], source.glyphs[0].rows[2]);  // column 0, row 1
    EXPECT_EQ(file[bits + 20], source.glyphs[0].rows[1]); // column 1, row 0
    auto font = loadBytes(file);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->imageWidth('A'), 16);
    const u8* glyph = font->record.data() + Font::glyphImagesOffset + font->glyphOffset('A');
    EXPECT_TRUE(std::equal(source.glyphs[0].rows.begin(), source.glyphs[0].rows.end(), glyph));

    // One byte per row needs no reordering; a width of 5 is kept, its image 8 wide.
    RasterFontSource narrow = fontSource('A', 'A', 20, 5);
    auto narrowFont = loadBytes(encodeFntFont(narrow));
    ASSERT_TRUE(narrowFont);
    EXPECT_EQ(narrowFont->width('A'), 5);
    EXPECT_EQ(narrowFont->imageWidth('A'), 8);
    EXPECT_EQ(
        std::memcmp(narrowFont->record.data() + Font::glyphImagesOffset, narrow.glyphs[0].rows.data(), 20),
        0);
}

TEST(FntFontDeathTest, GlyphsAboveTheTemporaryBufferEndTheProgram) {
    ScratchDir dir;
    resetFatalHook();
    writeBytes("huge.fnt", encodeFntFont(fontSource('A', 'A', 120, 40)));
    EXPECT_EXIT(loadFont("huge.fnt"), testing::ExitedWithCode(1), "Temporary glyph buffer is too small!!");
}

TEST(FntFont, RefusesHeadersAndTablesThatDoNotFit) {
    ScratchDir dir;
    EXPECT_FALSE(loadFont("absent.fnt"));
    EXPECT_EQ(LastError(), -14);

    const std::vector<u8> good = encodeFntFont(fontSource('A', 'C', 8, 8));
    ASSERT_TRUE(loadBytes(good));
    auto refusedWith = [](const std::vector<u8>& bytes) { return loadBytes(bytes) ? 1 : LastError(); };
    std::vector<u8> v = good;
    v[1] = 3; // version 3.0
    EXPECT_EQ(refusedWith(v), -26);
    EXPECT_EQ(refusedWith({}), -13);
    EXPECT_EQ(refusedWith(std::vector<u8>(good.begin(), good.begin() + 117)), -13);
    const std::vector<std::pair<size_t, u8>> corrupt[] = {
        {{66, 1}}, // a vector font
        {{66, 4}}, // a type that is not a raster font either
        {{66, 0x80}},
        {{67, 1}},                               // type 0x100
        {{96, 'A' - 1}},                         // last below first
        {{96, 255}},                             // a table past the end of the file
        {{97, 3}},                               // default character outside the range
        {{88, 0}},                               // no rows
        {{128, static_cast<u8>(good[128] + 4)}}, // third glyph reaches past the bits block
        {{126, 249}},                            // third glyph too wide for its image width byte
        {{105, 0xFF}, {106, 0xFF}},              // face name beyond the file
    };
    for (const auto& edits : corrupt) {
        v = good;
        for (auto [at, value] : edits) v[at] = value;
        EXPECT_EQ(refusedWith(v), -13) << edits[0].first;
    }
}

TEST(OwnFontFile, BodyMapsOntoTheRecord) {
    ScratchDir dir;
    Font font = buildFont(fontSource(32, 90, 16, 8));
    font.setName("A name that is longer than fifty-seven characters, so it is cut");
    const std::vector<u8> file = encodeFont(font);
    EXPECT_EQ(std::memcmp(file.data(), "RasterGfx Font File:", 21), 0);
    EXPECT_EQ(file.size(), font.record.size() + 198);
    writeBytes("Fonts/own.fnt", file);
    auto back = loadFont("FONTS\\OWN.FNT");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->record, font.record);
    EXPECT_EQ(std::strlen(back->name()), 57u);

    // A file too short to hold the record's header is refused.
    writeBytes("short.fnt", std::vector<u8>(file.begin(), file.begin() + 1000));
    EXPECT_FALSE(loadFont("short.fnt"));
    EXPECT_EQ(LastError(), -13);
}

TEST(Text, BitmapGlyphsStartOneRowBelowYAndAdvanceByWidth) {
    resetGfx();
    auto dc = currentMemoryContext(40, 20, 24);
    EXPECT_EQ(charWidth('A'), 0); // no font yet
    // 'A' is 3 wide, 'B' (the default character) 4; each a bar down its left column.
    const std::vector<u8> bar(5, 0x80);
    const Font font = buildFont({.name = "Bars",
                                 .height = 5,
                                 .ascent = 4,
                                 .firstChar = 'A',
                                 .lastChar = 'B',
                                 .defaultChar = 1,
                                 .glyphs = {{3, bar}, {4, bar}}});
    useFont(&font);
    EXPECT_EQ(dc->font, &font);
    setColorRGB(255, 255, 255);
    drawText(2, 4, "AAB");
    EXPECT_EQ(inkOf(*dc), barsAt({2, 5, 8}, 5, 9));
    EXPECT_EQ(textWidth("AAB"), 10);
    EXPECT_EQ(textWidth(""), 0);
    EXPECT_EQ(textWidth(nullptr), 0);

    // A code without a glyph draws and measures as the default character.
    clearDevice();
    drawText(0, 0,
             "Z\xE9"
             "A");
    EXPECT_EQ(inkOf(*dc), barsAt({0, 4, 8}, 1, 5));
    EXPECT_EQ(charWidth('Z'), 4);
    EXPECT_EQ(charWidth(0xE9), 4);

    const Font fixed = buildFont(fontSource(32, 126, 16, 8));
    useFont(&fixed);
    EXPECT_EQ(textWidth("FPS:"), 32);
    EXPECT_EQ(charWidth('i'), 8);
    resetGfx();
}

TEST(Text, TextAcrossTheRightEdgeLosesOnlyTheClippedPixels) {
    const Font font = buildFont(fontSource('A', 'A', 4, 8)); // every glyph row has ink
    std::unique_ptr<DeviceContext> dcs[2];
    for (i32 k : {0, 1}) {
        dcs[k] = currentMemoryContext(10 + 10 * k, 10, 24);
        useFont(&font);
        setColor(0xFFFFFF);
        drawText(6, 0, "A");
    }
    Pixels shown;
    for (auto [x, y] : inkOf(*dcs[1]))
        if (x < 10) shown.insert({x, y});
    EXPECT_FALSE(shown.empty());
    EXPECT_EQ(inkOf(*dcs[0]), shown);
    resetGfx();
}

TEST(Text, UseFontKeepsThePreviousFontForNullAndUnknownTypesAndType0DrawsNothing) {
    resetGfx();
    auto dc = currentMemoryContext(4, 4, 24);
    Font first = buildFont(fontSource('A', 'A', 4, 8)), odd = first, blank = first;
    odd.setFontType(4);
    blank.setFontType(0);
    useFont(&first);
    useFont(nullptr);
    EXPECT_EQ(dc->font, &first);
    EXPECT_EQ(LastError(), 0);
    useFont(&odd);
    EXPECT_EQ(LastError(), -12);
    EXPECT_EQ(dc->font, &first);
    useFont(&blank);
    EXPECT_EQ(dc->font, &blank);
    setColor(0xFFFFFF);
    drawText(0, 0, "AAAA");
    drawText(0, 0, nullptr);
    EXPECT_TRUE(inkOf(*dc).empty());
    resetGfx();
}

TEST(Text, GlyphsReachingPastTheRecordDrawNothing) {
    auto dc = currentMemoryContext(16, 16, 24);
    Font font = buildFont(fontSource('A', 'B', 4, 8));
    font.setGlyphOffset('A', static_cast<u16>(font.record.size() - Font::glyphImagesOffset - 2));
    font.setImageWidth('B', 255);
    useFont(&font);
    setColor(0xFFFFFF);
    drawText(0, 0, "AB");
    EXPECT_TRUE(inkOf(*dc).empty());
    resetGfx();
}

TEST(Text, VectorGlyphsFollowTheirStrokesUpFromTheBaseline) {
    auto dc = currentMemoryContext(20, 20, 24);
    Font font;
    font.setFontType(Font::vectorFont);
    font.setAscent(10);
    font.setWidth('L', 7);
    for (int c = 0; c < 256; ++c) font.setGlyphOffset(static_cast<u8>(c), Font::noGlyph);
    font.setGlyphOffset('L', 0);
    // A stroke command: bit 0 set, x in bits 1-7, bit 8 a move, y in bits 9-15.
    auto stroke = [](u32 x, u32 y, bool move) {
        return static_cast<i16>(1 | x << 1 | (move ? 0x100 : 0) | y << 9);
    };
    // Line to (5, 0), line to (5, 5), move to (0, 5), then the end of the list.
    const i16 strokes[] = {stroke(5, 0, false), stroke(5, 5, false), stroke(0, 5, true), 0};
    for (size_t i = 0; i < 4; ++i) font.set16(Font::strokeDataOffset + 2 * i, strokes[i]);
    useFont(&font);
    setColor(1);
    EXPECT_EQ(charWidth('L'), 7);
    drawText(1, 1, "LL");
    // Baseline at y = 11: a run from x 1 to 6, then up to y 6; the second glyph 7 further.
    Pixels expected = barsAt({6, 13}, 6, 11);
    for (i32 x : {1, 2, 3, 4, 5, 8, 9, 10, 11, 12}) expected.insert({x, 11});
    EXPECT_EQ(inkOf(*dc), expected);
    resetGfx();
}
