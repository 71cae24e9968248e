#pragma once
// The grid's bookkeeping checks shared by the soak runs.
#include "sim_world.hpp"

#include <unordered_set>

// Every listed object is alive and lies over the cell that lists it; every car
// and shot is listed exactly where it lies, inside the grid; a carried flag is
// listed nowhere.
inline ::testing::AssertionResult gridIsSound() {
    std::unordered_set<const WorldObject*> live;
    for (const auto& object : world::state.worldObjects) {
        live.insert(object.get());
    }
    for (const Projectile& shot : sim::match.projectiles) {
        live.insert(shot.object.get());
        if (auto listed = listedWhereItLies(*shot.object); !listed) {
            return listed << " (a shot)";
        }
    }
    for (u32 cx = 0; cx < world::state.worldGrid.width; ++cx) {
        for (u32 cy = 0; cy < world::state.worldGrid.height; ++cy) {
            for (const CellList* node = world::state.worldGrid.cell(cx, cy);
                 node != nullptr && node->object != nullptr; node = node->next) {
                const WorldObject* o = node->object;
                if (!live.contains(o) || cellOf(o->minX) > cx || cellOf(o->maxX) < cx ||
                    cellOf(o->minY) > cy || cellOf(o->maxY) < cy) {
                    return ::testing::AssertionFailure()
                           << "cell " << cx << "," << cy << " lists a freed or distant object";
                }
            }
        }
    }
    for (u16 i = 0; i < world::state.playerCount; ++i) {
        if (auto listed = listedWhereItLies(*world::state.players[i]->vehicle); !listed) {
            return listed << " (car " << i << ")";
        }
        if (world::state.players[i]->carriedFlag != nullptr &&
            !cellsHolding(*world::state.players[i]->carriedFlag).empty()) {
            return ::testing::AssertionFailure() << "player " << i << "'s carried flag is listed";
        }
    }
    return ::testing::AssertionSuccess();
}
