#include "sim/collision.hpp"

#include <algorithm>
#include <utility>

CellRange cellsUnder(const Box& box, const WorldGrid& grid) {
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

bool boxFitsGrid(i64 minX, i64 minY, i64 maxX, i64 maxY, const WorldGrid& grid) {
    const i64 limitX = i64{grid.width} << 16;
    const i64 limitY = i64{grid.height} << 16;
    // A box whose corner wrapped around the world has its minimum above its maximum.
    return minX >= 0 && minY >= 0 && minX <= maxX && minY <= maxY && maxX < limitX &&
           maxY < limitY;
}

bool BoxesTouch(const Box& a, const Box& b) {
    // b's minimum corner inside a
    if (a.minX < b.minX && b.minX < a.maxX && a.minY < b.minY && b.minY < a.maxY) {
        return true;
    }
    // b's maximum corner inside a
    if (a.minX < b.maxX && b.maxX < a.maxX && a.minY < b.maxY && b.maxY < a.maxY) {
        return true;
    }
    // a's corner (minX, maxY) inside b
    if (b.minX < a.minX && a.minX < b.maxX && b.minY < a.maxY && a.maxY < b.maxY) {
        return true;
    }
    // a's corner (maxX, minY) inside b
    return b.minX < a.maxX && a.maxX < b.maxX && b.minY < a.minY && a.minY < b.maxY;
}

bool listHolds(const CellList& list, const WorldObject& object) {
    for (const CellList* node = &list; node != nullptr && node->object != nullptr;
         node = node->next) {
        if (node->object == &object) {
            return true;
        }
    }
    return false;
}

std::vector<WorldObject*> FindTouching(const Box& box, const WorldObject* object,
                                       const WorldGrid& grid) {
    std::vector<WorldObject*> hits;
    const CellRange range = cellsUnder(box, grid);
    if (range.empty()) {
        return hits;
    }
    for (u32 row = range.firstY; row <= range.lastY; ++row) {
        for (u32 column = range.firstX; column <= range.lastX; ++column) {
            const CellList* list = grid.cell(column, row);
            for (; list != nullptr && list->object != nullptr; list = list->next) {
                WorldObject* other = list->object;
                if (other == object || !other->active || !BoxesTouch(box, boxOf(*other))) {
                    continue;
                }
                // An object spanning several cells counts once, where first seen.
                if (std::find(hits.begin(), hits.end(), other) == hits.end()) {
                    hits.push_back(other);
                }
            }
        }
    }
    return hits;
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
    const CellRange range = cellsUnder(box, grid);
    if (range.empty()) {
        return;
    }
    for (u32 row = range.firstY; row <= range.lastY; ++row) {
        for (u32 column = range.firstX; column <= range.lastX; ++column) {
            RemoveFromCells(grid, column, row, object);
        }
    }
}

void CoverCells(WorldObject& object, WorldGrid& grid) {
    const CellRange range = cellsUnder(boxOf(object), grid);
    if (range.empty()) {
        return;
    }
    for (u32 row = range.firstY; row <= range.lastY; ++row) {
        for (u32 column = range.firstX; column <= range.lastX; ++column) {
            grid.cellFor(column, row).add(&object);
        }
    }
}
