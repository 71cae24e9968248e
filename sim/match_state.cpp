#include "sim/match_state.hpp"

#include "sim/collision.hpp"
#include "world/world.hpp"

namespace sim {

Match match;

} // namespace sim

void setDrawFrameHook(DrawFrameHook hook) {
    sim::match.drawFrameHook = hook;
}

void resetSimulation() {
    // Shots still listed in a grid leave it before they are freed, whether or not
    // the world has been reset already.
    for (const Projectile& shot : sim::match.projectiles) {
        RemoveFromCells(world::state.worldGrid, cellOf(shot.x), cellOf(shot.y), *shot.object);
    }
    sim::match = sim::Match{};
}
