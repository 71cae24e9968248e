#include "sim_world.hpp"

#include "sim/driving.hpp"

namespace {

// A player facing along +y (its heading's sine exactly 0, cosine 1) that went
// through `frames` frames of `step`; the values `read` saw after each.
template <class Step, class Read>
auto framesOf(int frames, Step step, Read read, f32 vx = 0, f32 vy = 0, u16 nitro = 0, u16 turn = 0) {
    HumanPlayer player(2, 0);
    player.camera = std::make_unique<Camera>(playerEye(0, 0, north));
    player.velocityX = vx;
    player.velocityY = vy;
    player.nitro = nitro;
    player.turnRate = turn;
    std::vector<decltype(read(player))> seen;
    for (int frame = 0; frame < frames; ++frame) {
        step(player);
        seen.push_back(read(player));
    }
    return seen;
}

using Motion = std::tuple<f32, f32, u16>; // velocity x and y, nitro
const auto motion = [](const Player& p) { return Motion{p.velocityX, p.velocityY, p.nitro}; };
const auto turn = [](const Player& p) { return p.turnRate; };
const auto accelerate = [](Player& p) { Accelerate(p); };
const auto coast = [](Player& p) { ApplyFriction(p); };
const auto left = [](Player& p) { Steer(p, SteerLeft); };
const auto right = [](Player& p) { Steer(p, SteerRight); };

} // namespace

TEST(Accelerate, PushesSixteenFromRestThenMultipliesTheForwardSpeedUpToTheCaps) {
    const auto speedY = [](const Player& p) { return p.velocityY; };
    EXPECT_EQ(framesOf(8, accelerate, speedY),
              (std::vector<f32>{16, 40, 100, 250, 625, 1562.5f, 3072, 3072}));
    // Sideways speed stays; pushed backwards only the fixed push forward acts.
    EXPECT_EQ(framesOf(1, accelerate, motion, 100, 100)[0], (Motion{100, 250, 0}));
    EXPECT_EQ(framesOf(1, accelerate, motion, 0, -500)[0], (Motion{0, -484, 0}));
    // Nitro sets any speed above 3072 to 6144 and is spent only while accelerating.
    EXPECT_EQ(framesOf(1, accelerate, motion, 0, 3072, 3)[0], (Motion{0, 6144, 2}));
    EXPECT_EQ(framesOf(1, accelerate, motion, 0, 2000, 2)[0], (Motion{0, 6144, 1}));
    EXPECT_EQ(framesOf(1, accelerate, motion, 0, 100, 1)[0], (Motion{0, 250, 0}));
    EXPECT_EQ(framesOf(1, accelerate, motion, 0, 6144, 0)[0], (Motion{0, 3072, 0}));
    EXPECT_EQ(std::get<2>(framesOf(1, coast, motion, 0, 3072, 5)[0]), 5);
}

TEST(ApplyFriction, TakesATenthOfTheSpeedAndAFifthOfTheTurn) {
    EXPECT_EQ(
        framesOf(1, coast, motion, 3072, -16)[0],
        (Motion{static_cast<f32>(3072 * 0.9090909090909091), static_cast<f32>(-16 * 0.9090909090909091), 0}));
    const std::pair<u16, u16> turns[] = {
        {0, 0},     {15, 0},        {16, 12},       {1536, 1228},   {32768, 26214},
        {65521, 0}, {65520, 65524}, {64000, 64308}, {32769, 39323},
    };
    for (const auto& [before, after] : turns) {
        EXPECT_EQ(framesOf(1, coast, turn, 0, 0, 0, before)[0], after) << "from " << before;
    }
}

TEST(Steer, TriplesTheTurnUpTo1536EitherWayAndEasesOffATurnTheOtherWayFirst) {
    // A held key starts at 16 and triples it in the same frame; 64000 is -1536.
    EXPECT_EQ(framesOf(7, left, turn), (std::vector<u16>{48, 144, 432, 1296, 1536, 1536, 1536}));
    EXPECT_EQ(framesOf(7, right, turn), (std::vector<u16>{65488, 65392, 65104, 64240, 64000, 64000, 64000}));
    // Against the friction of every frame it settles below the cap.
    const auto leftAndFriction = [](Player& p) {
        Steer(p, SteerLeft);
        ApplyFriction(p);
    };
    EXPECT_EQ(framesOf(6, leftAndFriction, turn), (std::vector<u16>{38, 91, 218, 523, 1228, 1228}));
    EXPECT_EQ(framesOf(1, left, turn, 0, 0, 0, maxTurnRight)[0], 64308); // -1536 eased to -1228
    EXPECT_EQ(framesOf(1, right, turn, 0, 0, 0, maxTurnLeft)[0], 1228);
    EXPECT_EQ(framesOf(1, left, turn, 0, 0, 0, 5)[0], 48) << "below 16 a turn starts again at 16";
}
