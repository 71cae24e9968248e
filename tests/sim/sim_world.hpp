#pragma once
// Small synthetic worlds for the simulation tests, built without data files.
#include "base/clock.hpp"
#include "sim/collision.hpp"
#include "sim/match_state.hpp"
#include "sim/vehicle.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

#include <gtest/gtest.h>

#include <algorithm>

constexpr u32 cell = 65536;
constexpr u32 c3 = 3 * cell;
constexpr u16 east = 16384; // along +x
constexpr u16 north = 0;    // along +y

inline bool operator==(const Box& a, const Box& b) {
    return a.minX == b.minX && a.minY == b.minY && a.maxX == b.maxX && a.maxY == b.maxY;
}
inline std::ostream& operator<<(std::ostream& out, const Box& b) {
    return out << "(" << b.minX << ", " << b.minY << ")-(" << b.maxX << ", " << b.maxY << ")";
}
inline Box around(u32 x, u32 y, u32 half) {
    return {x - half, y - half, x + half, y + half};
}

// A box-shaped object with one flat top polygon.
inline std::unique_ptr<WorldObject> makeBox(ObjectType type, u16 owner, const Box& b) {
    auto object = std::make_unique<WorldObject>();
    Polygon top;
    top.vertices = {
        {b.minX, b.minY, 1000}, {b.maxX, b.minY, 1000}, {b.maxX, b.maxY, 1000}, {b.minX, b.maxY, 1000}};
    object->polygons.push_back(top);
    setBox(*object, b);
    object->height = 1000;
    object->owner = owner;
    object->type = type;
    object->active = true;
    computeNormals(*object);
    return object;
}

inline void endWorld() {
    resetSimulation();
    resetWorld();
    resetClock();
}

// Fresh world, simulation and clock: a width x height grid, a mine template of
// 8192 and a shot template of 4096 units square.
inline void startWorld(u16 width, u16 height) {
    endWorld();
    world::state.worldGrid.resize(width, height);
    world::state.mineTemplate = *makeBox(ObjectType::Mine, 0, {0, 0, 8192, 8192});
    world::state.shotTemplate = *makeBox(ObjectType::Shot, 0, {0, 0, 4096, 4096});
}

// A box owned by the world and listed in every cell it covers.
inline WorldObject* placeBox(ObjectType type, u16 owner, u32 minX, u32 minY, u32 maxX, u32 maxY) {
    WorldObject* object = adoptObject(makeBox(type, owner, {minX, minY, maxX, maxY}));
    CoverCells(world::state.worldGrid, *object);
    world::state.flagCount = static_cast<u16>(world::state.flagCount + (type == ObjectType::Flag));
    return object;
}
inline WorldObject* placeAround(ObjectType type, u16 owner, u32 x, u32 y, u32 half) {
    return placeBox(type, owner, x - half, y - half, x + half, y + half);
}

// A player with a car 5000 units square centred at (x, y): the first one added
// is the human, the others computer players (or idle humans, when not `computer`).
inline Player& addPlayer(u32 x, u32 y, u16 heading = east, bool computer = true) {
    const u16 owner = static_cast<u16>(world::state.players.size() + 1);
    if (world::state.players.empty() || !computer) {
        world::state.players.push_back(std::make_unique<HumanPlayer>(3, 0x00FF0000));
    } else {
        world::state.players.push_back(std::make_unique<ComputerPlayer>(3, 0x0000FF00));
    }
    world::state.playerCount = owner;
    Player& player = *world::state.players.back();
    player.vehicle = placeAround(ObjectType::Car, owner, x, y, 2500);
    player.camera = std::make_unique<Camera>(playerEye(x, y, heading));
    player.startX = x;
    player.startY = y;
    player.world = &world::state.worldGrid;
    player.keepUnturnedShape();
    // The car's shape turns against the camera from the start heading on.
    rotate(*player.vehicle, static_cast<u16>(player.startHeading - heading));
    return player;
}

// Sets the player's velocity and moves it; the move's result (1: blocked).
inline u32 drive(Player& player, f32 vx, f32 vy = 0) {
    player.velocityX = vx;
    player.velocityY = vy;
    return MoveAndCollide(player, static_cast<u16>(player.vehicle->owner - 1));
}

// Takes a lying flag out of the grid into the player's hands.
inline WorldObject* carry(Player& player, WorldObject* flag) {
    RemoveFromCellsUnder(world::state.worldGrid, boxOf(*flag), *flag);
    return player.carriedFlag = flag;
}

// The cells whose lists hold the object, column by column.
inline std::vector<std::pair<u32, u32>> cellsHolding(const WorldObject& object) {
    std::vector<std::pair<u32, u32>> found;
    for (u32 cx = 0; cx < world::state.worldGrid.width; ++cx) {
        for (u32 cy = 0; cy < world::state.worldGrid.height; ++cy) {
            const CellList* list = world::state.worldGrid.cell(cx, cy);
            if (list != nullptr && listHolds(*list, object)) {
                found.emplace_back(cx, cy);
            }
        }
    }
    return found;
}

// Whether the object lies inside the grid and is listed exactly in the cells its
// box covers.
inline ::testing::AssertionResult listedWhereItLies(const WorldObject& object) {
    const Box box = boxOf(object);
    std::vector<std::pair<u32, u32>> covered;
    for (u32 cx = cellOf(box.minX); cx <= cellOf(box.maxX); ++cx) {
        for (u32 cy = cellOf(box.minY); cy <= cellOf(box.maxY); ++cy) {
            covered.emplace_back(cx, cy);
        }
    }
    if (boxFitsGrid(world::state.worldGrid, box.minX, box.minY, box.maxX, box.maxY) &&
        cellsHolding(object) == covered) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << box << " covers " << covered.size() << " cells, listed in " << cellsHolding(object).size();
}

// Whether the world still owns the object (it has not been freed).
inline bool worldOwns(const WorldObject* object) {
    return std::any_of(world::state.worldObjects.begin(), world::state.worldObjects.end(),
                       [object](const auto& owned) { return owned.get() == object; });
}

// A 10 x 10 world, freed after each test.
class SimTest : public ::testing::Test {
  protected:
    void SetUp() override { startWorld(10, 10); }
    void TearDown() override { endWorld(); }
};

// The same with player 0 at (3, 3) cells facing +x.
class PlayerTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        p = &addPlayer(c3, c3);
    }
    Player* p = nullptr;
};
