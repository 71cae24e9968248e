// Text drawing: bitmap glyphs bit by bit, vector glyphs as strokes of lines.
#include "gfx/text.hpp"

#include "gfx/device_context.hpp"
#include "gfx/font.hpp"
#include "gfx/gfx_error.hpp"
#include "gfx/primitives.hpp"

#include <algorithm>
#include <cstring>

namespace {

const Font* currentFont() {
    return gfx::state.currentContext ? gfx::state.currentContext->font : nullptr;
}

i32 scaled(i32 value, i32 numerator, i32 denominator) {
    return denominator == 0 ? value : value * numerator / denominator;
}

// Draws one bitmap glyph with its top-left corner at viewport position (x, top).
// A glyph whose image would reach past the record draws nothing.
void drawGlyph(DeviceContext& dc, const Font& font, u8 code, i32 x, i32 top) {
    const i32 imageWidth = font.imageWidth(code);
    const i32 rows = font.fontHeight();
    if (imageWidth == 0 || rows <= 0) return;
    const size_t bytesPerRow = static_cast<size_t>(imageWidth + 7) / 8;
    const size_t start = Font::glyphImagesOffset + font.glyphOffset(code);
    if (start + bytesPerRow * static_cast<size_t>(rows) > font.record.size()) return;
    // The glyph's rows and columns inside the drawable rectangle, found once.
    const Rect b = drawableRect(dc);
    const i32 firstRow = static_cast<i32>(std::max<i64>(0, i64{b.top} - top));
    const i32 endRow = static_cast<i32>(std::min<i64>(rows, i64{b.bottom} - top));
    const i32 firstColumn = static_cast<i32>(std::max<i64>(0, i64{b.left} - x));
    const i32 endColumn = static_cast<i32>(std::min<i64>(imageWidth, i64{b.right} - x));
    if (firstRow >= endRow || firstColumn >= endColumn) return;
    const u8* image = font.record.data() + start + static_cast<size_t>(firstRow) * bytesPerRow;
    for (i32 r = firstRow; r < endRow; ++r, image += bytesPerRow) {
        const i32 y = top + r + dc.viewport.top;
        for (i32 i = firstColumn; i < endColumn; ++i)
            if (image[i >> 3] & (0x80 >> (i & 7))) storePixel(dc, x + i + dc.viewport.left, y, dc.color);
    }
}

void drawBitmapText(DeviceContext& dc, const Font& font, i32 x, i32 y, const u8* text) {
    const i32 top = y - (font.descent() + font.fontHeight() - 1 - font.ascent());
    for (; *text; ++text) {
        const u8 code = font.glyphCode(*text);
        drawGlyph(dc, font, code, x, top);
        x += font.width(code);
    }
}

// A stroke coordinate: a signed 7-bit value.
i32 strokeValue(u32 bits) {
    return bits & 0x40 ? static_cast<i32>(bits) - 128 : static_cast<i32>(bits);
}

void drawVectorText(DeviceContext& dc, const Font& font, i32 x, i32 y, const u8* text) {
    const TextSettings& t = dc.text;
    const i32 baseline = y + scaled(font.ascent(), t.sizeNumerY, t.sizeDenomY);
    for (; *text; ++text) {
        const u8 code = font.glyphCode(*text);
        i32 penX = x, penY = baseline;
        // Commands follow until one whose bit 0 is clear, or the record ends.
        for (size_t at = Font::strokeDataOffset + font.glyphOffset(code); at + 1 < font.record.size();
             at += 2) {
            const u32 command = static_cast<u16>(font.get16(at));
            if ((command & 1) == 0) break;
            const i32 px = x + scaled(strokeValue((command >> 1) & 0x7F), t.sizeNumerX, t.sizeDenomX);
            const i32 py = baseline - scaled(strokeValue((command >> 9) & 0x7F), t.sizeNumerY, t.sizeDenomY);
            if ((command & 0x100) == 0) drawLine(penX, penY, px, py);
            penX = px;
            penY = py;
        }
        x += charWidth(*text);
    }
}

} // namespace

void useFont(const Font* font) {
    if (!font || !gfx::state.currentContext) return;
    const i16 type = font->fontType();
    if (type < 0 || type > Font::proportionalFont) {
        setLastError(gfxInvalidFont);
        return;
    }
    gfx::state.currentContext->font = font;
    gfx::state.currentContext->text.direction = 2;
}

i32 charWidth(u8 c) {
    const Font* font = currentFont();
    if (!font) return 0;
    const TextSettings& t = gfx::state.currentContext->text;
    const u8 code = font->glyphCode(c);
    switch (font->fontType()) {
    case Font::proportionalFont: return font->width(code) + t.spaceExtra;
    case Font::fixedFont: return font->fontWidth();
    case Font::vectorFont: return scaled(font->width(code), t.sizeNumerX, t.sizeDenomX) + t.spaceExtra;
    default: return 0;
    }
}

i32 textWidth(const char* text) {
    const Font* font = currentFont();
    if (!font || !text) return 0;
    if (font->fontType() == Font::fixedFont) return static_cast<i32>(std::strlen(text)) * font->fontWidth();
    i32 width = 0;
    for (const u8* p = reinterpret_cast<const u8*>(text); *p; ++p) width += charWidth(*p);
    return width;
}

void drawText(i32 x, i32 y, const char* text) {
    const Font* font = currentFont();
    if (!font || !text) return;
    DeviceContext& dc = *gfx::state.currentContext;
    if (dc.text.horizJust == 1)
        x -= textWidth(text) / 2;
    else if (dc.text.horizJust == 2)
        x -= textWidth(text);
    const u8* bytes = reinterpret_cast<const u8*>(text);
    switch (font->fontType()) {
    case Font::fixedFont:
    case Font::proportionalFont: drawBitmapText(dc, *font, x, y, bytes); break;
    case Font::vectorFont: drawVectorText(dc, *font, x, y, bytes); break;
    default: break; // type 0 draws nothing
    }
}
