#include "sim_world.hpp"

#include <cmath>

using VehicleTest = PlayerTest;

TEST_F(VehicleTest, AWallAndPickUpsInOneFrameCollectTheGoodsAndStopTheCar) {
    using enum ObjectType;
    placeBox(Block, 0, c3 + 4000, c3 - 10000, c3 + 8000, c3 + 10000);
    std::vector<WorldObject*> paks;
    for (const auto& [type, x] : {std::pair{FirePak, 3500},
                                  {HealthPak, 4000},
                                  {MinePak, 4500},
                                  {NitroPak, 5000},
                                  {HealthPak, 5600}}) {
        paks.push_back(placeAround(type, 0, c3 + x, c3 + 1000, 200));
    }
    p->shields = 6;
    EXPECT_EQ(drive(*p, 3000, 10), 1u);
    EXPECT_EQ(std::tuple(p->ammo, p->mines, p->nitro), (std::tuple<u16, u16, u16>(20, 8, 128)));
    EXPECT_EQ(p->shields, 8) << "6 + 4 + 4 is capped at 8";
    for (const WorldObject* pak : paks) {
        EXPECT_FALSE(worldOwns(pak)) << "collected and freed, at full shields too";
    }
    EXPECT_EQ(p->camera->x, c3);
    EXPECT_EQ(boxOf(*p->vehicle), around(c3, c3, 2500));
    EXPECT_EQ(std::pair(p->velocityX, p->velocityY), std::pair(0.0f, 0.0f));
}

TEST_F(VehicleTest, AMineTakesEightShieldsAndNeitherItNorAPickUpBlocksTheMove) {
    WorldObject* mine = placeAround(ObjectType::Mine, 0, c3 + 3000, c3, 1000);
    placeAround(ObjectType::FirePak, 0, c3 + 3000, c3 + 2000, 200);
    const u32 vertexX = p->vehicle->polygons[0].vertices[0].x;
    EXPECT_EQ(drive(*p, 1000.9f, -20.9f), 0u);
    EXPECT_EQ(p->shields, 0) << "full shields leave exactly 0: dead at the end of the frame";
    EXPECT_FALSE(worldOwns(mine));
    EXPECT_EQ(p->ammo, 20);
    EXPECT_EQ(std::pair(p->camera->x, p->camera->y), std::pair(c3 + 1000, c3 - 20));
    EXPECT_EQ(boxOf(*p->vehicle), around(c3 + 1000, c3 - 20, 2500));
    EXPECT_EQ(p->vehicle->polygons[0].vertices[0].x, vertexX + 1000);
    EXPECT_EQ(p->velocityX, 1000.9f) << "a free move keeps the speed";
    placeAround(ObjectType::Mine, 0, c3 + 4000, c3, 1000);
    p->shields = 3;
    drive(*p, 1000);
    EXPECT_EQ(p->shields, -1) << "below 0 counts as -1";
}

TEST_F(VehicleTest, APlantIsFlattenedFrom1792UnitsPerFrameAndStillStopsTheCar) {
    WorldObject* plant = placeAround(ObjectType::Plant, 0, c3 + 4000, c3, 1000);
    EXPECT_EQ(drive(*p, 1791.9f), 1u);
    EXPECT_TRUE(listedWhereItLies(*plant)) << "too slow: the plant blocks like a wall";
    EXPECT_EQ(p->velocityX, 0.0f);
    EXPECT_EQ(drive(*p, 1792), 1u);
    EXPECT_FALSE(worldOwns(plant)) << "flattened and freed";
    EXPECT_EQ(std::pair(p->camera->x, p->velocityX), std::pair(c3, 0.0f));
    EXPECT_EQ(drive(*p, 1792), 0u) << "the way is clear now";
}

TEST_F(VehicleTest, AMoveOffTheGridIsBlockedOnEitherSide) {
    // Below 0 would wrap to the far side; exactly to 0 is fine.
    EXPECT_EQ(drive(*p, -static_cast<f32>(c3 - 2500) - 1.0f), 1u);
    EXPECT_EQ(std::pair(p->camera->x, p->velocityX), std::pair(c3, 0.0f));
    EXPECT_EQ(drive(*p, -static_cast<f32>(c3 - 2500)), 0u);
    EXPECT_EQ(p->vehicle->minX, 0u);
    // The last unit of the grid may be covered, the next may not.
    EXPECT_EQ(drive(*p, 0, static_cast<f32>(10 * cell - 1 - p->vehicle->maxY)), 0u);
    EXPECT_EQ(drive(*p, 0, 1), 1u);
    EXPECT_EQ(p->vehicle->maxY, 10 * cell - 1);
    EXPECT_TRUE(listedWhereItLies(*p->vehicle));
}

TEST_F(VehicleTest, ACarWhoseBoxWrapsBelowZeroCannotDriveOffTheGrid) {
    // A car at (0, 0): the low corner of its box wraps to the top of the world,
    // so no cell lists it; every move, outward or inward, would leave the grid.
    Player& q = addPlayer(0, 0);
    ASSERT_GT(q.vehicle->minX, q.vehicle->maxX);
    for (const auto& [vx, vy] : {std::pair(1000.0f, 0.0f), {-1000.0f, 0.0f}, {0.0f, 3000.0f}}) {
        EXPECT_EQ(drive(q, vx, vy), 1u);
        EXPECT_EQ(std::pair(q.camera->x, q.camera->y), std::pair(0u, 0u));
        EXPECT_EQ(q.velocityX, 0.0f);
    }
    EXPECT_TRUE(cellsHolding(*q.vehicle).empty());
}

TEST_F(VehicleTest, ABumpHandsOnTheSpeedAlongTheLineOfCentresAndKeepsTheRest) {
    Player& q = addPlayer(c3 + 5500, c3 + 100);
    const f32 length = std::sqrt(5500.0f * 5500.0f + 100.0f * 100.0f);
    const f32 vx = 3000 * 5500 / length, vy = 3000 * 100 / length; // straight at q's centre
    EXPECT_EQ(drive(*p, vx, vy), 0u) << "a bump is no block";
    EXPECT_EQ(boxOf(*p->vehicle), around(c3, c3, 2500)) << "the mover stays this frame";
    EXPECT_NEAR(p->velocityX, 0, 0.5);
    EXPECT_NEAR(p->velocityY, 0, 0.5);
    EXPECT_NEAR(q.velocityX, vx, 0.5);
    EXPECT_NEAR(q.velocityY, vy, 0.5);
    // Glancing: momentum is kept, q gains only along (5500, 100), p keeps the part across.
    q.velocityX = 0;
    q.velocityY = 50;
    drive(*p, 3000);
    EXPECT_NEAR(p->velocityX + q.velocityX, 3000, 0.01);
    EXPECT_NEAR(p->velocityY + q.velocityY, 50, 0.01);
    EXPECT_NEAR(q.velocityX * 100, (q.velocityY - 50) * 5500, 50.0);
    EXPECT_NEAR(p->velocityX * 5500 + (p->velocityY - 50) * 100, 0, 50.0);
}

TEST_F(VehicleTest, ABumpWithoutADirectionLeavesTheVelocitiesAlone) {
    Player& q = addPlayer(c3 + 5500, c3 + 100);
    q.velocityX = 3000; // no relative velocity
    EXPECT_EQ(drive(*p, 3000), 0u);
    EXPECT_EQ(std::tuple(p->camera->x, p->velocityX, q.velocityX), std::tuple(c3, 3000.0f, 3000.0f));
    q.velocityX = 0;
    q.camera->x = c3; // both cameras at one place
    q.camera->y = c3;
    EXPECT_EQ(drive(*p, 3000), 0u);
    EXPECT_EQ(std::tuple(p->velocityX, p->velocityY, q.velocityX), std::tuple(3000.0f, 0.0f, 0.0f));
}

TEST_F(VehicleTest, DeathLeavesTheFlagWhereTheCarStoodAndPutsTheCarBackAtItsStart) {
    auto& ai = static_cast<ComputerPlayer&>(addPlayer(6 * cell, 6 * cell));
    WorldObject* flag = carry(ai, placeAround(ObjectType::Flag, 1, 8 * cell, 8 * cell, 4096));
    ai.aiHeading = 1234;
    ai.aiPause = 99;
    ai.turnRate = 1536;
    for (int frame = 0; frame < 5; ++frame) {
        TurnVehicle(ai);
    }
    drive(ai, 20000, 10000);
    ai.shields = 0;
    ai.nitro = 7;
    ai.ammo = 3;
    RespawnPlayers();
    EXPECT_EQ(ai.carriedFlag, nullptr);
    EXPECT_EQ(boxOf(*flag), around(6 * cell + 20000, 6 * cell + 10000, 4096));
    EXPECT_TRUE(listedWhereItLies(*flag));
    EXPECT_EQ(boxOf(*ai.vehicle), around(6 * cell, 6 * cell, 2500));
    EXPECT_TRUE(listedWhereItLies(*ai.vehicle));
    EXPECT_EQ(std::tuple(ai.camera->x, ai.camera->y, ai.camera->heading),
              std::tuple(6 * cell, 6 * cell, east));
    // The shape is turned back too, up to the truncation of each turn.
    EXPECT_NEAR(static_cast<f64>(ai.vehicle->polygons[0].vertices[0].x), 6.0 * cell - 2500, 8);
    EXPECT_NEAR(static_cast<f64>(ai.vehicle->polygons[0].vertices[0].y), 6.0 * cell - 2500, 8);
    EXPECT_EQ(std::tuple(ai.shields, ai.nitro, ai.ammo), (std::tuple<i16, u16, u16>(8, 0, 3)));
    EXPECT_EQ(std::tuple(ai.velocityX, ai.turnRate, ai.aiHeading, ai.aiPause),
              (std::tuple<f32, u16, i32, i32>(0, 0, -1, 0)));
    EXPECT_EQ(p->camera->x, c3) << "the living are left alone";
}

TEST_F(VehicleTest, AFlagLeftAtTheGridsEdgeIsKeptWholeInsideIt) {
    WorldObject* flag = carry(*p, placeAround(ObjectType::Flag, 2, 8 * cell, 8 * cell, 4096));
    p->camera->x = 10 * cell - 1000;
    p->camera->y = 500;
    p->shields = -1;
    RespawnPlayers();
    EXPECT_EQ(boxOf(*flag), (Box{10 * cell - 1 - 8192, 0, 10 * cell - 1, 8192}));
    EXPECT_TRUE(listedWhereItLies(*flag));
}

// A car turning on the spot for minutes keeps its shape: every turn starts from
// the loaded shape, so truncation cannot wear the car down to a line.
TEST_F(VehicleTest, TurningForLongKeepsTheCarsShape) {
    const std::vector<Polygon> loaded = p->vehicle->polygons;
    const auto width = [](const WorldObject& car) {
        u32 low = ~0u, high = 0;
        for (const Polygon& polygon : car.polygons)
            for (const Vertex& v : polygon.vertices) low = std::min(low, v.x), high = std::max(high, v.x);
        return high - low;
    };
    const u32 loadedWidth = width(*p->vehicle);
    p->turnRate = 300;
    for (int step = 0; step < 8000; ++step) TurnVehicle(*p);
    EXPECT_NEAR(static_cast<double>(width(*p->vehicle)), loadedWidth, 2.0 * loadedWidth / 3)
        << "turned about 37 times round, still a car, not a line";
    // Back at the start heading after a whole number of turns: exactly as loaded.
    p->turnRate = static_cast<u16>(p->startHeading - p->camera->heading);
    TurnVehicle(*p);
    ASSERT_EQ(p->camera->heading, p->startHeading);
    for (size_t i = 0; i < loaded.size(); ++i)
        for (size_t k = 0; k < loaded[i].vertices.size(); ++k)
            EXPECT_EQ(std::pair(p->vehicle->polygons[i].vertices[k].x, p->vehicle->polygons[i].vertices[k].y),
                      std::pair(loaded[i].vertices[k].x, loaded[i].vertices[k].y));
}
