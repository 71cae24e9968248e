#include "tests/content/reachability.hpp"

#include <algorithm>
#include <deque>

bool blocksCars(const WorldObject& object) {
    switch (object.type) {
    case ObjectType::Block:
    case ObjectType::Sea:
    case ObjectType::Sand:
    case ObjectType::Hq:
    case ObjectType::Plant:
        return object.active;
    default:
        return false;
    }
}

namespace {

// Open intervals overlap: boxes that only share an edge leave room.
bool overlaps(i64 aMin, i64 aMax, i64 bMin, i64 bMax) { return aMin < bMax && bMin < aMax; }

} // namespace

DrivableArea::DrivableArea(const WorldGrid& g, u32 halfSize, u32 latticeStep)
    : grid(g), half(halfSize), step(latticeStep), columns(i64{g.width} * 65536 / latticeStep + 1),
      rows(i64{g.height} * 65536 / latticeStep + 1),
      reached(static_cast<size_t>(columns * rows), 0) {}

bool DrivableArea::blocked(i64 cx, i64 cy) const {
    const i64 minX = cx - half, maxX = cx + half, minY = cy - half, maxY = cy + half;
    const i64 firstCol = std::max<i64>(0, minX >> 16), lastCol = std::min<i64>(grid.width - 1, maxX >> 16);
    const i64 firstRow = std::max<i64>(0, minY >> 16), lastRow = std::min<i64>(grid.height - 1, maxY >> 16);
    for (i64 col = firstCol; col <= lastCol; ++col)
        for (i64 row = firstRow; row <= lastRow; ++row)
            for (const CellList* node = grid.cell(static_cast<u32>(col), static_cast<u32>(row));
                 node && node->object; node = node->next) {
                const WorldObject& o = *node->object;
                if (blocksCars(o) && overlaps(minX, maxX, o.minX, o.maxX) && overlaps(minY, maxY, o.minY, o.maxY))
                    return true;
            }
    return false;
}

void DrivableArea::floodFrom(u32 x, u32 y) {
    const i64 startCol = (x + step / 2) / step, startRow = (y + step / 2) / step;
    startWasFree = !blocked(startCol * step, startRow * step);
    if (!startWasFree) return;
    std::deque<std::pair<i64, i64>> queue{{startCol, startRow}};
    reached[static_cast<size_t>(startRow * columns + startCol)] = 1;
    while (!queue.empty()) {
        const auto [col, row] = queue.front();
        queue.pop_front();
        for (const auto& [dc, dr] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
            const i64 c = col + dc, r = row + dr;
            if (c <= 0 || r <= 0 || c >= columns - 1 || r >= rows - 1) {
                leaked = true; // the car got to the very edge of the field
                continue;
            }
            u8& seen = reached[static_cast<size_t>(r * columns + c)];
            if (seen || blocked(c * step, r * step)) continue;
            seen = 1;
            queue.emplace_back(c, r);
        }
    }
}

bool DrivableArea::touches(const WorldObject& o) const {
    const i64 reach = i64{half} + step;
    const i64 firstCol = std::max<i64>(0, (i64{o.minX} - reach) / step);
    const i64 lastCol = std::min<i64>(columns - 1, (i64{o.maxX} + reach) / step + 1);
    const i64 firstRow = std::max<i64>(0, (i64{o.minY} - reach) / step);
    const i64 lastRow = std::min<i64>(rows - 1, (i64{o.maxY} + reach) / step + 1);
    for (i64 r = firstRow; r <= lastRow; ++r)
        for (i64 c = firstCol; c <= lastCol; ++c) {
            if (!reached[static_cast<size_t>(r * columns + c)]) continue;
            const i64 x = c * step, y = r * step;
            if (overlaps(x - reach, x + reach, o.minX, o.maxX) && overlaps(y - reach, y + reach, o.minY, o.maxY))
                return true;
        }
    return false;
}
