#pragma once
// The drawing primitives. Except where a context is passed they act on the current
// context. Coordinates are viewport coordinates; what falls outside the clip
// rectangle is silently dropped.
//
// The renderer calls setColorRGB and drawPixel once per pixel of the 3D view, so
// both are inline here and do no more than a few shifts, compares and stores.
#include "base/types.hpp"
#include "gfx/device_context.hpp"
#include "gfx/gfx_state.hpp"

#include <cassert>

// Colour value of the nearest palette entry; the slow half of packColor.
u32 nearestPaletteIndex(const DeviceContext& dc, u8 r, u8 g, u8 b);

// Stores a colour value at a device position that is known to be on the surface.
inline void storePixel(DeviceContext& dc, i32 deviceX, i32 deviceY, u32 value) {
    u8* p = dc.surface + static_cast<i64>(deviceY) * dc.bytesPerLine;
    switch (dc.bitsPerPixel) {
    case 24:
        p += 3 * deviceX;
        p[0] = static_cast<u8>(value);
        p[1] = static_cast<u8>(value >> 8);
        p[2] = static_cast<u8>(value >> 16);
        break;
    case 32:
        p += 4 * deviceX;
        p[0] = static_cast<u8>(value);
        p[1] = static_cast<u8>(value >> 8);
        p[2] = static_cast<u8>(value >> 16);
        p[3] = static_cast<u8>(value >> 24);
        break;
    case 15:
    case 16:
        p += 2 * deviceX;
        p[0] = static_cast<u8>(value);
        p[1] = static_cast<u8>(value >> 8);
        break;
    default: p[deviceX] = static_cast<u8>(value); break;
    }
}

// The colour value stored at a device position that is known to be on the surface.
inline u32 loadPixel(const DeviceContext& dc, i32 deviceX, i32 deviceY) {
    const u8* p = dc.surface + static_cast<i64>(deviceY) * dc.bytesPerLine;
    switch (dc.bitsPerPixel) {
    case 24: p += 3 * deviceX; return p[0] | p[1] << 8 | p[2] << 16;
    case 32: p += 4 * deviceX; return p[0] | p[1] << 8 | p[2] << 16 | static_cast<u32>(p[3]) << 24;
    case 15:
    case 16: p += 2 * deviceX; return p[0] | p[1] << 8;
    default: return p[deviceX];
    }
}

// True when viewport position (x, y) may be drawn: inside the clip rectangle with
// clipping on, else anywhere on the surface.
inline bool isDrawable(const DeviceContext& dc, i32 x, i32 y) {
    if (dc.clipping)
        return x >= dc.clipRect.left && x < dc.clipRect.right && y >= dc.clipRect.top &&
               y < dc.clipRect.bottom;
    const i64 dx = static_cast<i64>(x) + dc.viewport.left;
    const i64 dy = static_cast<i64>(y) + dc.viewport.top;
    return dx >= dc.deviceRect.left && dx < dc.deviceRect.right && dy >= dc.deviceRect.top &&
           dy < dc.deviceRect.bottom;
}

// The rectangle (viewport coordinates) that drawing may touch: the clip rectangle
// with clipping on, else the whole surface.
Rect drawableRect(const DeviceContext& dc);

// color = packColor(current context, r, g, b).
inline void setColorRGB(u8 r, u8 g, u8 b) {
    assert(gfx::state.currentContext);
    DeviceContext& dc = *gfx::state.currentContext;
    dc.color = dc.maxColor > 255 ? packRGB(dc.pixelFormat, r, g, b) : nearestPaletteIndex(dc, r, g, b);
}

// Sets pixel (x, y) to the current colour if it lies inside the clip rectangle.
inline void drawPixel(i32 x, i32 y) {
    assert(gfx::state.currentContext);
    DeviceContext& dc = *gfx::state.currentContext;
    if (!isDrawable(dc, x, y)) return;
    storePixel(dc, x + dc.viewport.left, y + dc.viewport.top, dc.color);
}

// The colour value at viewport position (x, y); 0 off the surface. For tests and tools.
u32 readPixel(const DeviceContext& dc, i32 x, i32 y);

// color = the packed colour.
void setColor(u32 color);

// color = colorTable[index] on contexts above 256 colours, else the index itself.
void setColorIndex(u32 index);

// backColor = the packed colour.
void setBackColor(u32 color);

// Fills the whole device rectangle with backColor; the clip rectangle does not apply.
void clearDevice();

// A line of the current colour from (x1, y1) to (x2, y2), both end points included,
// every pixel touching the previous one; clipped. Horizontal lines are drawn as runs
// (widened by the pen size).
void drawLine(i32 x1, i32 y1, i32 x2, i32 y2);

// Bracket a run of pixel writes; calls nest. The first begin locks the surface,
// the matching last end releases it.
void beginPixelAccess();
void endPixelAccess();
