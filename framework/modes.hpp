#pragma once
// The display modes: the graphics layer's numbered modes, the drivers the game's
// options allow, what the display hardware offers, and the mode list built from
// them. Plain data and pure functions, so the listing rules are testable without
// a display.
#include "base/types.hpp"

#include <array>
#include <vector>

// One entry of the mode list (12 words).
struct ModeEntry {
    i32 mode;  // the graphics layer's mode number; -1 for a window-only entry
    u32 width; // the size the game sees
    u32 height;
    u32 bitsPerPixel; // 8, 15, 16, 24 or 32
    u32 pages;        // display pages the driver offers (1 for a window-only entry)
    u32 flags;        // the driver's capability bits for the mode
    char name[16];    // the driver's name of the mode, or "windowed"; zero-terminated
    u32 scaling;      // 0 the mode itself, 1 line-doubled, 2 pixel-doubled
    u32 windowScale;  // 2 for small sizes, shown at twice the size in a window; else 0
};
static_assert(sizeof(ModeEntry) == 48);

// Which display drivers the game allows and which modes it wants listed (11 words).
struct DriverOptions {
    u32 useDirectHW; // drivers that touch the hardware directly (VGA, linear, accelerated)
    u32 useDirectDraw;
    u32 useVGA;
    u32 useVGAX; // unchained VGA; counts only with useVGA
    u32 useVBE;
    u32 useLinear; // linear frame buffers; counts only with useVBE
    u32 useVBEAF;  // accelerated frame buffers; counts only with useVBE and useLinear
    u32 useFullScreenDIB;
    u32 useOpenGL;
    u32 reserved;   // read by nothing
    u32 modeFilter; // which modes are listed: the modeFilter bits below

    friend constexpr bool operator==(const DriverOptions&, const DriverOptions&) = default;
};
static_assert(sizeof(DriverOptions) == 44);

// The framework's own options until the game gives its own: every driver, no filter.
inline constexpr DriverOptions frameworkDefaultOptions{1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0};

// modeFilter bits.
inline constexpr u32 modeFilter8 = 1;  // list 8-bit modes
inline constexpr u32 modeFilter16 = 2; // list 15- and 16-bit modes
inline constexpr u32 modeFilter24 = 4; // list 24-bit modes
inline constexpr u32 modeFilter32 = 8; // list 32-bit modes
inline constexpr u32 modeFilterAllDepths = 15;
inline constexpr u32 modeFilterAccelerated = 16; // only modes with modeCapAccelerated
inline constexpr u32 modeFilterDesktopOnly = 32; // only modes with modeCapDesktop go full screen
inline constexpr u32 modeFilterWindowed = 64;    // add window-only entries

// Capability bits of a mode.
inline constexpr u32 modeCapPageFlip = 0x1;      // pages can be flipped: a double-buffered display
inline constexpr u32 modeCapAccelerated = 0x400; // the driver draws with hardware help
// The mode is shown by stretching a desktop-sized surface, not by reprogramming the
// display; such a mode never stands in for a line- or pixel-doubled smaller one.
inline constexpr u32 modeCapDesktop = 0x800;

// ---- The graphics layer's modes ----
//
// Mode numbers run through a table of standard sizes, each at 8, 15, 16, 24 and
// 32 bits per pixel: number = size index * 5 + depth index. So 0 is 320x200x8,
// 9 is 320x240x32, 43 is 640x480x24, 69 is 1600x1200x32.
struct GraphicsMode {
    u32 width;
    u32 height;
    u32 bitsPerPixel;
};

struct ModeSize {
    u32 width;
    u32 height;
};

inline constexpr std::array<ModeSize, 14> standardModeSizes{{
    {320, 200},
    {320, 240},
    {320, 400},
    {320, 480},
    {400, 300},
    {512, 384},
    {640, 350},
    {640, 400},
    {640, 480},
    {800, 600},
    {1024, 768},
    {1152, 864},
    {1280, 1024},
    {1600, 1200},
}};
inline constexpr std::array<u32, 5> standardModeDepths{8, 15, 16, 24, 32};
inline constexpr u32 graphicsModeCount = standardModeSizes.size() * standardModeDepths.size();

// The size and depth of a mode number below graphicsModeCount.
GraphicsMode graphicsMode(u32 number);
// The mode number of that size and depth; -1 when the layer has no such mode.
i32 graphicsModeNumber(u32 width, u32 height, u32 bitsPerPixel);
// The driver's name of a mode: "640x480x24".
void graphicsModeName(u32 number, char (&name)[16]);

// ---- Drivers ----

enum class DriverFamily : u32 {
    Vga,           // standard VGA (4 and 8 bits)
    VgaX,          // unchained VGA (8 bits)
    Linear,        // VESA linear frame buffers
    Accelerated,   // VBE/AF accelerated frame buffers
    FullScreenDib, // a desktop-sized window showing a device-independent bitmap
    DirectDraw,
    OpenGL,
    PackedPixel, // memory surfaces only; never a display
};

inline constexpr u32 familyBit(DriverFamily family) {
    return 1u << static_cast<u32>(family);
}

struct Driver {
    DriverFamily family;
    u32 bitsPerPixel; // the depth it draws; a 16-bit driver also serves 15-bit modes

    friend constexpr bool operator==(const Driver&, const Driver&) = default;
};

// The drivers the options allow, in the order they are registered; the packed-pixel
// memory drivers are always among them.
std::vector<Driver> registerDrivers(const DriverOptions& options);

// ---- The display hardware, as the back end describes it ----

struct OfferedMode {
    u32 mode;  // mode number
    u32 pages; // display pages the hardware gives it
    u32 flags; // capability bits
};

struct DisplayHardware {
    u32 desktopWidth = 0;
    u32 desktopHeight = 0;
    u32 desktopBitsPerPixel = 24;
    u32 families = 0;               // familyBit()s of the drivers that can reach this display
    std::vector<OfferedMode> modes; // the full-screen modes it can show, by any driver
};

// Every mode up to the desktop's size, each with those pages and flags.
std::vector<OfferedMode> offerModesUpTo(u32 width, u32 height, u32 pages, u32 flags);

// The hardware's description of a mode when some registered driver of a family the
// display accepts draws its depth; null otherwise.
const OfferedMode* findOfferedMode(const DisplayHardware& hardware, const std::vector<Driver>& drivers,
                                   u32 mode);

// ---- The mode list ----

// 2 when the size is small (below 512x384, or 320x400, or 320x480), else 0.
u32 windowScaleFor(u32 width, u32 height);

// True when the filter's depth bits allow that depth.
bool depthAllowed(u32 modeFilter, u32 bitsPerPixel);

// The depth of a back buffer for a display of `bitsPerPixel`: lowered step by step
// (32 to 24, 24 to 15, 15 or 16 to 8) while the filter forbids it. A filter that
// names no depth at all forbids none.
u32 lowerDepthForFilter(u32 modeFilter, u32 bitsPerPixel);

struct ModeList {
    std::vector<ModeEntry> entries; // full-screen entries first, then window-only ones
    u32 fullScreenCount = 0;
};

ModeList listModes(const DriverOptions& options, const DisplayHardware& hardware,
                   const std::vector<Driver>& drivers);
