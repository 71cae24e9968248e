#include "world/world_grid.hpp"

#include <cassert>

void WorldGrid::resize(u16 newWidth, u16 newHeight) {
    cells.clear();
    width = newWidth;
    height = newHeight;
    cells.resize(size_t{newWidth} * newHeight);
}

CellList& WorldGrid::cellFor(u32 cx, u32 cy) {
    assert(cx < width && cy < height);
    std::unique_ptr<CellList>& cell = cells[size_t{cx} * height + cy];
    if (!cell) cell = std::make_unique<CellList>();
    return *cell;
}
