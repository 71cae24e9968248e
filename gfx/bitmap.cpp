#include "gfx/bitmap.hpp"

i64 bitmapBytesPerLine(i64 width, i32 bitsPerPixel) {
    const i64 bits = bitsPerPixel == 15 ? 16 : bitsPerPixel;
    return (width * bits + 31) / 32 * 4;
}

Bitmap makeBitmap(i32 width, i32 height, i32 bitsPerPixel, const PixelFormat* format) {
    Bitmap b;
    b.width = width;
    b.height = height;
    b.bitsPerPixel = bitsPerPixel;
    b.bytesPerLine = static_cast<i32>(bitmapBytesPerLine(width, bitsPerPixel));
    b.pixels.assign(static_cast<size_t>(b.bytesPerLine) * static_cast<size_t>(height), 0);
    if (bitsPerPixel > 8) b.pixelFormat = format ? *format : defaultPixelFormat(bitsPerPixel);
    return b;
}
