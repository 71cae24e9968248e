#pragma once
// The shell's key callbacks. Both ignore the event they get and read the keyboard
// through IsKeyDown, so a held key acts again whenever any other key goes down.

struct Event;

// The menu's keys while the menu is shown; the match's bindings after that.
void OnKeyDown(Event* event);

// Clears the held controls of the keys that are up (match only).
void OnKeyUp(Event* event);
