#pragma once
// The framework's program-wide state. Only the framework's own files write it;
// tests start clean with resetFramework().
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

// ---- The back end ----

// The platform the framework talks to; chosen by the program before InitFramework
// (selectPlatform) and the one thing resetFramework keeps.
extern std::unique_ptr<Platform> platform;

// ---- Callback slots (empty at start) ----

extern DrawCallback drawCallback;             // after the frame callback, while active is 1
extern FrameCallback frameCallback;           // once per pass, after the events
extern EventCallback keyDownCallback;         // each KeyDown event
extern EventCallback keyRepeatCallback;       // each KeyRepeat event
extern EventCallback keyUpCallback;           // each KeyUp event
extern EventCallback mouseDownCallback;       // each MouseDown event
extern ActivateCallback activateCallback;     // the window's activation changed (windowed)
extern SuspendCallback suspendCallback;       // the full-screen display went or came back
extern ModeSwitchCallback modeSwitchCallback; // after a switch the framework made itself

// ---- Main loop ----

// 1 while the program owns its display; 0 while the full-screen display is taken away.
extern u32 active;
// Set by RequestQuit: the main loop ends after the current pass.
extern u32 quitRequested;

// ---- Event queue and keyboard ----

// The queue's records; each is either queued or on the free list.
extern std::array<Event, eventQueueSize> eventPool;
// Oldest and newest queued record, -1 when the queue is empty.
extern i32 firstQueued;
extern i32 lastQueued;
// First record of the free list (linked through next), -1 when all are queued.
extern i32 firstFree;
// Number of queued events.
extern u32 queuedCount;
// The queued MouseMove that later moves update instead of adding their own; -1 for none.
extern i32 waitingMouseMove;
// Per scan code: 0 while the key is up, its key-down code while it is held.
extern std::array<u16, 256> keyTable;

// ---- Modes ----

// The driver options in force.
extern DriverOptions driverOptions;
// The drivers registered for those options; empty until the mode list is built.
extern std::vector<Driver> registeredDrivers;
// What the display offers, as the platform described it at InitFramework.
extern DisplayHardware displayHardware;
// The modes the game can choose from.
extern ModeList modeList;
// The entry last set, with the pages and system-memory flag asked for (used again
// for the framework's own switches).
extern ModeEntry currentMode;
extern u32 currentPages;
extern u32 currentSystemMemory;

// ---- Window ----

// True between a successful InitFramework and the shut-down.
extern bool displayOpen;
// The window title given to InitFramework (at most 79 characters).
extern std::string windowTitle;
// True while the window exists.
extern bool windowExists;
// What the window's frame and caption add to its client area.
extern FrameExtent windowFrame;
// Where the window sat when it was last windowed; valid once windowPlaced is true.
extern WindowPlace windowPosition;
extern bool windowPlaced;
// 1 while a full-screen mode is set.
extern u32 fullScreen;
// 1 while the framework switches modes by itself.
extern u32 switching;
// The window's last activation state and whether it is minimised.
extern u32 windowActive;
extern u32 windowMinimised;

// ---- Sound ----

// True while the platform's sound output is open (StartSound).
extern bool soundOpen;
// True while the player has the sound muted.
extern bool soundMuted;

// ---- Display surfaces ----

// 1 when SwapBuffers stretches the back buffer to outputWidth x outputHeight.
extern u32 scaledOutput;
extern u32 outputWidth;
extern u32 outputHeight;
// The record InitFramework hands the game; SetMode fills it in.
extern FrameworkDisplay frameworkDisplay;
// The display's context (over the page being drawn) and the back buffer's.
extern std::unique_ptr<DeviceContext> displayContext;
extern std::unique_ptr<DeviceContext> backBufferContext;
// The display's pages; one for a window.
extern std::vector<std::vector<u8>> displayPages;
// The page on show and the page being drawn (equal when there is one page).
extern u32 visiblePage;
extern u32 drawPage;
// The palette in effect on the display, for 8-bit displays.
extern Palette shownPalette;
// Frames of displays that are not 24-bit RGB, converted for the platform.
extern std::vector<u8> presentScratch;

// Forgets the display's and the back buffer's contexts (no longer current) and pages.
void releaseDisplaySurfaces();

// Closes anything open and returns every value above to its start value, except
// the chosen platform.
void resetFramework();

// Makes `chosen` the platform (after closing anything open on the old one).
void selectPlatform(std::unique_ptr<Platform> chosen);
