#include "world/world_grid.hpp"

#include <algorithm>
#include <cassert>
#include <utility>

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

CellRange cellsUnder(const WorldGrid& grid, const Box& box) {
    CellRange range;
    if (grid.width == 0 || grid.height == 0) {
        return range;
    }
    range.firstX = cellOf(box.minX);
    range.firstY = cellOf(box.minY);
    range.lastX = std::min<u32>(cellOf(box.maxX), grid.width - 1u);
    range.lastY = std::min<u32>(cellOf(box.maxY), grid.height - 1u);
    return range;
}

bool boxFitsGrid(const WorldGrid& grid, i64 minX, i64 minY, i64 maxX, i64 maxY) {
    const i64 limitX = i64{grid.width} << 16;
    const i64 limitY = i64{grid.height} << 16;
    // A box whose corner wrapped around the world has its minimum above its maximum.
    return minX >= 0 && minY >= 0 && minX <= maxX && minY <= maxY && maxX < limitX && maxY < limitY;
}

void CoverCells(WorldGrid& grid, WorldObject& object) {
    const CellRange range = cellsUnder(grid, boxOf(object));
    if (range.empty()) {
        return;
    }
    for (u32 row = range.firstY; row <= range.lastY; ++row) {
        for (u32 column = range.firstX; column <= range.lastX; ++column) {
            grid.cellFor(column, row).add(&object);
        }
    }
}

void CoverCellsInOrder(WorldGrid& grid, std::span<WorldObject* const> objects) {
    // Each object enters once and each of its cells once, so the last node of a
    // cell's list is the only place it could already stand.
    std::vector<CellList*> lastNodes(grid.cells.size(), nullptr);
    for (WorldObject* object : objects) {
        const CellRange range = cellsUnder(grid, boxOf(*object));
        if (range.empty()) {
            continue;
        }
        for (u32 row = range.firstY; row <= range.lastY; ++row) {
            for (u32 column = range.firstX; column <= range.lastX; ++column) {
                CellList*& last = lastNodes[size_t{column} * grid.height + row];
                if (!last) last = &grid.cellFor(column, row);
                last = &CellList::appendAfter(*last, object);
            }
        }
    }
}

void RemoveFromCells(WorldGrid& grid, u32 column, u32 row, const WorldObject& object) {
    // A flood over the cells that hold the object, kept on an explicit stack so
    // that a large object on a large grid cannot overflow the call stack. A cell
    // is pushed only by a neighbour that held the object, and the object leaves
    // each cell the first time it is found there, so the flood ends.
    std::vector<std::pair<u32, u32>> pending{{column, row}};
    while (!pending.empty()) {
        const auto [cx, cy] = pending.back();
        pending.pop_back();
        CellList* list = grid.cell(cx, cy);
        if (list == nullptr || !listHolds(*list, object)) {
            continue;
        }
        list->remove(&object);
        // Pushed in reverse so that they are visited above, left, right, below.
        if (cy + 1u < grid.height) {
            pending.emplace_back(cx, cy + 1u);
        }
        if (cx + 1u < grid.width) {
            pending.emplace_back(cx + 1u, cy);
        }
        if (cx > 0) {
            pending.emplace_back(cx - 1u, cy);
        }
        if (cy > 0) {
            pending.emplace_back(cx, cy - 1u);
        }
    }
}

void RemoveFromCellsUnder(WorldGrid& grid, const Box& box, const WorldObject& object) {
    const CellRange range = cellsUnder(grid, box);
    if (range.empty()) {
        return;
    }
    for (u32 row = range.firstY; row <= range.lastY; ++row) {
        for (u32 column = range.firstX; column <= range.lastX; ++column) {
            RemoveFromCells(grid, column, row, object);
        }
    }
}
