#pragma once
// The simulation's own match state. The world globals (players, worldGrid,
// flagCount, the templates) live in world/world.hpp; these are the rest.
#include "base/types.hpp"
#include "sim/match_events.hpp"
#include "sim/projectile.hpp"

#include <vector>

// Shots in flight, oldest first; new shots are appended at the end.
extern std::vector<Projectile> projectiles;

// Index of the player who won the match; -1 while nobody has.
extern i16 winner;

// Players chosen in the menu (2 or 3); selects the win rule. The shell sets it
// when a match starts.
extern u16 playerChoice;

// The shell's frame composition, called as the last step of UpdateFrame. The
// simulation runs without one in tests and tools.
using DrawFrameHook = void (*)();
extern DrawFrameHook drawFrameHook; // null: no frame is composed
void setDrawFrameHook(DrawFrameHook hook);

// Hears every match event (sim/match_events.hpp); null: nobody listens.
extern MatchEventListener matchEventListener;

// Frees every shot in flight and returns every global above to its start value.
void resetSimulation();
