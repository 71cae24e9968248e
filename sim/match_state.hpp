#pragma once
// The simulation's own match state: one record, sim::match. The world's state
// (players, worldGrid, flagCount, the templates) is world::state; this is the rest.
#include "base/types.hpp"
#include "sim/match_events.hpp"
#include "sim/projectile.hpp"

#include <vector>

// The shell's frame composition, called as the last step of UpdateFrame. The
// simulation runs without one in tests and tools.
using DrawFrameHook = void (*)();

namespace sim {

struct Match {
    // Shots in flight, oldest first; new shots are appended at the end.
    std::vector<Projectile> projectiles;
    // Index of the player who won the match; -1 while nobody has.
    i16 winner = -1;
    // Players chosen in the menu (2 or 3); selects the win rule. The shell sets it
    // when a match starts.
    u16 playerChoice = 2;
    DrawFrameHook drawFrameHook = nullptr; // null: no frame is composed
    // Hears every match event (sim/match_events.hpp); null: nobody listens.
    MatchEventListener matchEventListener = nullptr;
};

extern Match match;

} // namespace sim

void setDrawFrameHook(DrawFrameHook hook);

// Takes every shot in flight out of the grid and assigns a fresh record.
void resetSimulation();
