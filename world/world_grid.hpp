#pragma once
// The level's playing field: width x height cells of 65536 x 65536 world units,
// each with the list of objects whose boxes touch it, and the operations that
// list objects in the cells and take them out again.
//
// Every operation takes the grid first, then the place (a cell, or a box, or a
// range of cells), then the object or objects. Those that change the lists are
// named with the game's own capitalised verbs (CoverCells, RemoveFromCells);
// questions that only read are in lower camel case (cellsUnder, boxFitsGrid).
#include "base/types.hpp"
#include "world/cell_list.hpp"
#include "world/world_object.hpp"

#include <memory>
#include <span>
#include <vector>

struct WorldGrid {
    u16 width = 0;  // cells along x
    u16 height = 0; // cells along y
    // Cell (cx, cy) is cells[cx * height + cy]; null while the cell never held an object.
    std::vector<std::unique_ptr<CellList>> cells;

    // Empties the grid and gives it width x height cells without lists.
    void resize(u16 newWidth, u16 newHeight);

    // The cell's list, or null (also for a cell outside the grid).
    CellList* cell(u32 cx, u32 cy) const {
        return cx < width && cy < height ? cells[cx * height + cy].get() : nullptr;
    }
    // The cell's list, created empty when the cell has none. The cell must lie inside the grid.
    CellList& cellFor(u32 cx, u32 cy);
};

// The cell of a world coordinate.
inline u32 cellOf(u32 coordinate) {
    return coordinate >> 16;
}

// The grid cells a box covers, inclusive, cut to the grid: lastX < firstX (or
// lastY < firstY) when none of them lies inside.
struct CellRange {
    u32 firstX = 1, lastX = 0;
    u32 firstY = 1, lastY = 0;

    bool empty() const { return firstX > lastX || firstY > lastY; }
    // The number of cells in the range.
    u64 count() const { return empty() ? 0 : u64{lastX - firstX + 1} * (lastY - firstY + 1); }
};
CellRange cellsUnder(const WorldGrid& grid, const Box& box);

// True when every cell the box covers lies inside the grid, so that the box can
// be listed in all of them. A box that wrapped (minimum above maximum) does not.
bool boxFitsGrid(const WorldGrid& grid, i64 minX, i64 minY, i64 maxX, i64 maxY);

// Lists the object in every cell its box covers inside the grid, once in each.
void CoverCells(WorldGrid& grid, WorldObject& object);

// Lists the objects, in order, in every cell their boxes cover inside the grid,
// filling each cell's list from its last node: one step for each entry made,
// where CoverCells walks each list. None of them may be listed in the grid yet.
void CoverCellsInOrder(WorldGrid& grid, std::span<WorldObject* const> objects);

// Takes the object out of the run of neighbouring cells that hold it, starting
// at cell (column, row). A seed that does not hold it removes nothing.
void RemoveFromCells(WorldGrid& grid, u32 column, u32 row, const WorldObject& object);

// RemoveFromCells seeded at each cell under the box.
void RemoveFromCellsUnder(WorldGrid& grid, const Box& box, const WorldObject& object);
