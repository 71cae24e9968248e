#include "tests/content/run_directory.hpp"

#include "gfx/font.hpp"

#include <fstream>
#include <string>

namespace {

struct FontCase {
    const char* file;
    i16 type;       // 2 fixed width, 3 proportional
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
        {"Fonts\\Char16.fnt", Font::fixedFont, 16, true},
        {"Fonts\\Char16bi.fnt", Font::fixedFont, 16, true},
        {"Fonts\\Char30b.fnt", Font::proportionalFont, 30, true},
        {"Fonts\\Lucs27bi.fnt", Font::proportionalFont, 27, false},
        {"Fonts\\Lucs40bi.fnt", Font::proportionalFont, 40, false},
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
        if (f.type == Font::fixedFont) { EXPECT_EQ(font->fontWidth(), 8); }
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

} // namespace
