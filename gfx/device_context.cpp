#include "gfx/device_context.hpp"

#include "gfx/gfx_error.hpp"
#include "gfx/gfx_state.hpp"
#include "gfx/primitives.hpp"

#include <algorithm>
#include <new>

namespace {

Palette makeDefaultPalette() {
    Palette p{};
    auto set = [&p](int i, int r, int g, int b) {
        p[i] = PaletteEntry{static_cast<u8>(b), static_cast<u8>(g), static_cast<u8>(r), 0};
    };
    // The sixteen classic colours: dark ones at 170, bright ones adding 85.
    constexpr int classic[16][3] = {
        {0, 0, 0},     {0, 0, 170},     {0, 170, 0},    {0, 170, 170},   {170, 0, 0},   {170, 0, 170},
        {170, 85, 0},  {170, 170, 170}, {85, 85, 85},   {85, 85, 255},   {85, 255, 85}, {85, 255, 255},
        {255, 85, 85}, {255, 85, 255},  {255, 255, 85}, {255, 255, 255},
    };
    for (int i = 0; i < 16; ++i) set(i, classic[i][0], classic[i][1], classic[i][2]);
    constexpr int level[6] = {0, 95, 135, 175, 215, 255};
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) set(16 + 36 * r + 6 * g + b, level[r], level[g], level[b]);
    for (int i = 0; i < 24; ++i) set(232 + i, 8 + 10 * i, 8 + 10 * i, 8 + 10 * i);
    return p;
}

// True when every channel of `f` fits in a pixel of that depth.
bool formatFits(const PixelFormat& f, i32 bitsPerPixel) {
    const u64 storageBits = bitsPerPixel == 15 ? 16 : static_cast<u64>(bitsPerPixel);
    auto fits = [storageBits](u32 mask, u32 pos) {
        return pos < 32 && (static_cast<u64>(mask) << pos) < (u64{1} << storageBits);
    };
    return f.redMask && f.greenMask && f.blueMask && f.redMask <= 255 && f.greenMask <= 255 &&
           f.blueMask <= 255 && f.redAdjust < 8 && f.greenAdjust < 8 && f.blueAdjust < 8 &&
           fits(f.redMask, f.redPos) && fits(f.greenMask, f.greenPos) && fits(f.blueMask, f.bluePos) &&
           fits(f.rsvdMask, f.rsvdPos);
}

bool depthSupported(i32 bitsPerPixel) {
    return bitsPerPixel == 8 || bitsPerPixel == 15 || bitsPerPixel == 16 || bitsPerPixel == 24 ||
           bitsPerPixel == 32;
}

i64 rowBytes(i32 width, i32 bitsPerPixel) {
    return static_cast<i64>(width) * (bitsPerPixel == 15 ? 16 : bitsPerPixel) / 8;
}

void refreshColorTable(DeviceContext& dc) {
    for (size_t i = 0; i < dc.palette.size(); ++i) {
        const PaletteEntry& e = dc.palette[i];
        dc.colorTable[i] =
            dc.maxColor > 255 ? packRGB(dc.pixelFormat, e.red, e.green, e.blue) : static_cast<u32>(i);
    }
}

// Sets up everything but the surface; null (with the error set) for what cannot be drawn.
std::unique_ptr<DeviceContext> newContext(i32 width, i32 height, i32 bitsPerPixel,
                                          const PixelFormat* format) {
    if (!depthSupported(bitsPerPixel)) {
        setLastError(gfxInvalidMemoryFormat);
        return nullptr;
    }
    const PixelFormat pf = format ? *format : defaultPixelFormat(bitsPerPixel);
    if (bitsPerPixel > 8 && !formatFits(pf, bitsPerPixel)) {
        setLastError(gfxInvalidMemoryFormat);
        return nullptr;
    }
    if (width <= 0 || height <= 0 || width > maxContextSide || height > maxContextSide) {
        setLastError(gfxInvalidContext);
        return nullptr;
    }
    auto dc = std::make_unique<DeviceContext>();
    dc->bitsPerPixel = bitsPerPixel;
    dc->maxColor = bitsPerPixel == 32 ? 0xFFFFFFFFu : (u32{1} << bitsPerPixel) - 1;
    if (bitsPerPixel > 8) dc->pixelFormat = pf;
    dc->palette = defaultPalette();
    refreshColorTable(*dc);
    dc->deviceRect = Rect{0, 0, width, height};
    dc->viewport = dc->deviceRect;
    dc->clipRect = dc->deviceRect;
    return dc;
}

} // namespace

const Palette& defaultPalette() {
    static const Palette palette = makeDefaultPalette();
    return palette;
}

std::unique_ptr<DeviceContext> createMemoryContext(i32 width, i32 height, i32 bitsPerPixel,
                                                   const PixelFormat* format) {
    auto dc = newContext(width, height, bitsPerPixel, format);
    if (!dc) return nullptr;
    const i64 pitch = (rowBytes(width, bitsPerPixel) + 3) & ~i64{3};
    try {
        dc->ownedSurface.assign(static_cast<size_t>(pitch * height), 0);
    } catch (const std::bad_alloc&) {
        setLastError(gfxNoMemory);
        return nullptr;
    }
    dc->surface = dc->ownedSurface.data();
    dc->bytesPerLine = static_cast<i32>(pitch);
    return dc;
}

std::unique_ptr<DeviceContext> createContextOver(u8* surface, i32 width, i32 height, i32 bytesPerLine,
                                                 i32 bitsPerPixel, const PixelFormat* format) {
    auto dc = newContext(width, height, bitsPerPixel, format);
    if (!dc) return nullptr;
    if (!surface || bytesPerLine < rowBytes(width, bitsPerPixel)) {
        setLastError(gfxInvalidContext);
        return nullptr;
    }
    dc->surface = surface;
    dc->bytesPerLine = bytesPerLine;
    return dc;
}

void makeCurrentContext(DeviceContext* dc) {
    gfx::state.currentContext = dc;
}

i32 getMaxX(const DeviceContext& dc) {
    return dc.deviceRect.right - dc.deviceRect.left - 1;
}

i32 getMaxY(const DeviceContext& dc) {
    return dc.deviceRect.bottom - dc.deviceRect.top - 1;
}

u32 packColor(const DeviceContext& dc, u8 r, u8 g, u8 b) {
    return dc.maxColor > 255 ? packRGB(dc.pixelFormat, r, g, b) : nearestPaletteIndex(dc, r, g, b);
}

u32 nearestPaletteIndex(const DeviceContext& dc, u8 r, u8 g, u8 b) {
    auto distance = [r, g, b](const PaletteEntry& e) {
        auto d = [](int x, int y) { return x > y ? x - y : y - x; };
        return d(r, e.red) + d(g, e.green) + d(b, e.blue);
    };
    const u32 last = dc.maxColor < 255 ? dc.maxColor : 255;
    u32 best = 0;
    int bestDistance = distance(dc.palette[0]);
    for (u32 i = 1; i <= last && bestDistance > 0; ++i) {
        const int d = distance(dc.palette[i]);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

void setPalette(DeviceContext& dc, const PaletteEntry* entries, i32 count, i32 first) {
    for (i32 i = 0; i < count; ++i) {
        const i64 at = static_cast<i64>(first) + i;
        if (at < 0) continue;
        if (at >= static_cast<i64>(dc.palette.size())) break;
        dc.palette[static_cast<size_t>(at)] = entries[i];
    }
    refreshColorTable(dc);
}

void setViewport(DeviceContext& dc, const Rect& viewport) {
    dc.viewport = viewport;
    setClipRect(dc, Rect{0, 0, viewport.right - viewport.left, viewport.bottom - viewport.top});
}

void setClipRect(DeviceContext& dc, const Rect& clip) {
    // In viewport coordinates, the surface spans deviceRect shifted by the viewport origin.
    const Rect& d = dc.deviceRect;
    const Rect& v = dc.viewport;
    auto clamp = [](i32 value, i32 lo, i32 hi) { return value < lo ? lo : value > hi ? hi : value; };
    const i32 left = std::max(d.left, v.left) - v.left;
    const i32 top = std::max(d.top, v.top) - v.top;
    const i32 right = std::min(d.right, v.right) - v.left;
    const i32 bottom = std::min(d.bottom, v.bottom) - v.top;
    Rect r{clamp(clip.left, left, right), clamp(clip.top, top, bottom), clamp(clip.right, left, right),
           clamp(clip.bottom, top, bottom)};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    dc.clipRect = r;
}
