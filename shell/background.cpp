#include "shell/background.hpp"

#include "gfx/bitmap.hpp"
#include "gfx/device_context.hpp"
#include "gfx/primitives.hpp"

#include <algorithm>
#include <cstring>

namespace {

// 1 at 640 columns, 2 on every other frame: the bands are laid out for 480 rows.
i32 bandScale(i32 maxX) {
    return maxX == 639 ? 1 : 2;
}

BackgroundRow colour(i32 r, i32 g, i32 b) {
    return {false, static_cast<u8>(r), static_cast<u8>(g), static_cast<u8>(b)};
}

// The far ground: dark green at the bottom, brightening toward the horizon.
BackgroundRow farGround(i32 y, i32 s) {
    const i32 r = (480 / s - y) * s;
    return colour(r, static_cast<i32>(y * 0.125 + (s == 1 ? 127 : 170)), r);
}

// Near the horizon the ground fades into the fog colour (240, 240, 240).
BackgroundRow horizonGround(i32 y, i32 s) {
    const i32 r = static_cast<i32>(s == 1 ? 1216 - 3.05 * y : 1216 - 6.1 * y);
    return colour(r, static_cast<i32>(s == 1 ? 784 - 1.7 * y : 624 - 2.4 * y), r);
}

i32 bytesPerPixel(i32 bits) {
    return bits == 15 ? 2 : bits / 8;
}

// Sets `count` pixels from `at` to `value`: the first one stored, then the
// filled part copied onto the rest, doubling each time.
void fillPixels(u8* at, i32 count, u32 value, i32 pixelBytes) {
    if (count <= 0) return;
    u8 first[4] = {static_cast<u8>(value), static_cast<u8>(value >> 8), static_cast<u8>(value >> 16),
                   static_cast<u8>(value >> 24)};
    std::memcpy(at, first, static_cast<size_t>(pixelBytes));
    const size_t total = static_cast<size_t>(count) * pixelBytes;
    for (size_t done = static_cast<size_t>(pixelBytes); done < total;) {
        const size_t n = std::min(done, total - done);
        std::memcpy(at + done, at, n);
        done += n;
    }
}

} // namespace

BackgroundRow backgroundRow(i32 y, i32 maxX, bool plainSky) {
    const i32 s = bandScale(maxX);
    // The last band drawn over a row decides it: the gradient, the sky's fog
    // colour, the horizon band, the far ground, in that order.
    if (plainSky) {
        // Deep blue at the top into the fog colour; a halved row keeps the
        // colour of its smaller gradient step.
        if (y >= 0 && y <= 240 / s) return colour(y * s, y * s, 240);
        if (y >= 240 / s + 1 && y <= (maxX + 1) / 2) return colour(240, 240, 240);
    }
    if (y >= 320 / s && y <= 360 / s) return horizonGround(y, s);
    if (y >= 360 / s && y <= 480 / s) return farGround(y, s);
    return {};
}

void paintBackground(DeviceContext& dc, i32 maxX, bool realisticSky, const Bitmap* sky, i32 skyX) {
    constexpr u32 white = 0xFFFFFF; // the clear's back colour, already packed
    const bool plainSky = !realisticSky;
    if (plainSky) sky = nullptr;
    const Rect& device = dc.deviceRect;
    const Rect b = drawableRect(dc);
    const i32 pixelBytes = bytesPerPixel(dc.bitsPerPixel);
    const i32 deviceWidth = device.right - device.left;

    // Band rows run from column 0 to maxX + 1, clipped (device columns here).
    const i32 bandLeft = std::max(0, b.left) + dc.viewport.left;
    const i32 bandRight = std::min(maxX + 1, b.right - 1) + dc.viewport.left; // inclusive
    // Rows the sky bitmap replaces across the whole surface need no band.
    i32 skyFrom = 0, skyTo = 0; // viewport rows
    if (sky && sky->bitsPerPixel > 1 && b.left + dc.viewport.left <= device.left &&
        b.right + dc.viewport.left >= device.right && skyX <= b.left &&
        static_cast<i64>(skyX) + sky->width >= b.right) {
        skyFrom = std::max(0, b.top);
        skyTo = std::min(sky->height, b.bottom);
    }

    const u8* previous = nullptr;
    BackgroundRow previousRow;
    for (i32 dy = device.top; dy < device.bottom; ++dy) {
        const i32 y = dy - dc.viewport.top;
        if (y >= skyFrom && y < skyTo) continue;
        u8* row = dc.surface + static_cast<i64>(dy) * dc.bytesPerLine;
        u8* first = row + static_cast<i64>(device.left) * pixelBytes;
        BackgroundRow band = y >= b.top && y < b.bottom ? backgroundRow(y, maxX, plainSky) : BackgroundRow{};
        if (band.cleared || bandLeft > bandRight) band = {};
        if (previous && band.cleared == previousRow.cleared && band.red == previousRow.red &&
            band.green == previousRow.green && band.blue == previousRow.blue) {
            std::memcpy(first, previous, static_cast<size_t>(deviceWidth) * pixelBytes);
        } else if (band.cleared) {
            fillPixels(first, deviceWidth, white, pixelBytes);
        } else {
            const u32 value = packColor(dc, band.red, band.green, band.blue);
            fillPixels(first, bandLeft - device.left, white, pixelBytes);
            fillPixels(row + static_cast<i64>(bandLeft) * pixelBytes, bandRight - bandLeft + 1, value,
                       pixelBytes);
            fillPixels(row + static_cast<i64>(bandRight + 1) * pixelBytes, device.right - bandRight - 1,
                       white, pixelBytes);
        }
        previous = first;
        previousRow = band;
    }
    if (sky) putBitmap(dc, skyX, 0, sky, writeReplace);

    // The colours the band drawing leaves set: its last band's, and the clear's.
    const i32 s = bandScale(maxX);
    const BackgroundRow last = plainSky ? colour(0, 0, 240) : horizonGround(320 / s, s);
    dc.color = packColor(dc, last.red, last.green, last.blue);
    dc.backColor = white;
}
