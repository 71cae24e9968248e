#include "sim_world.hpp"

#include "sim/collision.hpp"
#include "sim/placement.hpp"
#include "world/world.hpp"

#include <cmath>

namespace {

Box box(u32 minX, u32 minY, u32 maxX, u32 maxY) { return {minX, minY, maxX, maxY}; }

} // namespace

TEST(BoxesTouch, NeedsACornerStrictlyInsideTheOtherBox) {
    const Box a = box(100, 100, 200, 200);
    EXPECT_FALSE(BoxesTouch(a, a)) << "identical boxes hold no corner strictly inside";
    EXPECT_TRUE(BoxesTouch(a, box(150, 150, 300, 300)));  // b's minimum corner in a
    EXPECT_TRUE(BoxesTouch(a, box(50, 50, 150, 150)));    // b's maximum corner in a
    EXPECT_TRUE(BoxesTouch(a, box(50, 150, 150, 250)));   // a's corner (minX, maxY) in b
    EXPECT_TRUE(BoxesTouch(a, box(150, 50, 250, 150)));   // a's corner (maxX, minY) in b
    EXPECT_TRUE(BoxesTouch(a, box(120, 120, 180, 180)));  // b inside a
    EXPECT_TRUE(BoxesTouch(box(120, 120, 180, 180), a));  // a inside b
    EXPECT_FALSE(BoxesTouch(a, box(200, 100, 300, 200))) << "a shared edge is no touch";
    EXPECT_FALSE(BoxesTouch(a, box(200, 200, 300, 300))) << "a shared corner is no touch";
    EXPECT_FALSE(BoxesTouch(a, box(300, 100, 400, 200)));
    // A cross: a tall thin box over a wide flat one, neither holding a corner.
    EXPECT_FALSE(BoxesTouch(box(140, 0, 160, 300), box(0, 140, 300, 160)));
    EXPECT_FALSE(BoxesTouch(box(0, 140, 300, 160), box(140, 0, 160, 300)));
}

TEST_F(SimTest, FindTouchingWalksRowsThenColumnsAndListsEachObjectOnce) {
    // The asking box covers cells (0,0)-(1,1).
    WorldObject self;
    self.active = true;
    const Box asked = box(cell - 1000, cell - 1000, cell + 1000, cell + 1000);
    setBox(self, asked);
    WorldObject* inRow1Col0 = placeBox(ObjectType::Block, 0, cell - 600, cell + 100, cell - 500, cell + 200);
    WorldObject* inRow0Col1 = placeBox(ObjectType::Block, 0, cell + 100, cell - 600, cell + 200, cell - 500);
    // Spans all four cells; first met in cell (0, 0).
    WorldObject* spanning = placeBox(ObjectType::Block, 0, cell - 500, cell - 500, cell + 500, cell + 500);
    WorldObject* inactive = placeBox(ObjectType::Block, 0, cell - 10, cell - 10, cell + 10, cell + 10);
    inactive->active = false;
    placeBox(ObjectType::Block, 0, 0, 0, 100, 100); // in cell (0, 0) but apart
    worldGrid.cellFor(0, 0).add(&self);

    const auto hits = FindTouching(asked, &self, worldGrid);
    EXPECT_EQ(hits, (std::vector<WorldObject*>{spanning, inRow0Col1, inRow1Col0}));
}

TEST_F(SimTest, FindTouchingLowersBoundsBeyondTheGrid) {
    WorldObject* edge = placeBox(ObjectType::Block, 0, 10 * cell - 100, 0, 10 * cell - 1, 100);
    const auto hits = FindTouching(box(10 * cell - 50, 0, 12 * cell, 50), nullptr, worldGrid);
    EXPECT_EQ(hits, std::vector<WorldObject*>{edge});
    EXPECT_TRUE(FindTouching(box(11 * cell, 0, 12 * cell, 50), nullptr, worldGrid).empty());
}

TEST_F(SimTest, RemoveFromCellsLeavesTheConnectedRunHoldingTheObject) {
    // Listed in four cells in a square: removed from all of them from any one.
    for (u32 seed = 0; seed < 4; ++seed) {
        WorldObject* object = placeBox(ObjectType::Block, 0, cell - 10, cell - 10, cell + 10, cell + 10);
        ASSERT_EQ(cellsHolding(*object).size(), 4u);
        RemoveFromCells(worldGrid, seed / 2, seed % 2, *object);
        EXPECT_TRUE(cellsHolding(*object).empty()) << "seed " << seed;
    }
    // A seed that does not hold the object removes nothing, even next to it.
    WorldObject* object = placeBox(ObjectType::Block, 0, 3 * cell, 3 * cell, 3 * cell + 5, 3 * cell + 5);
    RemoveFromCells(worldGrid, 2, 3, *object);
    RemoveFromCells(worldGrid, 40, 40, *object); // outside the grid: ignored
    EXPECT_TRUE(listedWhereItLies(*object));
    // Two separate runs: only the seeded one is left.
    worldGrid.cellFor(7, 7).add(object);
    RemoveFromCells(worldGrid, 3, 3, *object);
    EXPECT_EQ(cellsHolding(*object), (std::vector<std::pair<u32, u32>>{{7, 7}}));
}

TEST(RemoveFromCells, FloodsAHugeObjectWithoutDeepRecursion) {
    startWorld(400, 400);
    WorldObject* huge = placeBox(ObjectType::Sea, 0, 0, 0, 400 * cell - 1, 400 * cell - 1);
    ASSERT_EQ(worldGrid.cell(399, 399)->object, huge);
    RemoveFromCells(worldGrid, 200, 200, *huge);
    for (const auto& list : worldGrid.cells) {
        ASSERT_TRUE(list->empty());
    }
    endWorld();
}

TEST_F(SimTest, CoverCellsListsOnlyCellsInsideTheGrid) {
    WorldObject* object = placeBox(ObjectType::Block, 0, 9 * cell + 5, 2 * cell, 11 * cell, 2 * cell + 5);
    EXPECT_EQ(cellsHolding(*object), (std::vector<std::pair<u32, u32>>{{9, 2}}));
    WorldObject* outside = placeBox(ObjectType::Block, 0, 12 * cell, 0, 13 * cell, 5);
    EXPECT_TRUE(cellsHolding(*outside).empty());
}

TEST_F(SimTest, FreePlaceTestsTheGridEdgesAndEveryOtherActiveObject) {
    WorldObject& mine = mineTemplate; // half-size 4096
    const u32 x = 3 * cell;
    const auto place = FreePlace(mine, {x, x}, worldGrid);
    ASSERT_TRUE(place.has_value());
    EXPECT_EQ(place->minX, x - 4096);
    EXPECT_EQ(place->maxY, x + 4096);

    WorldObject* wall = placeBox(ObjectType::Block, 0, x + 4000, x - 10, x + 5000, x + 10);
    EXPECT_FALSE(FreePlace(mine, {x, x}, worldGrid));
    wall->active = false;
    EXPECT_TRUE(FreePlace(mine, {x, x}, worldGrid));

    // Ending exactly on the far edge is allowed; one unit past it is not.
    EXPECT_TRUE(FreePlace(mine, {10 * cell - 4096, x}, worldGrid));
    EXPECT_FALSE(FreePlace(mine, {10 * cell - 4095, x}, worldGrid));
    EXPECT_FALSE(FreePlace(mine, {x, 10 * cell - 4095}, worldGrid));
    // Reaching below 0 is off the grid too, not a wrap to the far side.
    EXPECT_TRUE(FreePlace(mine, {4096, x}, worldGrid));
    EXPECT_FALSE(FreePlace(mine, {4095, x}, worldGrid));
    EXPECT_FALSE(FreePlace(mine, {x, 100}, worldGrid));
}

TEST_F(SimTest, PlaceObjectMovesShapeAndBoxAndListsItInTheLoweredCells) {
    auto flag = clone(mineTemplate);
    PlaceObject(*flag, {10 * cell - 8192, cell - 4096, 10 * cell, cell + 4096}, worldGrid);
    EXPECT_EQ(flag->minX, 10 * cell - 8192);
    EXPECT_EQ(flag->polygons[0].vertices[0].x, 10 * cell - 8192);
    EXPECT_EQ(flag->polygons[0].vertices[2].y, cell + 4096);
    EXPECT_EQ(cellsHolding(*flag), (std::vector<std::pair<u32, u32>>{{9, 0}, {9, 1}}));
    RemoveFromCells(worldGrid, 9, 0, *flag);
}

TEST(PointAlongHeading, CutsTowardZeroAndRefusesPointsOffTheWorld) {
    Camera camera(100000, 200000, 3072, east, 7168, 3584, 0, 131072);
    const auto behind = pointAlongHeading(camera, -32768.0f);
    ASSERT_TRUE(behind.has_value());
    EXPECT_EQ(behind->x, 67232u);
    EXPECT_EQ(behind->y, 200000u); // cos of a quarter turn is a hair below 0: 200000.0014 cut
    Camera nearEdge(1000, 1000, 3072, east, 7168, 3584, 0, 131072);
    EXPECT_FALSE(pointAlongHeading(nearEdge, -32768.0f)) << "negative x";
    EXPECT_TRUE(pointAlongHeading(nearEdge, 32768.0f));
    Camera farEdge(4294967000u, 1000, 3072, east, 7168, 3584, 0, 131072);
    EXPECT_FALSE(pointAlongHeading(farEdge, 32768.0f)) << "past the unsigned range";
}
