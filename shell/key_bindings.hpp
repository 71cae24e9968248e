#pragma once
// The shell's key callbacks. Both read the keyboard through IsKeyDown, so a held
// key acts again whenever any other key goes down; the event only tells them to
// leave Alt+Enter, the window switch, alone, and which key P, F12 and a pad's
// Start were pressed with (they act on their own press only). A gamepad's keys
// do what the keyboard's do: its d-pad or left stick turns (and moves in the
// menu), A or the right trigger accelerates (and chooses in the menu), B or the
// left trigger brakes, X fires, Y lays a mine, a shoulder drops the flag, Start
// pauses and Back ends the match as Esc does.

#include "framework/events.hpp"

#include <array>

struct Player;

// The keys of one control: the keyboard's key and a gamepad's that do the same
// (0 fills the rest). Pads press keys of their own (framework/gamepad.hpp), so
// one table serves both.
using ControlKeys = std::array<u8, 3>;

// The menu.
inline constexpr ControlKeys menuChooseKeys{scanEnter, scanPadA, 0};
inline constexpr ControlKeys menuUpKeys{scanUp, scanPadUp, 0};
inline constexpr ControlKeys menuDownKeys{scanDown, scanPadDown, 0};
// The match.
inline constexpr ControlKeys quitKeys{scanEsc, scanPadBack, 0};
inline constexpr ControlKeys pauseKeys{scanP, scanPadStart, 0};
inline constexpr ControlKeys accelerateKeys{scanUp, scanPadA, scanPadRightTrigger};
inline constexpr ControlKeys brakeKeys{scanDown, scanPadB, scanPadLeftTrigger};
inline constexpr ControlKeys turnLeftKeys{scanLeft, scanPadLeft, 0};
inline constexpr ControlKeys turnRightKeys{scanRight, scanPadRight, 0};
inline constexpr ControlKeys dropFlagKeys{scanD, scanPadShoulder, 0};
inline constexpr ControlKeys layMineKeys{scanM, scanPadY, 0};
inline constexpr ControlKeys fireKeys{scanSpace, scanPadX, 0};

// 1 while any key of the control is held.
u32 IsControlDown(const ControlKeys& keys);
// True when the event is the press of one of the control's keys.
bool isControlPress(const Event* event, const ControlKeys& keys);

// Keypad +: 10 shots, 3 mines, 128 nitro frames and 4 shields (at most 8).
void refillSupplies(Player& human);

// True for the key press of Alt+Enter, which switches between window and full
// screen and does nothing else.
bool isWindowSwitchKey(const Event& event);

// The menu's keys while the menu is shown; the match's bindings after that. F12
// takes a screenshot in both; P pauses and resumes a match. While a demo plays,
// the match answers only Esc, P, F and F10; while it is paused, only Esc and P.
void OnKeyDown(Event* event);

// Clears the held controls of the keys that are up (match only).
void OnKeyUp(Event* event);
