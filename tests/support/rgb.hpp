#pragma once
// One colour as the tests compare it, read from a 24-bit frame or bitmap.
#include "base/types.hpp"

#include <ostream>

struct Bitmap;
struct DeviceContext;

struct Rgb {
    u8 r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& colour);

// The colour of a packed 0x00RRGGBB value.
Rgb rgbOf(u32 value);
// The colour at (x, y) of a 24-bit context.
Rgb pixelAt(const DeviceContext& frame, i32 x, i32 y);
// The colour at (x, y) of a 24-bit bitmap (bytes blue, green, red).
Rgb pixelAt(const Bitmap& bitmap, i32 x, i32 y);
