#pragma once
// Input as the game sees it: a queue of Event records that ProcessEvents hands to
// the callbacks, and keyTable, which says for every key whether it is held right
// now. Keys are named by their PC scan code (set 1); a key and its extended twin
// share a code, so the arrows read the same as keypad 8, 4, 6 and 2.
#include "base/types.hpp"

struct PlatformMessage;

// Event kinds, one bit each so that NextEvent can take a mask of them.
enum EventKind : u32 {
    KeyDown = 1,
    KeyRepeat = 2,
    KeyUp = 4,
    MouseDown = 8,
    MouseUp = 16,
    MouseMove = 32,
    Timer = 64,
};
inline constexpr u32 eventMaskAll = 0xFFFF;

// Event::modifiers bits.
inline constexpr u32 modLeftButton = 0x1;
inline constexpr u32 modRightButton = 0x2;
inline constexpr u32 modShift = 0x18;
inline constexpr u32 modCtrl = 0x20;
inline constexpr u32 modAlt = 0x40;
inline constexpr u32 modDoubleClick = 0x8000;

// Event::code of mouse button events.
inline constexpr u32 buttonLeft = 1;
inline constexpr u32 buttonRight = 4;

// Scan codes the game and the framework read.
inline constexpr u8 scanEsc = 1;
inline constexpr u8 scanP = 25;
inline constexpr u8 scanEnter = 28; // both Enter keys
inline constexpr u8 scanCtrl = 29;  // both Ctrl keys
inline constexpr u8 scanS = 31;
inline constexpr u8 scanD = 32;
inline constexpr u8 scanF = 33;
inline constexpr u8 scanLeftShift = 42;
inline constexpr u8 scanM = 50;
inline constexpr u8 scanRightShift = 54;
inline constexpr u8 scanAlt = 56; // both Alt keys
inline constexpr u8 scanSpace = 57;
inline constexpr u8 scanF10 = 68;
inline constexpr u8 scanUp = 72;    // and keypad 8
inline constexpr u8 scanLeft = 75;  // and keypad 4
inline constexpr u8 scanRight = 77; // and keypad 6
inline constexpr u8 scanKeypadPlus = 78;
inline constexpr u8 scanDown = 80; // and keypad 2
inline constexpr u8 scanF12 = 88;

// A gamepad's controls, as keys of their own in codes no keyboard sends, so that
// the game reads pads and keyboard through the one key table (framework/gamepad.hpp).
inline constexpr u8 scanPadUp = 0x60;    // d-pad or left stick up
inline constexpr u8 scanPadDown = 0x61;  // d-pad or left stick down
inline constexpr u8 scanPadLeft = 0x62;  // d-pad or left stick left
inline constexpr u8 scanPadRight = 0x63; // d-pad or left stick right
inline constexpr u8 scanPadA = 0x64;     // the face buttons, named by SDL's layout
inline constexpr u8 scanPadB = 0x65;
inline constexpr u8 scanPadX = 0x66;
inline constexpr u8 scanPadY = 0x67;
inline constexpr u8 scanPadShoulder = 0x68; // either shoulder button
inline constexpr u8 scanPadBack = 0x69;
inline constexpr u8 scanPadStart = 0x6A;
inline constexpr u8 scanPadLeftTrigger = 0x6B;
inline constexpr u8 scanPadRightTrigger = 0x6C;

// What a callback receives a pointer to (eight 32-bit fields).
struct Event {
    u32 kind; // an EventKind
    u32 time; // message time, milliseconds
    i32 x;    // mouse events: pointer in the mode's coordinates; else 0
    i32 y;
    u32 code;      // keys: character | scan code << 8 (| repeat count << 16 for KeyRepeat);
                   // mouse buttons: buttonLeft or buttonRight
    u32 modifiers; // mod... bits
    i32 next;      // the queue's links (indexes into its pool, -1 for none)
    i32 prev;
};

// The queue's fixed pool of records; events beyond it are dropped.
inline constexpr u32 eventQueueSize = 100;

// 1 while the key with that scan code is held, else 0.
u32 IsKeyDown(u8 scanCode);

// Moves every waiting platform message into the queue, then takes out the oldest
// event whose kind is in `mask`: copies it into *event and returns 1. Returns 0, with
// kind 0 in *event, when none matches. Events of other kinds keep their places.
u32 NextEvent(Event* event, u32 mask);

// Takes out every event whose kind is in `mask`.
void FlushEvents(u32 mask);

// Empties the queue and marks every key as up.
void ResetEvents();

// Turns one platform message into an event at the end of the queue, keeping the
// key table up to date even when the queue is full. Messages that are not input
// add nothing.
void queueEventFor(const PlatformMessage& message);
