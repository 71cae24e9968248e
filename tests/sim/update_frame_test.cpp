#include "sim_world.hpp"

#include "sim/update_frame.hpp"

namespace {

// What the frame composition saw when UpdateFrame called it.
int framesDrawn = 0;
i16 shieldsSeen = 0;
u32 shotXSeen = 0;
void recordFrame() {
    ++framesDrawn;
    shieldsSeen = world::state.players.size() > 1 ? world::state.players[1]->shields : 0;
    shotXSeen = sim::match.projectiles.empty() ? 0 : sim::match.projectiles[0].x;
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

TEST_F(UpdateFrameTest, AShotFliesInTheFrameItIsFiredAndWithoutPlayersOnlyTheShotsFly) {
    Player& p = addPlayer(c3, c3);
    p.fire = 1;
    p.accelerate = 1;
    sim::match.winner = 0; // a won match goes on until the draw side ends it
    UpdateFrame();
    EXPECT_EQ(shotXSeen, c3 + 16384 + 4096) << "flown before the frame was drawn";
    EXPECT_EQ(std::pair(p.camera->x, sim::match.winner), (std::pair<u32, i16>(c3 + 14, 0)));
    world::state.playerCount = 0;
    UpdateFrame();
    EXPECT_EQ(framesDrawn, 2);
    EXPECT_EQ(shotXSeen, c3 + 16384 + 2 * 4096);
    EXPECT_EQ(p.camera->x, c3 + 14);
}

TEST_F(UpdateFrameTest, BothTurnKeysActLeftFirstAndRequestsAreUsedUpEvenWhenTheyFail) {
    Player& p = addPlayer(c3, c3);
    p.turnLeft = 1;
    p.turnRight = 1;
    p.ammo = 0;
    p.mines = 0;
    p.fire = p.layMine = p.dropFlag = 1;
    UpdateFrame();
    // Left: 0 -> 16 -> 48; right eases it to 38; friction leaves 30.
    EXPECT_EQ(std::pair(p.turnRate, p.camera->heading), (std::pair<u16, u16>(30, east + 30)));
    EXPECT_EQ(std::tuple(p.fire, p.layMine, p.dropFlag), std::tuple(0u, 0u, 0u));
    p.ammo = 5;
    p.mines = 5;
    UpdateFrame();
    EXPECT_TRUE(sim::match.projectiles.empty()) << "the request did not stay pending";
    EXPECT_EQ(p.mines, 5);
}

TEST_F(UpdateFrameTest, ACarKilledByAShotRespawnsBeforeTheFrameIsDrawn) {
    addPlayer(c3, c3).fire = 1;
    Player& target = addPlayer(c3 + 22000, c3 + 100); // one step ahead of the shot
    target.hq = placeBox(ObjectType::Hq, 2, 9 * cell, 0, 9 * cell + 9000, 9000);
    target.shields = 2;
    target.ammo = 0;
    target.startX = target.startY = 8 * cell;
    UpdateFrame();
    EXPECT_TRUE(sim::match.projectiles.empty());
    EXPECT_EQ(target.camera->x, 8 * cell);
    EXPECT_EQ(shieldsSeen, 8);
}

TEST_F(UpdateFrameTest, AMineLaidIsLiveForLaterPlayersWhoStillThinkBeforeTheyRespawn) {
    Player& layer = addPlayer(c3, c3);
    Player& victim = addPlayer(c3 - 32768 - 7000, c3);
    victim.hq = placeBox(ObjectType::Hq, 2, 9 * cell, 0, 9 * cell + 9000, 9000);
    victim.startX = 8 * cell;
    victim.startY = 8 * cell;
    victim.velocityX = 3000;
    layer.layMine = 1;
    UpdateFrame();
    EXPECT_EQ(layer.mines, 4);
    EXPECT_EQ(victim.turnLeft, 1u) << "it turned to aim at player 1 after the hit";
    EXPECT_EQ(victim.vehicle->minX, 8 * cell - 2500);
    // The camera moves by the same step as the car's centre, which the halving
    // put one unit below the camera here.
    EXPECT_EQ(victim.camera->x, 8 * cell + 1);
    EXPECT_EQ(shieldsSeen, 8) << "respawned before the frame was drawn";
    EXPECT_TRUE(listedWhereItLies(*victim.vehicle));
}
