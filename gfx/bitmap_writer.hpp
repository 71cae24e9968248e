#pragma once
// Writes BMP files the layer's loader reads: the tools make the game's pictures
// with it and tests make their fixtures.
#include "base/types.hpp"
#include "gfx/bitmap.hpp"
#include "gfx/device_context.hpp"

#include <string>
#include <vector>

// Writes a bitmap uncompressed and bottom-up: 24 bits per pixel as blue, green, red
// (the pixels are converted when the bitmap's format is not 24-bit RGB), or 8 bits
// per pixel with its palette (256 black entries when it has none). False for other
// depths and when the file cannot be written.
bool saveBitmap(const std::string& path, const Bitmap& bitmap);

// The BMP file saveBitmap would write, as bytes.
std::vector<u8> encodeBitmap(const Bitmap& bitmap);

// Writes width x height pixels of bytes red, green, blue, alpha (rows packed, top
// row first) as a bottom-up 32-bit BMP of blue, green, red, alpha: the window's
// icon, which keeps its transparency. False when the file cannot be written.
bool saveRgbaBitmap(const std::string& path, const u8* rgba, i32 width, i32 height);

// Writes what a 24-bit context shows (its device rectangle) as a 24-bit BMP:
// screenshots of frames drawn in memory.
bool saveContextBitmap(const std::string& path, const DeviceContext& dc);
