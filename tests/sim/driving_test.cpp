#include "sim_world.hpp"

#include "sim/driving.hpp"

namespace {

// A player facing along +y, whose heading's sine is exactly 0 and cosine 1.
struct Driver {
    HumanPlayer player{2, 0};
    Driver() { player.camera = std::make_unique<Camera>(0, 0, 3072, north, 7168, 3584, 0, 131072); }
};

} // namespace

TEST(Accelerate, PushesSixteenFromRestThenMultipliesTheForwardSpeedUpToTheCap) {
    Driver d;
    std::vector<f32> speeds;
    for (int frame = 0; frame < 8; ++frame) {
        Accelerate(d.player);
        speeds.push_back(d.player.velocityY);
    }
    EXPECT_EQ(speeds, (std::vector<f32>{16, 40, 100, 250, 625, 1562.5f, 3072, 3072}));
    EXPECT_EQ(d.player.velocityX, 0.0f);
}

TEST(Accelerate, KeepsTheSidewaysComponent) {
    Driver d;
    d.player.velocityX = 100;
    d.player.velocityY = 100;
    Accelerate(d.player);
    EXPECT_EQ(d.player.velocityX, 100.0f);
    EXPECT_EQ(d.player.velocityY, 250.0f);
}

TEST(Accelerate, NitroLiftsAnySpeedAboveTheCapTo6144AndBurnsOnlyWhileAccelerating) {
    Driver d;
    d.player.nitro = 3;
    d.player.velocityY = 3072;
    Accelerate(d.player);
    EXPECT_EQ(d.player.velocityY, 6144.0f);
    EXPECT_EQ(d.player.nitro, 2);
    // 2000 grows to 5000, above the plain cap, and is set to the nitro limit.
    d.player.velocityY = 2000;
    Accelerate(d.player);
    EXPECT_EQ(d.player.velocityY, 6144.0f);
    // Below the plain cap it just grows.
    d.player.velocityY = 100;
    Accelerate(d.player);
    EXPECT_EQ(d.player.velocityY, 250.0f);
    EXPECT_EQ(d.player.nitro, 0);
    ApplyFriction(d.player); // coasting spends nothing
    EXPECT_EQ(d.player.nitro, 0);
    // Without nitro a nitro speed is cut back to the plain cap.
    d.player.velocityY = 6144;
    Accelerate(d.player);
    EXPECT_EQ(d.player.velocityY, 3072.0f);
}

TEST(Accelerate, ReversingIsImpossible) {
    Driver d;
    d.player.velocityY = -500; // pushed backwards by a bump
    Accelerate(d.player);      // forward speed below 16: the fixed push forward
    EXPECT_EQ(d.player.velocityY, -484.0f);
}

TEST(ApplyFriction, TakesATenthOfTheSpeedAndAFifthOfTheTurn) {
    Driver d;
    d.player.velocityX = 3072;
    d.player.velocityY = -16;
    ApplyFriction(d.player);
    EXPECT_EQ(d.player.velocityX, static_cast<f32>(3072 * 0.9090909090909091));
    EXPECT_EQ(d.player.velocityY, static_cast<f32>(-16 * 0.9090909090909091));

    const std::vector<std::pair<u16, u16>> turns = {
        {0, 0},        {15, 0},        {16, 12},       {1536, 1228},  {32768, 26214},
        {65521, 0},    {65520, 65524}, {64000, 64308}, {32769, 39323},
    };
    for (const auto& [before, after] : turns) {
        d.player.turnRate = before;
        ApplyFriction(d.player);
        EXPECT_EQ(d.player.turnRate, after) << "from " << before;
    }
}

TEST(Steer, TriplesTheTurnUpTo1536EitherWay) {
    Driver d;
    std::vector<u16> left;
    for (int frame = 0; frame < 7; ++frame) {
        Steer(d.player, SteerLeft);
        left.push_back(d.player.turnRate);
    }
    EXPECT_EQ(left, (std::vector<u16>{48, 144, 432, 1296, 1536, 1536, 1536}));

    d.player.turnRate = 0;
    std::vector<u16> right;
    for (int frame = 0; frame < 7; ++frame) {
        Steer(d.player, SteerRight);
        right.push_back(d.player.turnRate);
    }
    // -48, -144, -432, -1296, then the cap -1536 (64000).
    EXPECT_EQ(right, (std::vector<u16>{65488, 65392, 65104, 64240, 64000, 64000, 64000}));
}

TEST(Steer, EasesOffATurnTheOtherWayFirst) {
    Driver d;
    d.player.turnRate = maxTurnRight;
    Steer(d.player, SteerLeft);
    EXPECT_EQ(d.player.turnRate, 64308); // -1228
    d.player.turnRate = maxTurnLeft;
    Steer(d.player, SteerRight);
    EXPECT_EQ(d.player.turnRate, 1228);
    d.player.turnRate = 5;
    Steer(d.player, SteerLeft);
    EXPECT_EQ(d.player.turnRate, 48) << "a turn below 16 starts again at 16";
}

TEST(Steer, AHeldKeyAgainstFrictionSettlesBelowTheCap) {
    // One frame of a held left key: Steer, then the friction of every frame.
    Driver d;
    std::vector<u16> turns;
    for (int frame = 0; frame < 6; ++frame) {
        Steer(d.player, SteerLeft);
        ApplyFriction(d.player);
        turns.push_back(d.player.turnRate);
    }
    EXPECT_EQ(turns, (std::vector<u16>{38, 91, 218, 523, 1228, 1228}));
}
