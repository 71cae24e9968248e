#include "gfx/font.hpp"
#include "gfx/font_writer.hpp"
#include "gfx/gfx_error.hpp"
#include "gfx/primitives.hpp"
#include "gfx/text.hpp"

#include "base/fatal.hpp"
#include "gfx_test_support.hpp"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Glyphs for codes first..last, each `width` wide (or code-dependent when
// proportional), ink in a pattern that tells rows and columns apart.
RasterFontSource fontSource(u8 first, u8 last, i32 height, i32 fixedWidth) {
    RasterFontSource s;
    s.name = "Test Face";
    s.pixelWidth = fixedWidth;
    s.height = height;
    s.ascent = height - 2;
    s.externalLeading = 1;
    s.firstChar = first;
    s.lastChar = last;
    for (int c = first; c <= last; ++c) {
        GlyphImage g;
        g.width = fixedWidth ? fixedWidth : 1 + c % 12;
        const i32 b = (g.width + 7) / 8;
        for (i32 r = 0; r < height; ++r)
            for (i32 i = 0; i < b; ++i) g.rows.push_back(static_cast<u8>(c + 16 * r + 5 * i));
        s.glyphs.push_back(g);
    }
    return s;
}

// A glyph of one column of ink at its left edge, for drawing tests.
RasterFontSource barFont(i32 width, i32 height) {
    RasterFontSource s;
    s.name = "Bars";
    s.height = height;
    s.ascent = height - 1;
    s.firstChar = 'A';
    s.lastChar = 'B';
    s.defaultChar = 1; // 'B'
    for (i32 k = 0; k < 2; ++k) {
        GlyphImage g;
        g.width = width + k;
        g.rows.assign(static_cast<size_t>((g.width + 7) / 8 * height), 0);
        for (i32 r = 0; r < height; ++r) g.rows[static_cast<size_t>(r * ((g.width + 7) / 8))] = 0x80;
        s.glyphs.push_back(g);
    }
    return s;
}

std::unique_ptr<Font> loadBytes(const std::vector<u8>& bytes) {
    writeBytes("font.fnt", bytes);
    return loadFont("font.fnt");
}

u32 strokeCommand(i32 x, i32 y, bool move) {
    return 1u | (static_cast<u32>(x) & 0x7F) << 1 | (move ? 0x100u : 0u) | (static_cast<u32>(y) & 0x7F) << 9;
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
        EXPECT_EQ(font->fontHeight(), 20);
        EXPECT_EQ(font->ascent(), 18);
        EXPECT_EQ(font->descent(), -2);
        EXPECT_EQ(font->leading(), 1);
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
    EXPECT_EQ(std::memcmp(narrowFont->record.data() + Font::glyphImagesOffset, narrow.glyphs[0].rows.data(), 20), 0);
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
    auto refusedWith = [](std::vector<u8> bytes) {
        const bool loaded = loadBytes(bytes) != nullptr;
        return loaded ? 1 : LastError();
    };
    std::vector<u8> v = good;
    v[1] = 3; // version 3.0
    EXPECT_EQ(refusedWith(v), -26);
    EXPECT_EQ(refusedWith(std::vector<u8>(good.begin(), good.begin() + 117)), -13);
    v = good;
    v[66] = 1; // a vector font
    EXPECT_EQ(refusedWith(v), -13);
    v = good;
    v[96] = 'A' - 1; // last below first
    EXPECT_EQ(refusedWith(v), -13);
    v = good;
    v[96] = 255; // a table past the end of the file
    EXPECT_EQ(refusedWith(v), -13);
    v = good;
    v[97] = 3; // default character outside the range
    EXPECT_EQ(refusedWith(v), -13);
    v = good;
    v[88] = 0; // no rows
    EXPECT_EQ(refusedWith(v), -13);
    v = good;
    v[118 + 2 * 4 + 2] += 4; // third glyph reaches past the bits block
    EXPECT_EQ(refusedWith(v), -13);
    v = good;
    v[118 + 2 * 4] = 249; // too wide for its image width byte
    EXPECT_EQ(refusedWith(v), -13);
    v = good;
    v[105] = 0xFF; // face name beyond the file
    v[106] = 0xFF;
    EXPECT_EQ(refusedWith(v), -13);
    EXPECT_EQ(refusedWith({}), -13);
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
    ScratchDir dir;
    auto dc = currentMemoryContext(40, 20, 24);
    const Font font = buildFont(barFont(3, 5));
    useFont(&font);
    EXPECT_EQ(dc->font, &font);
    setColorRGB(255, 255, 255);
    drawText(2, 4, "AAB");
    // Bars at x = 2, 5, 8 (advances 3, 3), rows 5..9.
    for (i32 x = 0; x < 20; ++x)
        for (i32 y = 0; y < 20; ++y) {
            const bool ink = (x == 2 || x == 5 || x == 8) && y >= 5 && y <= 9;
            ASSERT_EQ(readPixel(*dc, x, y) != 0, ink) << x << ',' << y;
        }
    EXPECT_EQ(textWidth("AAB"), 10);
    EXPECT_EQ(textWidth(""), 0);
    EXPECT_EQ(textWidth(nullptr), 0);

    // A code without a glyph draws and measures as the default character 'B' (4 wide).
    setBackColor(0);
    clearDevice();
    drawText(0, 0, "Z\xE9" "A");
    EXPECT_NE(readPixel(*dc, 0, 1), 0u);
    EXPECT_NE(readPixel(*dc, 4, 1), 0u);
    EXPECT_NE(readPixel(*dc, 8, 1), 0u);
    EXPECT_EQ(charWidth('Z'), 4);
    EXPECT_EQ(charWidth(0xE9), 4);
    resetGfx();
}

TEST(Text, TextAcrossTheRightEdgeLosesOnlyTheClippedPixels) {
    auto dc = currentMemoryContext(10, 10, 24);
    const Font font = buildFont(fontSource('A', 'A', 4, 8)); // every glyph row has ink
    useFont(&font);
    setColor(0xFFFFFF);
    drawText(6, 0, "A");
    auto wide = createMemoryContext(20, 10, 24);
    makeCurrentContext(wide.get());
    useFont(&font);
    setColor(0xFFFFFF);
    drawText(6, 0, "A");
    for (i32 y = 0; y < 10; ++y)
        for (i32 x = 0; x < 10; ++x) ASSERT_EQ(readPixel(*dc, x, y), readPixel(*wide, x, y)) << x << ',' << y;
    resetGfx();
}

TEST(Text, FixedWidthMeasuresLengthTimesWidth) {
    auto dc = currentMemoryContext(4, 4, 24);
    EXPECT_EQ(charWidth('A'), 0); // no font yet
    const Font font = buildFont(fontSource(32, 126, 16, 8));
    useFont(&font);
    EXPECT_EQ(textWidth("FPS:"), 32);
    EXPECT_EQ(charWidth('i'), 8);
    resetGfx();
}

TEST(Text, UseFontKeepsThePreviousFontForNullAndRefusesUnknownTypes) {
    resetGfx();
    auto dc = currentMemoryContext(4, 4, 24);
    const Font first = buildFont(fontSource('A', 'A', 4, 8));
    useFont(&first);
    dc->text.direction = 0;
    useFont(nullptr);
    EXPECT_EQ(dc->font, &first);
    EXPECT_EQ(LastError(), 0);
    Font odd = first;
    odd.setFontType(4);
    useFont(&odd);
    EXPECT_EQ(LastError(), -12);
    EXPECT_EQ(dc->font, &first);
    EXPECT_EQ(dc->text.direction, 0);
    Font blank = first;
    blank.setFontType(0); // accepted, draws nothing
    useFont(&blank);
    EXPECT_EQ(dc->font, &blank);
    EXPECT_EQ(dc->text.direction, 2);
    setColor(0xFFFFFF);
    drawText(0, 0, "AAAA");
    drawText(0, 0, nullptr);
    for (u8 b : dc->ownedSurface) ASSERT_EQ(b, 0);
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
    for (u8 b : dc->ownedSurface) ASSERT_EQ(b, 0);
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
    // Line to (5, 0), line to (5, 5), move to (0, 5), then the end of the list.
    const u32 strokes[] = {strokeCommand(5, 0, false), strokeCommand(5, 5, false), strokeCommand(0, 5, true), 0};
    for (size_t i = 0; i < 4; ++i) font.set16(Font::strokeDataOffset + 2 * i, static_cast<i16>(strokes[i]));
    useFont(&font);
    setColor(1);
    EXPECT_EQ(charWidth('L'), 7);
    drawText(1, 1, "LL");
    // Baseline at y = 11: a run from x 1 to 6, then up to y 6; the second glyph 7 further.
    std::set<std::pair<i32, i32>> ink;
    for (i32 y = 0; y < 20; ++y)
        for (i32 x = 0; x < 20; ++x)
            if (readPixel(*dc, x, y)) ink.insert({x, y});
    std::set<std::pair<i32, i32>> expected;
    for (i32 origin : {1, 8}) {
        for (i32 x = origin; x <= origin + 5; ++x) expected.insert({x, 11});
        for (i32 y = 6; y <= 11; ++y) expected.insert({origin + 5, y});
    }
    EXPECT_EQ(ink, expected);
    resetGfx();
}
