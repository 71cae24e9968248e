#include "sim_world.hpp"

#include "sim/match_state.hpp"
#include "sim/placement.hpp"
#include "sim/update_frame.hpp"
#include "world/world.hpp"

namespace {

constexpr u32 c3 = 3 * cell;

// What the frame composition saw when UpdateFrame called it.
int framesDrawn = 0;
i16 shieldsSeen = 0;
u32 shotXSeen = 0;
void recordFrame() {
    ++framesDrawn;
    shieldsSeen = players.size() > 1 ? players[1]->shields : 0;
    shotXSeen = projectiles.empty() ? 0 : projectiles[0].x;
}

class UpdateFrameTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        framesDrawn = 0;
        setDrawFrameHook(recordFrame);
    }
};

} // namespace

TEST_F(UpdateFrameTest, WithoutPlayersOnlyTheShotsFlyAndTheFrameIsDrawn) {
    auto shot = clone(shotTemplate);
    PlaceObject(*shot, *FreePlace(*shot, {c3, c3}, worldGrid), worldGrid);
    projectiles.push_back({std::move(shot), c3, c3, east, 1.0f, 0.0f, shotSpeed, shotPower});
    UpdateFrame();
    EXPECT_EQ(framesDrawn, 1);
    EXPECT_EQ(projectiles[0].x, c3 + 4096);
    EXPECT_EQ(shotXSeen, c3 + 4096);
}

TEST_F(UpdateFrameTest, BothTurnKeysActInOneFrameLeftFirst) {
    Player& p = addPlayer(c3, c3);
    p.turnLeft = 1;
    p.turnRight = 1;
    UpdateFrame();
    // Left: 0 -> 16 -> 48; right eases it to 38; friction leaves 30.
    EXPECT_EQ(p.turnRate, 30);
    EXPECT_EQ(p.camera->heading, east + 30);
}

TEST_F(UpdateFrameTest, RequestsAreUsedUpEvenWhenTheyCannotBeCarriedOut) {
    Player& p = addPlayer(c3, c3);
    p.ammo = 0;
    p.mines = 0;
    p.fire = 1;
    p.layMine = 1;
    p.dropFlag = 1;
    UpdateFrame();
    EXPECT_EQ(p.fire, 0u);
    EXPECT_EQ(p.layMine, 0u);
    EXPECT_EQ(p.dropFlag, 0u);
    p.ammo = 5;
    p.mines = 5;
    UpdateFrame();
    EXPECT_TRUE(projectiles.empty()) << "the request did not stay pending";
    EXPECT_EQ(p.mines, 5);
}

TEST_F(UpdateFrameTest, AShotFliesInTheFrameItIsFiredAndTheFrameIsDrawnLast) {
    Player& p = addPlayer(c3, c3);
    p.fire = 1;
    UpdateFrame();
    ASSERT_EQ(projectiles.size(), 1u);
    EXPECT_EQ(projectiles[0].x, c3 + 16384 + 4096);
    EXPECT_EQ(shotXSeen, c3 + 16384 + 4096);
    EXPECT_EQ(framesDrawn, 1);
}

TEST_F(UpdateFrameTest, AMineLaidByAPlayerIsLiveForTheNextPlayersInTheSameFrame) {
    Player& layer = addPlayer(c3, c3);
    Player& victim = addPlayer(c3 - 32768 - 7000, c3);
    victim.hq = placeBox(ObjectType::Hq, 2, 9 * cell, 0, 9 * cell + 9000, 9000);
    victim.startX = 8 * cell;
    victim.startY = 8 * cell;
    victim.velocityX = 3000;
    layer.layMine = 1;
    UpdateFrame();
    EXPECT_EQ(layer.mines, 4);
    // The victim drove onto it, still thought (it turns to aim at player 1), and
    // died and came back at its start before the frame was drawn.
    EXPECT_EQ(victim.turnLeft, 1u);
    EXPECT_EQ(victim.vehicle->minX, 8 * cell - 2500);
    // The camera moves by the same step as the car's centre, which the halving
    // put one unit below the camera here.
    EXPECT_EQ(victim.camera->x, 8 * cell + 1);
    EXPECT_EQ(victim.shields, 8);
    EXPECT_EQ(shieldsSeen, 8);
    EXPECT_TRUE(listedWhereItLies(*victim.vehicle));
}

TEST_F(UpdateFrameTest, AfterAWinTheMatchGoesOn) {
    Player& p = addPlayer(c3, c3);
    winner = 0;
    p.accelerate = 1;
    UpdateFrame();
    UpdateFrame();
    EXPECT_GT(p.camera->x, c3);
    EXPECT_EQ(winner, 0);
}
