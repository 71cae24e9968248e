#pragma once
// What the frame composition knows about the screen of a match: the largest
// pixel coordinates of the frame and the cockpit bitmaps drawn over the view.
// The renderer is handed maxX and maxY; the layouts go by the size.
#include "base/types.hpp"

struct Bitmap;
struct OpaqueRuns;

// The frame sizes the game lays out for: the cockpits, the background bands and
// the winner screen are placed for one of them. Any other size gets the plain HUD.
enum class ScreenSize : u8 { Size640x480, Size320x240, Other };

// The size of a frame with these largest pixel coordinates.
constexpr ScreenSize screenSizeOf(u16 maxX, u16 maxY) {
    if (maxX == 639 && maxY == 479) return ScreenSize::Size640x480;
    if (maxX == 319 && maxY == 239) return ScreenSize::Size320x240;
    return ScreenSize::Other;
}

struct ScreenInfo {
    u16 maxX = 0;                        // 639 or 319
    u16 maxY = 0;                        // 479 or 239
    ScreenSize size = ScreenSize::Other; // screenSizeOf(maxX, maxY), set with them
    const Bitmap* cockpitBitmap = nullptr;
    // The cockpit's opaque pixels, found when it was loaded (null: drawn pixel by pixel).
    const OpaqueRuns* cockpitRuns = nullptr;
    const Bitmap* greenLightBitmap = nullptr;
    const Bitmap* blueLightBitmap = nullptr;
    const Bitmap* segmentVBitmap = nullptr;
    const Bitmap* segmentHBitmap = nullptr;
};
