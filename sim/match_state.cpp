#include "sim/match_state.hpp"

#include "sim/collision.hpp"
#include "world/world.hpp"

std::vector<Projectile> projectiles;
i16 winner = -1;
u16 playerChoice = 2;

DrawFrameHook drawFrameHook = nullptr;
MatchEventListener matchEventListener = nullptr;

void setDrawFrameHook(DrawFrameHook hook) { drawFrameHook = hook; }

void resetSimulation() {
    // Shots still listed in a grid leave it before they are freed, whether or not
    // the world has been reset already.
    for (const Projectile& shot : projectiles) {
        RemoveFromCells(world::state.worldGrid, cellOf(shot.x), cellOf(shot.y), *shot.object);
    }
    projectiles.clear();
    winner = -1;
    playerChoice = 2;
    drawFrameHook = nullptr;
    matchEventListener = nullptr;
}
