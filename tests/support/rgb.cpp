#include "tests/support/rgb.hpp"

#include "gfx/bitmap.hpp"
#include "gfx/device_context.hpp"
#include "gfx/primitives.hpp"

std::ostream& operator<<(std::ostream& out, const Rgb& colour) {
    return out << "(" << int{colour.r} << ", " << int{colour.g} << ", " << int{colour.b} << ")";
}

Rgb rgbOf(u32 value) {
    return {static_cast<u8>(value >> 16), static_cast<u8>(value >> 8), static_cast<u8>(value)};
}

Rgb pixelAt(const DeviceContext& frame, i32 x, i32 y) {
    return rgbOf(readPixel(frame, x, y));
}

Rgb pixelAt(const Bitmap& bitmap, i32 x, i32 y) {
    const u8* p = bitmap.row(y) + 3 * x;
    return {p[2], p[1], p[0]};
}
