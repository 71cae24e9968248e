#pragma once
// Where a car can drive on a level: the positions of a car's centre, on a fine
// lattice, at which its box overlaps nothing that blocks a car, and which of
// them can be reached from a start by small steps. Stricter than the game (any
// overlap counts, plants never give way), so what is reachable here is
// reachable in a match.
#include "base/types.hpp"
#include "world/world_grid.hpp"
#include "world/world_object.hpp"

#include <vector>

class DrivableArea {
  public:
    // `halfSize`: half the side of a car's box; `step` must stay below the box's
    // side so that no step jumps through a thin wall.
    DrivableArea(const WorldGrid& grid, u32 halfSize, u32 step);

    // Floods from the lattice point nearest to (x, y).
    void floodFrom(u32 x, u32 y);

    // True when some reached position puts the car's box against or over the
    // object's box (within one step).
    bool touches(const WorldObject& object) const;
    // True when the flood reached the edge of the grid: the ring is open.
    bool leaksOut() const { return leaked; }
    // True when the start position itself is free.
    bool startFree() const { return startWasFree; }

  private:
    bool blocked(i64 cx, i64 cy) const;

    const WorldGrid& grid;
    u32 half;
    u32 step;
    i64 columns, rows;
    std::vector<u8> reached;
    bool leaked = false;
    bool startWasFree = false;
};

// Objects a car cannot drive through.
bool blocksCars(const WorldObject& object);
