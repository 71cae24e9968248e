#pragma once
// The framework's program-wide state: one record, framework::state. Only the
// framework's own files write it; tests start clean with resetFramework().
#include "base/types.hpp"
#include "framework/display.hpp"
#include "framework/events.hpp"
#include "framework/main_loop.hpp"
#include "framework/modes.hpp"
#include "framework/platform.hpp"
#include "gfx/device_context.hpp"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace framework {

// The queue's records, all on the free list (linked through next) and none queued.
std::array<Event, eventQueueSize> emptyEventPool();

// The event queue and the key table: what ResetEvents starts afresh.
struct Input {
    // The queue's records; each is either queued or on the free list.
    std::array<Event, eventQueueSize> eventPool = emptyEventPool();
    // Oldest and newest queued record, -1 when the queue is empty.
    i32 firstQueued = -1;
    i32 lastQueued = -1;
    // First record of the free list (linked through next), -1 when all are queued.
    i32 firstFree = 0;
    // Number of queued events.
    u32 queuedCount = 0;
    // The queued MouseMove that later moves update instead of adding their own; -1 for none.
    i32 waitingMouseMove = -1;
    // Per scan code: 0 while the key is up, its key-down code while it is held.
    std::array<u16, 256> keyTable{};
};

struct State {
    // ---- The back end ----

    // The platform the framework talks to; chosen by the program before InitFramework
    // (selectPlatform) and the one thing resetFramework keeps.
    std::unique_ptr<Platform> platform;

    // ---- Callback slots (empty at start) ----

    DrawCallback drawCallback = nullptr;             // after the frame callback, while active is 1
    FrameCallback frameCallback = nullptr;           // once per pass, after the events
    EventCallback keyDownCallback = nullptr;         // each KeyDown event
    EventCallback keyRepeatCallback = nullptr;       // each KeyRepeat event
    EventCallback keyUpCallback = nullptr;           // each KeyUp event
    EventCallback mouseDownCallback = nullptr;       // each MouseDown event
    ActivateCallback activateCallback = nullptr;     // the window's activation changed (windowed)
    SuspendCallback suspendCallback = nullptr;       // the full-screen display went or came back
    ModeSwitchCallback modeSwitchCallback = nullptr; // after a switch the framework made itself

    // ---- Main loop ----

    // 1 while the program owns its display; 0 while the full-screen display is taken away.
    u32 active = 1;
    // Set by RequestQuit: the main loop ends after the current pass.
    u32 quitRequested = 0;

    // ---- Event queue and keyboard ----

    Input input;

    // ---- Modes ----

    // The driver options in force.
    DriverOptions driverOptions = frameworkDefaultOptions;
    // The drivers registered for those options; empty until the mode list is built.
    std::vector<Driver> registeredDrivers;
    // What the display offers, as the platform described it at InitFramework.
    DisplayHardware displayHardware;
    // The modes the game can choose from.
    ModeList modeList;
    // The entry last set, with the pages and system-memory flag asked for (used again
    // for the framework's own switches).
    ModeEntry currentMode{};
    u32 currentPages = 0;
    u32 currentSystemMemory = 0;

    // ---- Window ----

    // True between a successful InitFramework and the shut-down.
    bool displayOpen = false;
    // The window title given to InitFramework (at most 79 characters).
    std::string windowTitle;
    // True while the window exists.
    bool windowExists = false;
    // What the window's frame and caption add to its client area.
    FrameExtent windowFrame;
    // Where the window sat when it was last windowed; valid once windowPlaced is true.
    WindowPlace windowPosition;
    bool windowPlaced = false;
    // 1 while a full-screen mode is set.
    u32 fullScreen = 0;
    // 1 while the framework switches modes by itself.
    u32 switchingModes = 0;
    // The window's last activation state and whether it is minimised.
    u32 windowActive = 0;
    u32 windowMinimised = 0;

    // ---- Display surfaces ----

    // 1 when SwapBuffers stretches the back buffer to outputWidth x outputHeight.
    u32 scaledOutput = 0;
    u32 outputWidth = 0;
    u32 outputHeight = 0;
    // The record InitFramework hands the game; SetMode fills it in.
    FrameworkDisplay frameworkDisplay;
    // The display's context (over the page being drawn) and the back buffer's.
    std::unique_ptr<DeviceContext> displayContext;
    std::unique_ptr<DeviceContext> backBufferContext;
    // The display's pages; one for a window.
    std::vector<std::vector<u8>> displayPages;
    // The page on show and the page being drawn (equal when there is one page).
    u32 visiblePage = 0;
    u32 drawPage = 0;
    // The palette in effect on the display, for 8-bit displays.
    Palette shownPalette = defaultPalette();
    // Frames of displays that are not 24-bit RGB, converted for the platform.
    std::vector<u8> presentScratch;
};

extern State state;

} // namespace framework

// Forgets the display's and the back buffer's contexts (no longer current) and pages.
void releaseDisplaySurfaces();

// Closes anything open and assigns a fresh record, keeping only the chosen platform.
void resetFramework();
