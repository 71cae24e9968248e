#pragma once
// Every contact in the game is found through the grid: an object is listed in
// the cell list of every cell its box covers (world/world_grid.hpp), and a query
// looks only at the cells under the box it asks about. Like the grid's own
// operations, each takes the grid first.
#include "base/arithmetic.hpp"
#include "world/world_grid.hpp"
#include "world/world_object.hpp"

#include <vector>

// Box a touches box b when a corner of one lies strictly inside the other (see
// the four cases in the definition). Boxes sharing only an edge do not touch,
// nor do two boxes crossing without holding a corner of each other.
bool BoxesTouch(const Box& a, const Box& b);

// The active objects other than `object` whose boxes touch `box`, each once, in
// the order first met: rows from low to high, columns within a row, each cell's
// list in order.
std::vector<WorldObject*> FindTouching(const WorldGrid& grid, const Box& box, const WorldObject* object);
inline std::vector<WorldObject*> FindTouching(const WorldGrid& grid, const WorldObject& object) {
    return FindTouching(grid, boxOf(object), &object);
}
