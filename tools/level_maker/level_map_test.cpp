// The level maker's walls: where two runs meet they must neither overlap (the
// end of one would show through the other, as walls are drawn whole) nor leave
// a gap a car or a shot could pass.
#include "tools/level_maker/level_map.hpp"

#include <gtest/gtest.h>

namespace {

constexpr unsigned square = 32768;

struct Box {
    unsigned x1, y1, x2, y2;
};

std::vector<Box> wallsOf(const std::vector<std::string>& rows) {
    LevelMap map;
    map.title = "walls";
    map.players = 0;
    map.rows = rows;
    std::vector<Box> boxes;
    for (const auto& [group, entries] : buildEntries(map, [](const std::string&) { return Footprint{}; }))
        for (const LevelEntry& e : entries)
            if (e.box) boxes.push_back({e.x, e.y, e.x2, e.y2});
    return boxes;
}

bool covered(const std::vector<Box>& boxes, unsigned x, unsigned y) {
    for (const Box& b : boxes)
        if (b.x1 <= x && x <= b.x2 && b.y1 <= y && y <= b.y2) return true;
    return false;
}

// Corners, junctions with the ring, a crossing, and a fence with a corner of its own.
const std::vector<std::string> joints = {
    "##########", "#..#.....#", "#..#..=..#", "####..=..#",
    "#..#..=..#", "#.....==.#", "#........#", "##########",
};

// Walls meet with a seal of one unit (so a car sliding along a face cannot slip
// past an end lying exactly in it), never more: a buried end would show through.
TEST(LevelMapWalls, JoinedRunsOverlapByNoMoreThanTheirSeal) {
    const std::vector<Box> boxes = wallsOf(joints);
    ASSERT_FALSE(boxes.empty());
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t k = i + 1; k < boxes.size(); ++k) {
            const Box& a = boxes[i];
            const Box& b = boxes[k];
            const bool deep = a.x1 + 1 < b.x2 && b.x1 + 1 < a.x2 && a.y1 + 1 < b.y2 && b.y1 + 1 < a.y2;
            EXPECT_FALSE(deep) << "walls " << a.x1 << ".." << a.x2 << " x " << a.y1 << ".." << a.y2 << " and "
                               << b.x1 << ".." << b.x2 << " x " << b.y1 << ".." << b.y2 << " overlap";
        }
}

TEST(LevelMapWalls, JoinedRunsLeaveNoGap) {
    const std::vector<Box> boxes = wallsOf(joints);
    const int rows = static_cast<int>(joints.size()), cols = static_cast<int>(joints[0].size());
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const char w = joints[r][c];
            if (w == '.') continue;
            const unsigned half = w == '=' ? 3200 : 4096;
            const unsigned cx = c * square + square / 2, cy = (rows - 1 - r) * square + square / 2;
            // The wall's square at the character's centre, stretched toward
            // every neighbour of the same kind, must be solid.
            const bool east = c + 1 < cols && joints[r][c + 1] == w;
            const bool north = r > 0 && joints[r - 1][c] == w;
            const unsigned x2 = east ? cx + square : cx + half, y2 = north ? cy + square : cy + half;
            for (unsigned x = cx - half; x <= x2; x += 512)
                for (unsigned y = cy - half; y <= cy + half; y += 512)
                    EXPECT_TRUE(covered(boxes, x, y)) << "gap at " << x << ", " << y;
            for (unsigned x = cx - half; x <= cx + half; x += 512)
                for (unsigned y = cy - half; y <= y2; y += 512)
                    EXPECT_TRUE(covered(boxes, x, y)) << "gap at " << x << ", " << y;
        }
}

} // namespace
