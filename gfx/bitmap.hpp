#pragma once
// A picture loaded from a BMP file, and its drawing into a device context.
// Rows are stored top row first whatever their order in the file.
#include "base/types.hpp"
#include "gfx/device_context.hpp"
#include "gfx/pixel_format.hpp"

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

struct Bitmap {
    i32 width = 0;                          // pixels per row
    i32 height = 0;                         // number of rows
    i32 bitsPerPixel = 0;                   // 1, 4, 8, 15, 16, 24 or 32 (15 for 5:5:5 pixels)
    i32 bytesPerLine = 0;                   // bytes per row, a multiple of 4
    std::vector<u8> pixels;                 // height rows of bytesPerLine bytes, top row first
    std::vector<PaletteEntry> palette;      // indexed bitmaps whose palette was loaded; else empty
    std::optional<PixelFormat> pixelFormat; // bitmaps above 8 bits per pixel

    u8* row(i32 y) { return pixels.data() + static_cast<size_t>(y) * bytesPerLine; }
    const u8* row(i32 y) const { return pixels.data() + static_cast<size_t>(y) * bytesPerLine; }
};

// The bytes a row of `width` pixels takes at `bitsPerPixel` (15 counts as 16),
// rounded up to a multiple of 4.
i64 bitmapBytesPerLine(i64 width, i32 bitsPerPixel);

// A zero-filled bitmap of that size and depth (above 8 bits with `format`, or the
// depth's standard one); indexed bitmaps get no palette. For tools and tests.
Bitmap makeBitmap(i32 width, i32 height, i32 bitsPerPixel, const PixelFormat* format = nullptr);

// Loads a BMP file, looked for as the name itself, then under the library root and
// "RGL_ROOT" in "BITMAPS\". With loadPalette 0 indexed bitmaps come without palette.
// Null with the last error set: -23 not found, -22 not a bitmap the layer reads,
// -10 no memory.
std::unique_ptr<Bitmap> loadBitmap(std::string_view name, int loadPalette);

// Write modes of putBitmap. Only replacing is supported; other modes draw as replace.
constexpr int writeReplace = 0;

// Copies the bitmap with its top-left corner at viewport position (x, y), clipped,
// converting its pixels to the context's format. A 1-bit bitmap draws its set bits
// in the current colour and leaves the rest. A null bitmap draws nothing.
void putBitmap(DeviceContext& dc, i32 x, i32 y, const Bitmap* bitmap, int writeMode);

// As putBitmap, but the bitmap's pixels equal to `transparent` (its own pixel value)
// are left out. Only for bitmaps of 8 bits per pixel or more and of the context's
// depth; any other is not drawn and sets error -16. `sourceFlag` 1 (the only form
// used) compares the bitmap's pixels.
void putBitmapTransparent(DeviceContext& dc, i32 x, i32 y, const Bitmap* bitmap, u32 transparent,
                          int sourceFlag);

// A bitmap drawn with one colour transparent, as the runs of its other pixels:
// found once when the bitmap is loaded, then drawn a row copy per run instead
// of a compare per pixel.
struct OpaqueRun {
    i32 row = 0;   // bitmap row
    i32 first = 0; // first column of the run
    i32 count = 0; // pixels in the run
};
struct OpaqueRuns {
    const Bitmap* bitmap = nullptr;
    u32 transparent = 0;         // the bitmap's own pixel value left out
    std::vector<OpaqueRun> runs; // row by row, left to right
};

// The runs of the bitmap's pixels that are not `transparent`. Bitmaps below 8
// bits per pixel have none (putBitmapTransparent does not draw them).
OpaqueRuns findOpaqueRuns(const Bitmap& bitmap, u32 transparent);

// Exactly putBitmapTransparent(dc, x, y, runs.bitmap, runs.transparent, 1).
void putOpaqueRuns(DeviceContext& dc, i32 x, i32 y, const OpaqueRuns& runs);
