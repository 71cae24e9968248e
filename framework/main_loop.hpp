#pragma once
// The game skeleton: the game puts plain functions into a fixed set of callback
// slots and calls MainLoop, which from then on drives it: input events to their
// callbacks, then the frame callback, then the draw callback, pass after pass,
// until a quit is requested. The loop keeps no time; only a pass with nothing but
// events to handle waits for input.
#include "base/types.hpp"

struct DeviceContext;
struct Event;
struct ModeEntry;

using DrawCallback = void (*)();
using FrameCallback = void (*)();
using EventCallback = void (*)(Event* event);
// The window's new activation: 0 inactive, 1 active, 2 active by a mouse click.
using ActivateCallback = void (*)(u32 state);
// The display context and 1 (display taken away) or 2 (given back). After 1, an
// answer of 2 lets the program run on without drawing; any other answer holds it
// until the display comes back.
using SuspendCallback = u32 (*)(DeviceContext* display, u32 state);
// The entry just set and the windowed flag just used, after a switch the framework
// made by itself (Alt+Enter, the maximise box, a desktop change).
using ModeSwitchCallback = void (*)(const ModeEntry& mode, u32 windowed);

// Each setter stores the function (null empties the slot) and nothing else.
void SetDrawCallback(DrawCallback callback);
void SetFrameCallback(FrameCallback callback);
void SetKeyDownCallback(EventCallback callback);
void SetKeyRepeatCallback(EventCallback callback);
void SetKeyUpCallback(EventCallback callback);
void SetMouseDownCallback(EventCallback callback);
void SetActivateCallback(ActivateCallback callback);
void SetSuspendCallback(SuspendCallback callback);
void SetModeSwitchCallback(ModeSwitchCallback callback);

// Runs passes until RequestQuit: events, frame callback, draw callback (only while
// active is 1). Then shuts the framework down and returns 0.
i32 MainLoop();

// Hands every waiting event to the callback of its kind.
void ProcessEvents();

// Ends the main loop after the pass now running.
void RequestQuit();
