#include "tests/support/world_run.hpp"

#include "gfx/font.hpp"
#include "gfx/text.hpp"

#include <fstream>
#include <string>

namespace {

struct FontCase {
    const char* file;
    i16 type;       // 2 fixed width, 3 proportional
    i16 width;      // fixed width, 0 for proportional fonts
    i16 height;     // rows of every glyph
    bool fntFormat; // Windows 2.0 raster font, else the graphics layer's own
};

bool startsWithSignature(std::string path) {
    for (char& c : path) c = c == '\\' ? '/' : c;
    std::ifstream in(path, std::ios::binary);
    char head[20] = {};
    in.read(head, sizeof head);
    return std::string(head, 20) == fontFileSignature;
}

using FontContent = InRunDirectory;

// Every printable character has ink (a blank glyph would be a broken raster);
// the space has none.
TEST_F(FontContent, EveryFontLoadsInItsFormatWithItsSizeAndInkedGlyphs) {
    const FontCase fonts[] = {
        {"Fonts\\Char16.fnt", Font::fixedFont, 8, 16, true},
        {"Fonts\\Char16bi.fnt", Font::fixedFont, 7, 16, true},
        {"Fonts\\Char30b.fnt", Font::proportionalFont, 0, 30, true},
        {"Fonts\\Lucs27bi.fnt", Font::proportionalFont, 0, 27, false},
        {"Fonts\\Lucs40bi.fnt", Font::proportionalFont, 0, 40, false},
    };
    for (const FontCase& f : fonts) {
        SCOPED_TRACE(f.file);
        EXPECT_EQ(startsWithSignature(f.file), !f.fntFormat);
        const auto font = loadFont(f.file);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->fontType(), f.type);
        EXPECT_EQ(font->fontHeight(), f.height);
        EXPECT_GT(font->ascent(), f.height / 2);
        EXPECT_LE(font->ascent(), f.height);
        if (f.type == Font::fixedFont) {
            EXPECT_EQ(font->fontWidth(), f.width);
        }
        // Codes without a glyph show the default character.
        EXPECT_EQ(font->glyphCode(200), 0);
        EXPECT_GT(font->width(0), 0);
        for (int c = 32; c <= 126; ++c) {
            const u8 code = static_cast<u8>(c);
            ASSERT_NE(font->glyphOffset(code), Font::noGlyph) << c;
            const size_t bytes = (font->imageWidth(code) + 7) / 8 * static_cast<size_t>(f.height);
            EXPECT_LE(bytes, 512u) << c; // the raster converter's limit per glyph
            const size_t start = Font::glyphImagesOffset + font->glyphOffset(code);
            ASSERT_LE(start + bytes, font->record.size());
            int ink = 0;
            for (size_t i = 0; i < bytes; ++i) ink += font->record[start + i] != 0;
            EXPECT_EQ(ink > 0, c != ' ') << "'" << static_cast<char>(c) << "'";
        }
    }
}

// The HUD font's labels stand 11 rows above the bottom edge, and the winner
// screen's farewell is drawn from x 6 to 8 on a 320-pixel screen: both must show
// every pixel of their letters.
TEST_F(FontContent, HudFontFitsTheBottomLabelsAndTheFarewellAt320) {
    const auto font = loadFont("Fonts\\Char16bi.fnt");
    ASSERT_NE(font, nullptr);
    for (int c = 33; c <= 126; ++c) {
        const u8 code = static_cast<u8>(c);
        const size_t bytesPerRow = (font->imageWidth(code) + 7) / 8;
        const size_t start = Font::glyphImagesOffset + font->glyphOffset(code);
        for (size_t row = 12; row < static_cast<size_t>(font->fontHeight()); ++row)
            for (size_t i = 0; i < bytesPerRow; ++i)
                EXPECT_EQ(font->record[start + row * bytesPerRow + i], 0)
                    << "'" << static_cast<char>(c) << "' row " << row;
    }
    useFont(font.get());
    EXPECT_LE(8 + textWidth("Hope you enjoyed the game! See you next time!"), 320);
}

} // namespace
