// The content tools' own building blocks: the hull that gives every solid
// shape its faces, and the map reader that lays out the levels.
#include "tools/level_maker/level_map.hpp"
#include "tools/shape_maker/convex_hull.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>

namespace {

V3 centroid(const std::vector<V3>& points) {
    V3 sum;
    for (const V3& p : points) sum = sum + p;
    const auto n = static_cast<std::int64_t>(points.size());
    return {sum.x / n, sum.y / n, sum.z / n};
}

// A box with points inside it and on its faces: six faces of four corners,
// each turned outward, and nothing of the points that are not corners.
TEST(ConvexHull, ABoxWithInnerAndFacePointsGivesSixOutwardQuads) {
    std::vector<V3> points;
    for (int i = 0; i < 8; ++i) points.push_back({i & 1 ? 400 : 0, i & 2 ? 300 : 0, i & 4 ? 200 : 0});
    points.push_back({200, 150, 100}); // inside
    points.push_back({200, 0, 100});   // on a face
    points.push_back({400, 150, 0});   // on an edge
    const auto faces = convexHullFaces(points);
    ASSERT_EQ(faces.size(), 6u);
    const V3 middle{200, 150, 100};
    for (const auto& face : faces) {
        EXPECT_EQ(face.size(), 4u);
        EXPECT_GT(dot(faceNormal(face), centroid(face) - middle), 0);
        // The first edge is level wherever the face has a level edge.
        EXPECT_EQ(face[0].z, face[1].z);
    }
}

TEST(ConvexHull, ATetrahedronFacesOutward) {
    const std::vector<V3> points = {{0, 0, 0}, {1000, 0, 0}, {0, 1000, 0}, {0, 0, 1000}};
    const auto faces = convexHullFaces(points);
    ASSERT_EQ(faces.size(), 4u);
    const V3 inside{250, 250, 250};
    for (const auto& face : faces) EXPECT_GT(dot(faceNormal(face), face[0] - inside), 0);
}

// Writes a map source and reads it back.
LevelMap mapOf(const std::string& rows) {
    const std::string path = ::testing::TempDir() + "content_tool_test.map";
    std::ofstream(path) << "title: Test\nplayers: 1\ncolours: FF0000\nmap:\n" << rows;
    return readLevelMap(path);
}

Footprint smallFootprint(const std::string&) { return {2000, 1000, false}; }

std::vector<LevelEntry> entriesIn(const EntryGroups& groups, const std::string& group) {
    for (const auto& [name, entries] : groups)
        if (name == group) return entries;
    return {};
}

TEST(LevelMap, WallRunsBecomeHalfCellPiecesThatMeetAtCorners) {
    const LevelMap map = mapOf("####\n#..#\n#..#\n####\n");
    const EntryGroups groups = buildEntries(map, smallFootprint);
    const auto walls = entriesIn(groups, "walls");
    ASSERT_FALSE(walls.empty());
    // The ring's bottom row (y 0..32768) runs from the middle of the first
    // character to the middle of the last, 4096 thick.
    unsigned minX = ~0u, maxX = 0;
    for (const LevelEntry& w : walls) {
        EXPECT_EQ(w.name, "brickwall");
        EXPECT_TRUE(w.box);
        EXPECT_LE(std::max(w.x2 - w.x, w.y2 - w.y), 2u * 32768);
        if (w.y == 16384 - 2048 && w.y2 == 16384 + 2048) minX = std::min(minX, w.x), maxX = std::max(maxX, w.x2);
    }
    EXPECT_EQ(minX, 16384u - 2048);
    EXPECT_EQ(maxX, 3 * 32768u + 16384 + 2048);
}

TEST(LevelMap, ObjectsAreCentredInTheirSquares) {
    const LevelMap map = mapOf("####\n#.o#\n#1.#\n####\n");
    const EntryGroups groups = buildEntries(map, smallFootprint);
    const auto stones = entriesIn(groups, "obstacles");
    ASSERT_EQ(stones.size(), 1u);
    // Column 2, row 1 of 4: its square starts at x 65536, y 2 * 32768.
    EXPECT_EQ(stones[0].x, 65536u + 16384 - 1000);
    EXPECT_EQ(stones[0].y, 65536u + 16384 - 500);
    const auto cars = entriesIn(groups, "cars");
    ASSERT_EQ(cars.size(), 1u);
    EXPECT_EQ(cars[0].owner, 1u);
}

TEST(LevelMap, BadMapsAreRefusedWithAReason) {
    EXPECT_THROW(buildEntries(mapOf("####\n#%##\n####\n####\n"), smallFootprint), std::runtime_error);
    EXPECT_THROW(buildEntries(mapOf("####\n#2.#\n#..#\n####\n"), smallFootprint), std::runtime_error);
    EXPECT_THROW(buildEntries(mapOf("####\n#?.#\n#..#\n####\n"), smallFootprint), std::runtime_error);
    EXPECT_THROW(mapOf("###\n#.#\n###\n"), std::runtime_error);
}

TEST(LevelMap, TheLevelFileStartsWithItsHeader) {
    const LevelMap map = mapOf("####\n#1.#\n#..#\n####\n");
    const std::string text = formatLevel(map, buildEntries(map, smallFootprint));
    EXPECT_EQ(text.rfind("Test\n2\n2\n1\nFF0000\n", 0), 0u);
}

} // namespace
