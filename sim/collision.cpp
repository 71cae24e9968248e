#include "sim/collision.hpp"

#include <algorithm>

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

std::vector<WorldObject*> FindTouching(const WorldGrid& grid, const Box& box, const WorldObject* object) {
    std::vector<WorldObject*> hits;
    const CellRange range = cellsUnder(grid, box);
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
