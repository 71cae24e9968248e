#pragma once
// A device context: a rectangle of pixels in memory with its pixel format, palette,
// current colours, viewport and clip rectangle. The game draws every frame into one
// (a 24-bit RGB memory surface whose bytes are blue, green, red per pixel).
#include "base/types.hpp"
#include "gfx/pixel_format.hpp"

#include <array>
#include <memory>
#include <vector>

struct Font;

// One palette entry, laid out as in bitmap files and display palettes.
struct PaletteEntry {
    u8 blue = 0, green = 0, red = 0, reserved = 0;
    friend constexpr bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

static_assert(sizeof(PaletteEntry) == 4, "palette entries are read straight from files");

using Palette = std::array<PaletteEntry, 256>;

// Left and top inclusive, right and bottom exclusive.
struct Rect {
    i32 left = 0, top = 0, right = 0, bottom = 0;
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// How text is placed. The game only ever uses the defaults (useFont sets the direction).
struct TextSettings {
    i32 horizJust = 0; // 0 left, 1 centre, 2 right
    i32 vertJust = 0;  // 0 top, 1 centre, 2 bottom, 3 baseline
    i32 direction = 2; // 0 left, 1 up, 2 right, 3 down
    i32 sizeNumerX = 1, sizeDenomX = 1;
    i32 sizeNumerY = 1, sizeDenomY = 1;
    i32 spaceExtra = 0; // extra advance between characters
};

// The largest width or height of a context.
constexpr i32 maxContextSide = 16384;

struct DeviceContext;

// Called when a run of pixel writes starts or ends on a surface that must be locked
// (a display surface); memory surfaces leave these null.
using SurfaceAccessHook = void (*)(DeviceContext& dc);

struct DeviceContext {
    u8* surface = nullptr;             // first byte of the top row
    i32 bitsPerPixel = 0;              // 8, 15, 16, 24 or 32
    i32 bytesPerLine = 0;              // distance between rows in bytes
    u32 maxColor = 0;                  // 255 for palette contexts; above that colours are packed
    PixelFormat pixelFormat{};         // for more than 8 bits per pixel
    Palette palette{};                 // the colour table; starts as the default palette
    std::array<u32, 256> colorTable{}; // palette entries packed for this context (above 8 bits)
    u32 color = 0;                     // current drawing colour, packed (or an index)
    u32 backColor = 0;                 // background colour, used by clearDevice
    Rect deviceRect;                   // the whole surface
    Rect viewport;                     // device coordinates; drawing coordinates start at its top-left
    Rect clipRect;                     // viewport coordinates
    bool clipping = true;              // pixels outside clipRect are dropped
    const Font* font = nullptr;        // the font of the text operations
    i32 penWidth = 0, penHeight = 0;   // extra pixels of thick lines
    i32 beginCount = -1;               // nesting of beginPixelAccess; -1 when released
    TextSettings text;
    SurfaceAccessHook lockSurface = nullptr;   // run when the begin count reaches 0
    SurfaceAccessHook unlockSurface = nullptr; // run when it returns to -1
    std::vector<u8> ownedSurface;              // the pixels, when the context owns them
};

// The standard palette of a new context: entries 0-15 the sixteen classic colours
// (0 black, 1 blue, 2 green, 3 cyan, 4 red, 5 magenta, 6 brown, 7 light grey,
// 8 dark grey, 9-15 the bright versions of 1-7 ending in white), 16-231 a
// 6 x 6 x 6 colour cube with levels 0, 95, 135, 175, 215, 255 (index 16 + 36r + 6g + b),
// 232-255 a ramp of greys from 8 to 238 in steps of 10.
const Palette& defaultPalette();

// A memory context that owns a zeroed surface of width x height at 8, 15, 16, 24 or
// 32 bits per pixel. `format` (for more than 8 bits) defaults to the depth's
// standard one. Device rectangle, viewport and clip rectangle cover the surface.
// Null with the last error set: -31 for a depth or format the layer cannot draw,
// -17 for a size that is not positive or beyond the cap, -10 when out of memory.
std::unique_ptr<DeviceContext> createMemoryContext(i32 width, i32 height, i32 bitsPerPixel,
                                                   const PixelFormat* format = nullptr);

// The same over a surface the caller owns (a back buffer, a display surface);
// it must hold `height` rows of `bytesPerLine` bytes and outlive the context.
// Null with -31 as above, -17 for a null surface or a row pitch too small for a row.
std::unique_ptr<DeviceContext> createContextOver(u8* surface, i32 width, i32 height, i32 bytesPerLine,
                                                 i32 bitsPerPixel, const PixelFormat* format = nullptr);

// Makes `dc` the current context (null: none).
void makeCurrentContext(DeviceContext* dc);

// right - left - 1 and bottom - top - 1 of the device rectangle: 639, 479 at 640x480.
i32 getMaxX(const DeviceContext& dc);
i32 getMaxY(const DeviceContext& dc);

// The context's colour value for (r, g, b): packed for contexts above 256 colours,
// else the index of the nearest palette entry (sum of channel differences; the
// first of equally near entries wins).
u32 packColor(const DeviceContext& dc, u8 r, u8 g, u8 b);

// Sets `count` palette entries starting at `first` (entries past 255 are dropped)
// and refreshes the packed colour table.
void setPalette(DeviceContext& dc, const PaletteEntry* entries, i32 count, i32 first);

// Moves the viewport (device coordinates) and clips to it.
void setViewport(DeviceContext& dc, const Rect& viewport);

// Sets the clip rectangle (viewport coordinates), kept inside the viewport and the surface.
void setClipRect(DeviceContext& dc, const Rect& clip);
