#pragma once
// What the frame composition knows about the screen of a match: the largest
// pixel coordinates of the frame and the cockpit bitmaps drawn over the view.
// The renderer is handed maxX and maxY.
#include "base/types.hpp"

struct Bitmap;
struct OpaqueRuns;

struct ScreenInfo {
    u16 maxX = 0; // 639 or 319
    u16 maxY = 0; // 479 or 239
    const Bitmap* cockpitBitmap = nullptr;
    // The cockpit's opaque pixels, found when it was loaded (null: drawn pixel by pixel).
    const OpaqueRuns* cockpitRuns = nullptr;
    const Bitmap* greenLightBitmap = nullptr;
    const Bitmap* blueLightBitmap = nullptr;
    const Bitmap* segmentVBitmap = nullptr;
    const Bitmap* segmentHBitmap = nullptr;
};
