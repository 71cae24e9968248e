#pragma once
// Small synthetic worlds for the simulation tests: box-shaped objects of any type
// listed in a grid, and players with cars and cameras, built without data files.
#include "base/types.hpp"
#include "sim/collision.hpp"
#include "sim/player.hpp"
#include "world/world_object.hpp"

#include <gtest/gtest.h>

// One grid cell in world units.
constexpr u32 cell = 65536;
// Heading along +x and along +y.
constexpr u16 east = 16384;
constexpr u16 north = 0;

// Fresh world, simulation and clock: a grid of width x height empty cells, a mine
// template of 8192 and a shot template of 4096 units square.
void startWorld(u16 width, u16 height);
// Everything freed again.
void endWorld();

// A box-shaped object (one flat top polygon), owned by the world and listed in
// every grid cell its box covers.
WorldObject* placeBox(ObjectType type, u16 owner, u32 minX, u32 minY, u32 maxX, u32 maxY);
// The same centred at (x, y) with the given half-size.
WorldObject* placeAround(ObjectType type, u16 owner, u32 x, u32 y, u32 half);

// A player with a car of half-size `half` centred at (x, y) facing `heading`:
// the first one added is the human, the others computer players.
Player& addPlayer(u32 x, u32 y, u16 heading = east, u32 half = 2500);
ComputerPlayer& computer(u16 index);

// The cells of the grid whose lists hold the object.
std::vector<std::pair<u32, u32>> cellsHolding(const WorldObject& object);
// The cells the box covers inside the grid, column-major like cellsHolding.
std::vector<std::pair<u32, u32>> cellsCovered(const Box& box);
// Whether the object is listed exactly in the cells its box covers.
::testing::AssertionResult listedWhereItLies(const WorldObject& object);

// Whether the world still owns the object (it has not been freed).
bool worldOwns(const WorldObject* object);

// Test fixture: a 10 x 10 world, freed after each test.
class SimTest : public ::testing::Test {
protected:
    void SetUp() override { startWorld(10, 10); }
    void TearDown() override { endWorld(); }
};
