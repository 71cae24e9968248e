#pragma once
// Every contact in the game is found through the grid: an object is listed in
// the cell list of every cell its box covers, and a query looks only at the
// cells under the box it asks about.
#include "base/arithmetic.hpp"
#include "world/world_grid.hpp"
#include "world/world_object.hpp"

#include <vector>

// An axis-aligned box on the ground plane, 16.16 world units.
struct Box {
    u32 minX = 0, minY = 0;
    u32 maxX = 0, maxY = 0;
};

inline Box boxOf(const WorldObject& object) {
    return {object.minX, object.minY, object.maxX, object.maxY};
}

inline void setBox(WorldObject& object, const Box& box) {
    object.minX = box.minX;
    object.minY = box.minY;
    object.maxX = box.maxX;
    object.maxY = box.maxY;
}

// The grid cells a box covers, inclusive, cut to the grid: lastX < firstX (or
// lastY < firstY) when none of them lies inside.
struct CellRange {
    u32 firstX = 1, lastX = 0;
    u32 firstY = 1, lastY = 0;

    bool empty() const { return firstX > lastX || firstY > lastY; }
};
CellRange cellsUnder(const Box& box, const WorldGrid& grid);

// True when every cell the box covers lies inside the grid, so that the box can
// be listed in all of them. A box that wrapped (minimum above maximum) does not.
bool boxFitsGrid(i64 minX, i64 minY, i64 maxX, i64 maxY, const WorldGrid& grid);

// Box a touches box b when a corner of one lies strictly inside the other (see
// the four cases in the definition). Boxes sharing only an edge do not touch,
// nor do two boxes crossing without holding a corner of each other.
bool BoxesTouch(const Box& a, const Box& b);

// The active objects other than `object` whose boxes touch `box`, each once, in
// the order first met: rows from low to high, columns within a row, each cell's
// list in order.
std::vector<WorldObject*> FindTouching(const Box& box, const WorldObject* object,
                                       const WorldGrid& grid);
inline std::vector<WorldObject*> FindTouching(const WorldObject& object, const WorldGrid& grid) {
    return FindTouching(boxOf(object), &object, grid);
}

// Takes the object out of the run of neighbouring cells that hold it, starting
// at cell (column, row). A seed that does not hold it removes nothing.
void RemoveFromCells(WorldGrid& grid, u32 column, u32 row, const WorldObject& object);

// RemoveFromCells seeded at each cell under the box.
void RemoveFromCellsUnder(WorldGrid& grid, const Box& box, const WorldObject& object);

// Lists the object in every cell its box covers inside the grid.
void CoverCells(WorldObject& object, WorldGrid& grid);

// True when the list holds the object.
bool listHolds(const CellList& list, const WorldObject& object);
