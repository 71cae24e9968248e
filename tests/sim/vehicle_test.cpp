#include "sim_world.hpp"

#include "sim/vehicle.hpp"
#include "world/world.hpp"

#include <cmath>

namespace {

constexpr u32 c3 = 3 * cell;

// Player 0 at (3, 3) cells facing +x with a car 5000 units square.
class VehicleTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        p = &addPlayer(c3, c3);
    }
    Player* p = nullptr;
};

} // namespace

TEST_F(VehicleTest, AStandingCarDoesNotMoveOrTouchAnything) {
    WorldObject* pak = placeAround(ObjectType::FirePak, 0, c3, c3, 100);
    EXPECT_EQ(MoveAndCollide(*p, 0), 0u);
    EXPECT_TRUE(worldOwns(pak));
    EXPECT_EQ(p->ammo, 10);
}

TEST_F(VehicleTest, AFreeMoveCarriesCameraBoxShapeAndCellsAlong) {
    p->velocityX = 3000.9f;
    p->velocityY = -200.9f;
    const u32 vertexX = p->vehicle->polygons[0].vertices[0].x;
    EXPECT_EQ(MoveAndCollide(*p, 0), 0u);
    EXPECT_EQ(p->camera->x, c3 + 3000);
    EXPECT_EQ(p->camera->y, c3 - 200);
    EXPECT_EQ(p->vehicle->minX, c3 - 2500 + 3000);
    EXPECT_EQ(p->vehicle->maxY, c3 + 2500 - 200);
    EXPECT_EQ(p->vehicle->polygons[0].vertices[0].x, vertexX + 3000);
    EXPECT_EQ(p->velocityX, 3000.9f) << "moving keeps the speed";
    // Across a cell border the car is listed in both cells, and then only in the new one.
    EXPECT_EQ(cellsHolding(*p->vehicle), (std::vector<std::pair<u32, u32>>{{3, 2}, {3, 3}}));
    p->velocityX = 0;
    p->velocityY = -3000;
    MoveAndCollide(*p, 0);
    EXPECT_EQ(cellsHolding(*p->vehicle), (std::vector<std::pair<u32, u32>>{{3, 2}}));
}

TEST_F(VehicleTest, AWallAndAPickUpInOneFrameCollectTheGoodsAndStopTheCar) {
    // The wall holds the corner of the moved car; the pick-up lies inside it.
    placeBox(ObjectType::Block, 0, c3 + 4000, c3 - 10000, c3 + 8000, c3 + 10000);
    WorldObject* pak = placeAround(ObjectType::FirePak, 0, c3 + 3000, c3 + 1000, 500);
    p->velocityX = 3000;
    EXPECT_EQ(MoveAndCollide(*p, 0), 1u);
    EXPECT_EQ(p->ammo, 20);
    EXPECT_FALSE(worldOwns(pak)) << "a collected pick-up is freed";
    EXPECT_EQ(p->camera->x, c3);
    EXPECT_EQ(p->vehicle->minX, c3 - 2500);
    EXPECT_EQ(p->velocityX, 0.0f);
    EXPECT_EQ(p->velocityY, 0.0f);
    EXPECT_TRUE(listedWhereItLies(*p->vehicle));
}

TEST_F(VehicleTest, PickUpsGiveTheirGoodsWithinTheirLimits) {
    const std::vector<WorldObject*> paks = {
        placeAround(ObjectType::HealthPak, 0, c3 + 1000, c3, 200),
        placeAround(ObjectType::MinePak, 0, c3 + 1500, c3, 200),
        placeAround(ObjectType::NitroPak, 0, c3 + 2000, c3, 200),
    };
    p->shields = 6;
    p->velocityX = 100;
    EXPECT_EQ(MoveAndCollide(*p, 0), 0u) << "collecting never blocks";
    EXPECT_EQ(p->camera->x, c3 + 100);
    EXPECT_EQ(p->shields, 8) << "6 + 4 is capped at 8";
    EXPECT_EQ(p->mines, 8);
    EXPECT_EQ(p->nitro, 128);
    for (const WorldObject* pak : paks) {
        EXPECT_FALSE(worldOwns(pak));
    }
    // At full shields a health pack is still used up.
    WorldObject* health = placeAround(ObjectType::HealthPak, 0, c3 + 2500, c3, 200);
    MoveAndCollide(*p, 0);
    EXPECT_EQ(p->shields, 8);
    EXPECT_FALSE(worldOwns(health));
}

TEST_F(VehicleTest, APlantIsFlattenedFrom1792UnitsPerFrameAndStillStopsTheCar) {
    WorldObject* plant = placeAround(ObjectType::Plant, 0, c3 + 4000, c3, 1000);
    p->velocityX = 1791.9f;
    EXPECT_EQ(MoveAndCollide(*p, 0), 1u);
    EXPECT_TRUE(worldOwns(plant));
    EXPECT_TRUE(listedWhereItLies(*plant)) << "too slow: the plant blocks like a wall";
    EXPECT_EQ(p->velocityX, 0.0f);

    p->velocityX = 1792;
    EXPECT_EQ(MoveAndCollide(*p, 0), 1u);
    EXPECT_FALSE(worldOwns(plant)) << "flattened and gone";
    EXPECT_EQ(p->camera->x, c3);
    EXPECT_EQ(p->velocityX, 0.0f);
    p->velocityX = 1792;
    EXPECT_EQ(MoveAndCollide(*p, 0), 0u) << "the way is clear now";
}

TEST_F(VehicleTest, AMineTakesEightShieldsAndDoesNotBlock) {
    WorldObject* mine = placeAround(ObjectType::Mine, 0, c3 + 3000, c3, 1000);
    p->velocityX = 1000;
    EXPECT_EQ(MoveAndCollide(*p, 0), 0u);
    EXPECT_EQ(p->shields, 0) << "full shields leave exactly 0: dead at the end of the frame";
    EXPECT_FALSE(worldOwns(mine));
    EXPECT_EQ(p->camera->x, c3 + 1000);

    placeAround(ObjectType::Mine, 0, c3 + 4000, c3, 1000);
    p->shields = 3;
    MoveAndCollide(*p, 0);
    EXPECT_EQ(p->shields, -1) << "below 0 counts as -1";
}

TEST_F(VehicleTest, AMoveOffTheGridIsBlockedOnEitherSide) {
    p->velocityX = -static_cast<f32>(c3 - 2500) - 1.0f; // would reach below 0 (a wrap to the far side)
    EXPECT_EQ(MoveAndCollide(*p, 0), 1u);
    EXPECT_EQ(p->velocityX, 0.0f);
    EXPECT_EQ(p->camera->x, c3);
    p->velocityX = -static_cast<f32>(c3 - 2500); // exactly to 0 is fine
    EXPECT_EQ(MoveAndCollide(*p, 0), 0u);
    EXPECT_EQ(p->vehicle->minX, 0u);

    // The far edge: the last unit of the grid may be covered, the next may not.
    p->velocityX = 0;
    p->velocityY = static_cast<f32>(10 * cell - 1 - p->vehicle->maxY);
    EXPECT_EQ(MoveAndCollide(*p, 0), 0u);
    EXPECT_EQ(p->vehicle->maxY, 10 * cell - 1);
    p->velocityY = 1;
    EXPECT_EQ(MoveAndCollide(*p, 0), 1u);
    EXPECT_TRUE(listedWhereItLies(*p->vehicle));
}

TEST_F(VehicleTest, AHeadOnBumpStopsTheMoverAndPassesItsSpeedOn) {
    Player& q = addPlayer(c3 + 5500, c3 + 100);
    // p drives straight at q's centre.
    const f32 length = std::sqrt(5500.0f * 5500.0f + 100.0f * 100.0f);
    p->velocityX = 3000 * 5500 / length;
    p->velocityY = 3000 * 100 / length;
    EXPECT_EQ(MoveAndCollide(*p, 0), 0u) << "a bump is not a block";
    EXPECT_EQ(p->camera->x, c3) << "the mover stays where it was this frame";
    EXPECT_EQ(p->vehicle->minX, c3 - 2500);
    EXPECT_NEAR(p->velocityX, 0, 0.5);
    EXPECT_NEAR(p->velocityY, 0, 0.5);
    EXPECT_NEAR(q.velocityX, 3000 * 5500 / length, 0.5);
    EXPECT_NEAR(q.velocityY, 3000 * 100 / length, 0.5);
}

TEST_F(VehicleTest, AGlancingBumpSplitsTheRelativeVelocityAlongAndAcrossTheLineOfCentres) {
    Player& q = addPlayer(c3 + 5500, c3 + 100);
    q.velocityY = 50;
    p->velocityX = 3000;
    MoveAndCollide(*p, 0);
    // Equal masses: momentum and energy are kept.
    EXPECT_NEAR(p->velocityX + q.velocityX, 3000, 0.01);
    EXPECT_NEAR(p->velocityY + q.velocityY, 50, 0.01);
    EXPECT_NEAR(p->velocityX * p->velocityX + p->velocityY * p->velocityY + q.velocityX * q.velocityX +
                    q.velocityY * q.velocityY,
                3000.0 * 3000 + 50 * 50, 20.0);
    // q gains only along the line of centres (5500, 100).
    EXPECT_NEAR(q.velocityX * 100, (q.velocityY - 50) * 5500, 50.0);
    // p keeps only the part across it.
    EXPECT_NEAR((p->velocityX) * 5500 + (p->velocityY - 50) * 100, 0, 50.0);
}

TEST_F(VehicleTest, ABumpWithoutADirectionLeavesTheVelocitiesAlone) {
    Player& q = addPlayer(c3 + 5500, c3 + 100);
    p->velocityX = 3000;
    q.velocityX = 3000; // no relative velocity
    EXPECT_EQ(MoveAndCollide(*p, 0), 0u);
    EXPECT_EQ(p->velocityX, 3000.0f);
    EXPECT_EQ(q.velocityX, 3000.0f);
    EXPECT_EQ(p->camera->x, c3);

    q.velocityX = 0;
    q.camera->x = c3; // both cameras at one place
    q.camera->y = c3;
    EXPECT_EQ(MoveAndCollide(*p, 0), 0u);
    EXPECT_EQ(p->velocityX, 3000.0f);
    EXPECT_EQ(q.velocityX, 0.0f);
    EXPECT_FALSE(std::isnan(p->velocityY));
}

TEST_F(VehicleTest, DeathLeavesTheFlagBehindAndPutsTheCarBackAtItsStart) {
    addPlayer(6 * cell, 6 * cell);
    ComputerPlayer& ai = computer(1);
    WorldObject* flag = placeAround(ObjectType::Flag, 1, 8 * cell, 8 * cell, 4096);
    RemoveFromCells(worldGrid, 8, 8, *flag);
    ai.carriedFlag = flag;
    ai.aiHeading = 1234;
    ai.aiPause = 99;
    // Drive and turn it somewhere else.
    ai.turnRate = 1536;
    for (int i = 0; i < 5; ++i) {
        TurnVehicle(ai);
    }
    ai.velocityX = 20000;
    ai.velocityY = 10000;
    MoveAndCollide(ai, 1);
    ASSERT_EQ(ai.camera->x, 6 * cell + 20000);
    ai.shields = 0;
    ai.ammo = 3;
    ai.nitro = 7;

    RespawnPlayers();
    EXPECT_EQ(ai.carriedFlag, nullptr);
    EXPECT_EQ(flag->minX, 6 * cell + 20000 - 4096);
    EXPECT_EQ(flag->maxY, 6 * cell + 10000 + 4096);
    EXPECT_EQ(flag->polygons[0].vertices[0].x, flag->minX) << "the shape moves with the box";
    EXPECT_TRUE(listedWhereItLies(*flag));

    EXPECT_EQ(ai.vehicle->minX, 6 * cell - 2500);
    EXPECT_EQ(ai.vehicle->maxY, 6 * cell + 2500);
    EXPECT_TRUE(listedWhereItLies(*ai.vehicle));
    EXPECT_EQ(ai.camera->x, 6 * cell);
    EXPECT_EQ(ai.camera->y, 6 * cell);
    EXPECT_EQ(ai.camera->heading, east);
    // The shape is turned back too, up to the truncation of each turn.
    EXPECT_NEAR(static_cast<f64>(ai.vehicle->polygons[0].vertices[0].x), 6.0 * cell - 2500, 8);
    EXPECT_NEAR(static_cast<f64>(ai.vehicle->polygons[0].vertices[0].y), 6.0 * cell - 2500, 8);
    EXPECT_EQ(ai.shields, 8);
    EXPECT_EQ(ai.nitro, 0);
    EXPECT_EQ(ai.ammo, 3);
    EXPECT_EQ(ai.velocityX, 0.0f);
    EXPECT_EQ(ai.turnRate, 0);
    EXPECT_EQ(ai.aiHeading, -1);
    EXPECT_EQ(ai.aiPause, 0);
    EXPECT_EQ(p->shields, 8) << "the living are left alone";
    EXPECT_EQ(p->camera->x, c3);
}

TEST_F(VehicleTest, AFlagLeftAtTheGridsEdgeIsKeptWholeInsideIt) {
    WorldObject* flag = placeAround(ObjectType::Flag, 2, 8 * cell, 8 * cell, 4096);
    RemoveFromCells(worldGrid, 8, 8, *flag);
    p->carriedFlag = flag;
    p->camera->x = 10 * cell - 1000;
    p->camera->y = 500;
    p->shields = -1;
    RespawnPlayers();
    EXPECT_EQ(flag->maxX, 10 * cell - 1);
    EXPECT_EQ(flag->minX, 10 * cell - 1 - 8192);
    EXPECT_EQ(flag->minY, 0u);
    EXPECT_EQ(flag->maxY, 8192u);
    EXPECT_TRUE(listedWhereItLies(*flag));
}

TEST_F(VehicleTest, AFlagIsPickedUpByACarWithoutOneAndBlocksACarWithOne) {
    Player& ai = addPlayer(6 * cell, 6 * cell);
    computer(1).aiHeading = 500;
    WorldObject* first = placeAround(ObjectType::Flag, 1, 6 * cell + 3000, 6 * cell, 1000);
    ai.velocityX = 1000;
    EXPECT_EQ(MoveAndCollide(ai, 1), 0u);
    EXPECT_EQ(ai.carriedFlag, first);
    EXPECT_TRUE(cellsHolding(*first).empty()) << "a carried flag is in no cell";
    EXPECT_TRUE(worldOwns(first));
    EXPECT_EQ(computer(1).aiHeading, -1) << "it heads for home next";

    WorldObject* second = placeAround(ObjectType::Flag, 1, 6 * cell + 5000, 6 * cell, 1000);
    ai.velocityX = 1000;
    EXPECT_EQ(MoveAndCollide(ai, 1), 1u);
    EXPECT_EQ(ai.carriedFlag, first);
    EXPECT_TRUE(listedWhereItLies(*second));
}
