#pragma once
// Moving finished frames between surfaces: the back buffer onto the display (one to
// one or stretched, converting the pixel format when the two differ), and a display
// page into the 24-bit blue-green-red rows the platform shows.
#include "base/types.hpp"
#include "framework/platform.hpp"
#include "gfx/device_context.hpp"

#include <vector>

// Fills the top-left width x height pixels of `to` from the top-left
// fromWidth x fromHeight pixels of `from`, nearest pixel: a one-to-one copy when
// the sizes are equal, a stretch otherwise. Both rectangles must lie on their surfaces.
void copyFrame(const DeviceContext& from, u32 fromWidth, u32 fromHeight, DeviceContext& to, u32 width,
               u32 height);

// The rows of a display page as the platform wants them. `layout` gives the
// page's size, depth and format; 8-bit pages are shown through `palette`. Pages
// that are already 24-bit RGB are handed over as they are; others are converted
// into `scratch`.
PresentedFrame presentableFrame(const u8* page, const DeviceContext& layout, const Palette& palette,
                                std::vector<u8>& scratch);

// Width and height of a context's surface.
inline u32 surfaceWidth(const DeviceContext& dc) {
    return static_cast<u32>(dc.deviceRect.right - dc.deviceRect.left);
}
inline u32 surfaceHeight(const DeviceContext& dc) {
    return static_cast<u32>(dc.deviceRect.bottom - dc.deviceRect.top);
}
