#pragma once
// The program's one window and its display modes: starting the framework, listing
// and setting modes, showing frames, palettes, shutting down and fatal errors.
#include "base/types.hpp"
#include "framework/modes.hpp"

#include <vector>

struct DeviceContext;
struct PaletteEntry;

// What the game draws into and what it is shown on.
struct FrameworkDisplay {
    DeviceContext* drawTarget = nullptr;    // the back buffer, or the display when there is none
    DeviceContext* displayDevice = nullptr; // the window's or the full-screen mode's surface
    DeviceContext* backBuffer = nullptr;    // the system-memory frame, or null
};

// Adopts the options when they differ from those in force and lists the modes
// anew (registering the drivers again).
void SetDriverOptions(const DriverOptions& options);

// Starts the framework with a window title (cut at 79 characters): opens the
// display, lists the modes. Returns the display record, filled in by SetMode; null
// with last error -2 when no display can be opened.
FrameworkDisplay* InitFramework(const char* title);

// Copies the first mode-list entry of that size and depth (any depth for -1) into
// `entry` and returns 1; returns 0 and leaves `entry` alone when there is none.
u32 FindMode(ModeEntry& entry, u32 width, u32 height, i32 bitsPerPixel);

// Switches to the entry, in a window if `windowed` is 1, else full screen, with up
// to `pages` display pages and, when `systemMemoryBuffer` is 1, a back buffer in
// memory. 1 on success, 0 on failure.
u32 SetMode(const ModeEntry& entry, u32 windowed, u32 pages, u32 systemMemoryBuffer);

// Shows the frame just drawn: copies the back buffer to the display (stretched
// when the output is scaled) and flips the pages. `wait` is the retrace wait of
// the page flip: any nonzero value waits for the retrace (and keeps the pace of
// the real display); 0 shows the frame at once, for timing the game flat out.
void SwapBuffers(u32 wait);

// The frame last drawn, in the game's own pixels before any scaling (the back
// buffer, or the display when there is none), as 24-bit rows of blue, green and
// red bytes; frames of other depths are converted into `scratch`. Empty (width
// 0) while no mode is set.
struct PresentedFrame;
PresentedFrame CurrentFrame(std::vector<u8>& scratch);

// Sets palette entries (blue, green, red, spare) on the display and the back buffer.
void SetPalette(const PaletteEntry* entries, u32 count, u32 first);
// Makes palette entries take effect on the display.
void RealizePalette(u32 count, u32 first, u32 wait);

// The window's icon: a 32-bit bitmap (alpha, red, green, blue) of the game's
// picture, given to the window now and to any window made later. Null or
// another depth: nothing changes.
struct Bitmap;
void SetWindowIcon(const Bitmap* icon);

// Forgets the contexts, closes the window and the display and returns the
// framework to its start values.
void ShutdownFramework();

// Shuts the display down, shows the text in a box titled "RGL Fatal Error!" (and
// on standard error) and ends the program with exit code 1.
[[noreturn]] void FatalError(const char* text);
