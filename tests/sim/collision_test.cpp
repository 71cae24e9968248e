#include "sim_world.hpp"

#include "sim/placement.hpp"

TEST(BoxesTouch, NeedsACornerStrictlyInsideTheOtherBox) {
    const Box a{100, 100, 200, 200};
    const std::tuple<Box, Box, bool> cases[] = {
        {a, a, false},                                   // no corner strictly inside
        {a, {150, 150, 300, 300}, true},                 // b's minimum corner in a
        {a, {50, 50, 150, 150}, true},                   // b's maximum corner in a
        {a, {50, 150, 150, 250}, true},                  // a's corner (minX, maxY) in b
        {a, {150, 50, 250, 150}, true},                  // a's corner (maxX, minY) in b
        {a, {120, 120, 180, 180}, true},                 // b inside a
        {{120, 120, 180, 180}, a, true},                 // a inside b
        {a, {200, 100, 300, 200}, false},                // a shared edge
        {a, {200, 200, 300, 300}, false},                // a shared corner
        {a, {100, 150, 300, 300}, false},                // on a's edge line, no corner inside
        {{140, 0, 160, 300}, {0, 140, 300, 160}, false}, // a cross, either way round
        {{0, 140, 300, 160}, {140, 0, 160, 300}, false},
    };
    for (const auto& [first, second, touch] : cases) {
        EXPECT_EQ(BoxesTouch(first, second), touch) << first << " and " << second;
    }
}

TEST_F(SimTest, FindTouchingWalksRowsThenColumnsAndListsEachObjectOnce) {
    const Box asked{cell - 1000, cell - 1000, cell + 1000, cell + 1000}; // cells (0,0)-(1,1)
    using enum ObjectType;
    WorldObject* row1Col0 = placeBox(Block, 0, cell - 600, cell + 100, cell - 500, cell + 200);
    WorldObject* row0Col1 = placeBox(Block, 0, cell + 100, cell - 600, cell + 200, cell - 500);
    WorldObject* spanning = placeAround(Block, 0, cell, cell, 500); // first met in (0,0)
    placeAround(Block, 0, cell, cell, 10)->active = false;
    placeBox(Block, 0, 0, 0, 100, 100); // in cell (0, 0) but apart
    EXPECT_EQ(FindTouching(world::state.worldGrid, asked, nullptr),
              (std::vector<WorldObject*>{spanning, row0Col1, row1Col0}));
}

TEST_F(SimTest, PlacesOffTheGridAreTakenOnEitherSide) {
    // A mine (half-size 4096) may end exactly on the far edge, not a unit past it.
    EXPECT_TRUE(FreePlace(world::state.worldGrid, world::state.mineTemplate, {10 * cell - 4096, c3}));
    EXPECT_FALSE(FreePlace(world::state.worldGrid, world::state.mineTemplate, {10 * cell - 4095, c3}));
    EXPECT_FALSE(FreePlace(world::state.worldGrid, world::state.mineTemplate, {c3, 10 * cell - 4095}));
    // Points behind x = 0 or past the unsigned range have no place at all.
    const Camera nearEdge = playerEye(1000, 1000, east);
    EXPECT_FALSE(pointAlongHeading(nearEdge, -32768.0f));
    EXPECT_EQ(pointAlongHeading(nearEdge, -1000.5f)->x, 0u) << "cut toward zero";
    const Camera farEdge = playerEye(4294967000u, 1000, east);
    EXPECT_FALSE(pointAlongHeading(farEdge, 32768.0f));
}

TEST_F(SimTest, RemoveFromCellsLeavesTheConnectedRunHoldingTheObjectWithoutDeepRecursion) {
    WorldObject* object = placeBox(ObjectType::Block, 0, c3 - 5, c3, c3 + 5, c3 + 5);
    RemoveFromCells(world::state.worldGrid, 4, 3, *object);   // a neighbour that does not hold it
    RemoveFromCells(world::state.worldGrid, 40, 40, *object); // outside the grid
    EXPECT_TRUE(listedWhereItLies(*object));
    world::state.worldGrid.cellFor(7, 7).add(object); // a second, separate run stays
    RemoveFromCells(world::state.worldGrid, 2, 3, *object);
    EXPECT_EQ(cellsHolding(*object), (std::vector<std::pair<u32, u32>>{{7, 7}}));

    startWorld(400, 400); // a flood over 160000 cells
    WorldObject* huge = placeBox(ObjectType::Sea, 0, 0, 0, 400 * cell - 1, 400 * cell - 1);
    ASSERT_EQ(world::state.worldGrid.cell(399, 399)->object, huge);
    RemoveFromCells(world::state.worldGrid, 200, 200, *huge);
    for (const auto& list : world::state.worldGrid.cells) {
        ASSERT_TRUE(list->empty());
    }
}
