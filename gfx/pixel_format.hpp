#pragma once
// How the channels of a packed pixel are laid out. A channel value is an 8-bit
// intensity shifted down by its adjust (dropping low bits), masked, then shifted
// up to its position.
#include "base/types.hpp"

struct PixelFormat {
    u32 redMask, greenMask, blueMask, rsvdMask; // channel masks after shifting down
    u32 redPos, redAdjust;                      // bit position of red; low bits dropped from 8-bit red
    u32 greenPos, greenAdjust;
    u32 bluePos, blueAdjust;
    u32 rsvdPos, rsvdAdjust;

    friend constexpr bool operator==(const PixelFormat&, const PixelFormat&) = default;
};

// The eight formats the layer knows.
inline constexpr PixelFormat pixelFormat555{31, 31, 31, 1, 10, 3, 5, 3, 0, 3, 15, 7};
inline constexpr PixelFormat pixelFormat565{31, 63, 31, 0, 11, 3, 5, 2, 0, 3, 0, 0};
inline constexpr PixelFormat pixelFormatRGB24{255, 255, 255, 0, 16, 0, 8, 0, 0, 0, 0, 0};
inline constexpr PixelFormat pixelFormatBGR24{255, 255, 255, 0, 0, 0, 8, 0, 16, 0, 0, 0};
inline constexpr PixelFormat pixelFormatARGB32{255, 255, 255, 255, 16, 0, 8, 0, 0, 0, 24, 0};
inline constexpr PixelFormat pixelFormatABGR32{255, 255, 255, 255, 0, 0, 8, 0, 16, 0, 24, 0};
inline constexpr PixelFormat pixelFormatRGBA32{255, 255, 255, 255, 24, 0, 16, 0, 8, 0, 0, 0};
inline constexpr PixelFormat pixelFormatBGRA32{255, 255, 255, 255, 8, 0, 16, 0, 24, 0, 0, 0};

// Packs an 8-bit colour; the reserved bits stay 0. For 24-bit RGB this is
// r * 65536 + g * 256 + b.
constexpr u32 packRGB(const PixelFormat& f, u32 r, u32 g, u32 b) {
    return ((r >> f.redAdjust) & f.redMask) << f.redPos | ((g >> f.greenAdjust) & f.greenMask) << f.greenPos |
           ((b >> f.blueAdjust) & f.blueMask) << f.bluePos;
}

// Widens a channel value of `mask` (31, 63, 255, ...) to 0..255 with rounding,
// so full intensity stays full: 31 -> 255, 16 -> 132.
constexpr u32 expandChannel(u32 value, u32 mask) {
    return mask == 0 ? 0 : (value * 255 + mask / 2) / mask;
}

// True when two formats put red, green and blue in the same places, so pixels
// of one can be copied unchanged into the other.
constexpr bool sameChannelLayout(const PixelFormat& a, const PixelFormat& b) {
    return a.redMask == b.redMask && a.greenMask == b.greenMask && a.blueMask == b.blueMask &&
           a.redPos == b.redPos && a.greenPos == b.greenPos && a.bluePos == b.bluePos;
}

// The format a context or bitmap of that depth gets when none is named:
// 15 -> 5:5:5, 16 -> 5:6:5, 24 -> RGB, 32 -> ARGB. Only for 15, 16, 24 and 32.
constexpr PixelFormat defaultPixelFormat(int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 15: return pixelFormat555;
    case 16: return pixelFormat565;
    case 32: return pixelFormatARGB32;
    default: return pixelFormatRGB24;
    }
}
