#include "tests/content/run_directory.hpp"

#include "gfx/font.hpp"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

struct FontCase {
    const char* file;
    i16 type;        // 2 fixed width, 3 proportional
    i16 height;      // rows of every glyph
    bool fntFormat;  // Windows 2.0 raster font, else the graphics layer's own
};
const FontCase fonts[] = {
    {"Fonts\\Char16.fnt", Font::fixedFont, 16, true},
    {"Fonts\\Char16bi.fnt", Font::fixedFont, 16, true},
    {"Fonts\\Char30b.fnt", Font::proportionalFont, 30, true},
    {"Fonts\\Lucs27bi.fnt", Font::proportionalFont, 27, false},
    {"Fonts\\Lucs40bi.fnt", Font::proportionalFont, 40, false},
};

bool startsWithSignature(const char* file) {
    std::string path = file;
    for (char& c : path) c = c == '\\' ? '/' : c;
    std::ifstream in(path, std::ios::binary);
    char head[21] = {};
    in.read(head, sizeof head);
    return std::string(head, 20) == fontFileSignature;
}

using FontContent = InRunDirectory;

TEST_F(FontContent, EveryFontLoadsInItsFormatWithItsSize) {
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
            EXPECT_EQ(font->fontWidth(), 8);
        }
        for (int c = 32; c <= 126; ++c) {
            EXPECT_NE(font->glyphOffset(static_cast<u8>(c)), Font::noGlyph) << c;
            // The raster format's converter takes at most 512 bytes per glyph.
            EXPECT_LE((font->imageWidth(static_cast<u8>(c)) + 7) / 8 * f.height, 512) << c;
        }
        // Codes without a glyph show the default character.
        EXPECT_EQ(font->glyphCode(200), 0);
        EXPECT_GT(font->width(0), 0);
    }
}

// Every printable character has ink (a blank glyph would be a broken raster),
// and the space has none.
TEST_F(FontContent, PrintableGlyphsHaveInkAndTheSpaceHasNone) {
    for (const FontCase& f : fonts) {
        SCOPED_TRACE(f.file);
        const auto font = loadFont(f.file);
        ASSERT_NE(font, nullptr);
        for (int c = 32; c <= 126; ++c) {
            const u8 code = static_cast<u8>(c);
            const size_t bytes = (font->imageWidth(code) + 7) / 8 * static_cast<size_t>(f.height);
            const size_t start = Font::glyphImagesOffset + font->glyphOffset(code);
            ASSERT_LE(start + bytes, font->record.size());
            int ink = 0;
            for (size_t i = 0; i < bytes; ++i) ink += font->record[start + i] != 0;
            if (c == ' ') {
                EXPECT_EQ(ink, 0);
            } else {
                EXPECT_GT(ink, 0) << "'" << static_cast<char>(c) << "'";
            }
        }
    }
}

} // namespace
