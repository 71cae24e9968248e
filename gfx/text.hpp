#pragma once
// Text in the current context's font and colour. Glyph pixels between the strokes
// are left untouched, so text can be drawn over pictures.
#include "base/types.hpp"

struct Font;

// Makes `font` the current context's font and sets the direction to right. Null:
// nothing happens. A font type outside 0..3: error -12, font unchanged.
void useFont(const Font* font);

// Draws a NUL-terminated string at viewport position (x, y) (the top of the text
// with the default settings). Null text or no font draws nothing.
void drawText(i32 x, i32 y, const char* text);

// The advance of one character code in the current font; 0 without a font.
i32 charWidth(u8 c);

// The sum of the advances of a string; 0 for null or empty text.
i32 textWidth(const char* text);
