#pragma once
// The shell's key callbacks. Both read the keyboard through IsKeyDown, so a held
// key acts again whenever any other key goes down; the event only tells them to
// leave Alt+Enter, the window switch, alone.

struct Event;
struct Player;

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
