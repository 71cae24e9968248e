#pragma once
// Where a car can drive on a level: the positions of a car's centre, on a fine
// lattice, at which its box overlaps nothing that blocks a car, and which of
// them can be reached from a start by small steps. Stricter than the game (any
// overlap counts, plants never give way), so what is reachable here is
// reachable in a match.
#include "base/types.hpp"
#include "world/world_grid.hpp"
#include "world/world_object.hpp"

#include <algorithm>
#include <deque>
#include <vector>

class DrivableArea {
  public:
    // `half`: half the side of a car's box; `step` stays below the box's side so
    // that no step jumps through a thin wall.
    DrivableArea(const WorldGrid& g, u32 half, u32 step)
        : grid(g), half(half), step(step), columns(i64{g.width} * 65536 / step + 1),
          rows(i64{g.height} * 65536 / step + 1), reached(static_cast<size_t>(columns * rows), 0) {}

    // Floods from the lattice point nearest to (x, y); reaching the edge of the
    // field means the ring of walls is open.
    void floodFrom(u32 x, u32 y) {
        const i64 startCol = (x + step / 2) / step, startRow = (y + step / 2) / step;
        startFree = !blocked(startCol * step, startRow * step);
        if (!startFree) return;
        std::deque<std::pair<i64, i64>> queue{{startCol, startRow}};
        reached[static_cast<size_t>(startRow * columns + startCol)] = 1;
        while (!queue.empty()) {
            const auto [col, row] = queue.front();
            queue.pop_front();
            for (const auto& [dc, dr] :
                 {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
                const i64 c = col + dc, r = row + dr;
                if (c <= 0 || r <= 0 || c >= columns - 1 || r >= rows - 1) {
                    leaksOut = true;
                    continue;
                }
                u8& seen = reached[static_cast<size_t>(r * columns + c)];
                if (seen || blocked(c * step, r * step)) continue;
                seen = 1;
                queue.emplace_back(c, r);
            }
        }
    }

    // True when some reached position puts the car's box within one step of
    // the object's box.
    bool touches(const WorldObject& o) const {
        const i64 reach = i64{half} + step;
        for (i64 r = 0; r < rows; ++r)
            for (i64 c = 0; c < columns; ++c)
                if (reached[static_cast<size_t>(r * columns + c)] &&
                    overlaps(c * step - reach, c * step + reach, o.minX, o.maxX) &&
                    overlaps(r * step - reach, r * step + reach, o.minY, o.maxY))
                    return true;
        return false;
    }

    bool leaksOut = false;
    bool startFree = false;

  private:
    // Open intervals: boxes that only share an edge leave room.
    static bool overlaps(i64 aMin, i64 aMax, i64 bMin, i64 bMax) { return aMin < bMax && bMin < aMax; }

    static bool blocksCars(const WorldObject& o) {
        const ObjectType t = o.type;
        return o.active && (t == ObjectType::Block || t == ObjectType::Sea || t == ObjectType::Sand ||
                            t == ObjectType::Hq || t == ObjectType::Plant);
    }

    bool blocked(i64 cx, i64 cy) const {
        const i64 minX = cx - half, maxX = cx + half, minY = cy - half, maxY = cy + half;
        for (i64 col = std::max<i64>(0, minX >> 16); col <= std::min<i64>(grid.width - 1, maxX >> 16); ++col)
            for (i64 row = std::max<i64>(0, minY >> 16); row <= std::min<i64>(grid.height - 1, maxY >> 16);
                 ++row)
                for (const CellList* node = grid.cell(u32(col), u32(row)); node && node->object;
                     node = node->next) {
                    const WorldObject& o = *node->object;
                    if (blocksCars(o) && overlaps(minX, maxX, o.minX, o.maxX) &&
                        overlaps(minY, maxY, o.minY, o.maxY))
                        return true;
                }
        return false;
    }

    const WorldGrid& grid;
    u32 half, step;
    i64 columns, rows;
    std::vector<u8> reached;
};
