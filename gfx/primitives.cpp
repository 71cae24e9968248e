#include "gfx/primitives.hpp"

#include <algorithm>
#include <cstring>

namespace {

// Pixels x1..x2 (inclusive) of row y, already clipped.
void fillRun(DeviceContext& dc, i32 x1, i32 x2, i32 y, u32 value) {
    const i32 dy = y + dc.viewport.top;
    for (i32 x = x1 + dc.viewport.left, end = x2 + dc.viewport.left; x <= end; ++x)
        storePixel(dc, x, dy, value);
}

void drawHorizontal(DeviceContext& dc, i32 x1, i32 x2, i32 y) {
    const Rect b = drawableRect(dc);
    const i64 right = std::min<i64>(static_cast<i64>(x2) + dc.penWidth, b.right - 1);
    const i64 left = std::max<i64>(x1, b.left);
    if (left > right) return;
    const i64 bottom = std::min<i64>(static_cast<i64>(y) + dc.penHeight, b.bottom - 1);
    for (i64 row = std::max<i64>(y, b.top); row <= bottom; ++row)
        fillRun(dc, static_cast<i32>(left), static_cast<i32>(right), static_cast<i32>(row), dc.color);
}

// A line stepped along its major axis: at step k the minor coordinate has moved by
// round(k * minorSpan / majorSpan), halves rounded up, so both end points are hit
// exactly and each step moves the minor coordinate by at most one pixel. The steps
// outside the clip rectangle along the major axis are skipped without visiting them.
void drawSloped(DeviceContext& dc, i32 x1, i32 y1, i32 x2, i32 y2) {
    const Rect b = drawableRect(dc);
    const i64 dx = static_cast<i64>(x2) - x1; // >= 0: the ends are ordered by x
    const i64 dy = static_cast<i64>(y2) - y1;
    const i64 ady = dy < 0 ? -dy : dy;
    const bool xMajor = dx >= ady;
    const i64 majorSpan = xMajor ? dx : ady;
    const i64 minorSpan = xMajor ? ady : dx;
    const i64 ySign = dy < 0 ? -1 : 1;

    // Steps whose major coordinate lies inside the bounds.
    i64 kLo = 0, kHi = majorSpan;
    if (xMajor) {
        kLo = std::max<i64>(kLo, b.left - static_cast<i64>(x1));
        kHi = std::min<i64>(kHi, b.right - 1 - static_cast<i64>(x1));
    } else if (ySign > 0) {
        kLo = std::max<i64>(kLo, b.top - static_cast<i64>(y1));
        kHi = std::min<i64>(kHi, b.bottom - 1 - static_cast<i64>(y1));
    } else {
        kLo = std::max<i64>(kLo, static_cast<i64>(y1) - (b.bottom - 1));
        kHi = std::min<i64>(kHi, static_cast<i64>(y1) - b.top);
    }
    if (kLo > kHi) return;

    const u32 color = dc.color;
    if (dx == 0) {
        // A vertical line (the HUD's bars): its column is checked once, and the
        // steps kept above lie inside the rows.
        if (x1 < b.left || x1 >= b.right) return;
        for (i64 k = kLo; k <= kHi; ++k)
            storePixel(dc, x1 + dc.viewport.left, static_cast<i32>(y1 + ySign * k) + dc.viewport.top, color);
        return;
    }

    // minor offset at step k = floor((2 k minorSpan + majorSpan) / (2 majorSpan)).
    const i64 denominator = 2 * majorSpan;
    const __int128 start = static_cast<__int128>(2) * kLo * minorSpan + majorSpan;
    i64 quotient = static_cast<i64>(start / denominator);
    i64 remainder = static_cast<i64>(start % denominator);
    const i64 step = 2 * minorSpan;

    for (i64 k = kLo; k <= kHi; ++k) {
        const i64 x = xMajor ? x1 + k : x1 + quotient;
        const i64 y = xMajor ? y1 + ySign * quotient : y1 + ySign * k;
        if (x >= b.left && x < b.right && y >= b.top && y < b.bottom)
            storePixel(dc, static_cast<i32>(x) + dc.viewport.left, static_cast<i32>(y) + dc.viewport.top,
                       color);
        remainder += step;
        if (remainder >= denominator) {
            remainder -= denominator;
            ++quotient;
        }
    }
}

} // namespace

Rect drawableRect(const DeviceContext& dc) {
    if (dc.clipping) return dc.clipRect;
    return Rect{dc.deviceRect.left - dc.viewport.left, dc.deviceRect.top - dc.viewport.top,
                dc.deviceRect.right - dc.viewport.left, dc.deviceRect.bottom - dc.viewport.top};
}

u32 readPixel(const DeviceContext& dc, i32 x, i32 y) {
    const i64 dx = static_cast<i64>(x) + dc.viewport.left;
    const i64 dy = static_cast<i64>(y) + dc.viewport.top;
    if (dx < dc.deviceRect.left || dx >= dc.deviceRect.right || dy < dc.deviceRect.top ||
        dy >= dc.deviceRect.bottom)
        return 0;
    return loadPixel(dc, static_cast<i32>(dx), static_cast<i32>(dy));
}

void setColor(u32 color) {
    assert(gfx::state.currentContext);
    gfx::state.currentContext->color = color;
}

void setColorIndex(u32 index) {
    assert(gfx::state.currentContext);
    DeviceContext& dc = *gfx::state.currentContext;
    // An index past the table reads as black, like a missing palette entry.
    if (dc.maxColor > 255)
        dc.color = index < dc.colorTable.size() ? dc.colorTable[index] : 0;
    else
        dc.color = index;
}

void setBackColor(u32 color) {
    assert(gfx::state.currentContext);
    gfx::state.currentContext->backColor = color;
}

void clearDevice() {
    assert(gfx::state.currentContext);
    DeviceContext& dc = *gfx::state.currentContext;
    const Rect& r = dc.deviceRect;
    if (r.right <= r.left || r.bottom <= r.top) return;
    // Fill the first row pixel by pixel, then copy it to the others.
    for (i32 x = r.left; x < r.right; ++x) storePixel(dc, x, r.top, dc.backColor);
    const i32 bytesPerPixel = dc.bitsPerPixel == 15 ? 2 : dc.bitsPerPixel / 8;
    const size_t rowBytes = static_cast<size_t>(r.right - r.left) * bytesPerPixel;
    const u8* first =
        dc.surface + static_cast<i64>(r.top) * dc.bytesPerLine + static_cast<i64>(r.left) * bytesPerPixel;
    for (i32 y = r.top + 1; y < r.bottom; ++y)
        std::memcpy(dc.surface + static_cast<i64>(y) * dc.bytesPerLine +
                        static_cast<i64>(r.left) * bytesPerPixel,
                    first, rowBytes);
}

void drawLine(i32 x1, i32 y1, i32 x2, i32 y2) {
    assert(gfx::state.currentContext);
    DeviceContext& dc = *gfx::state.currentContext;
    if (x1 > x2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    if (y1 == y2)
        drawHorizontal(dc, x1, x2, y1);
    else
        drawSloped(dc, x1, y1, x2, y2);
}

void beginPixelAccess() {
    assert(gfx::state.currentContext);
    DeviceContext& dc = *gfx::state.currentContext;
    if (++dc.beginCount == 0 && dc.lockSurface) dc.lockSurface(dc);
}

void endPixelAccess() {
    assert(gfx::state.currentContext);
    DeviceContext& dc = *gfx::state.currentContext;
    if (dc.beginCount < 0) return; // an end without a begin releases nothing
    if (--dc.beginCount == -1 && dc.unlockSurface) dc.unlockSurface(dc);
}
