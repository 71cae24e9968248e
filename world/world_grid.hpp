#pragma once
// The level's playing field: width x height cells of 65536 x 65536 world units,
// each with the list of objects whose boxes touch it.
#include "base/types.hpp"
#include "world/cell_list.hpp"

#include <memory>
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
inline u32 cellOf(u32 coordinate) { return coordinate >> 16; }
