// The events a match tells: a scripted match on a small world yields every kind
// in the order it happened, about the right players and places; telling them
// changes nothing in the match.
#include "sim_world.hpp"

#include "sim/match_digest.hpp"
#include "sim/match_events.hpp"
#include "sim/update_frame.hpp"

#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<MatchEvent> heard;
void hear(const MatchEvent& event) {
    heard.push_back(event);
}

// "Kind player/other" for every event heard since the last call, one per line.
std::string told() {
    std::ostringstream out;
    for (const MatchEvent& e : heard) {
        out << matchEventName(e.kind) << ' ' << e.player;
        if (e.other != noPlayer) out << '/' << e.other;
        if (e.crate != CrateKind::None) out << " crate " << static_cast<int>(e.crate);
        out << '\n';
    }
    heard.clear();
    return out.str();
}

class MatchEventsTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        heard.clear();
        setMatchEventListener(hear);
    }
    // Steps with the velocity set afresh before each (friction takes a tenth).
    void stepsAt(Player& p, u32 steps, f32 vx, f32 vy) {
        for (u32 i = 0; i < steps; ++i) {
            p.velocityX = vx;
            p.velocityY = vy;
            UpdateFrame();
        }
    }
};

TEST_F(MatchEventsTest, AScriptedMatchTellsEveryKindInOrder) {
    Player& human = addPlayer(c3, c3);
    Player& other = addPlayer(c3 + 40000, c3, east, false);
    placeAround(ObjectType::FirePak, 0, c3, c3 + 8000, 2000);
    placeBox(ObjectType::Block, 0, c3 - 20000, c3 + 15000, c3 + 20000, c3 + 17000);
    placeAround(ObjectType::Flag, 1, c3 + 40000, c3 - 8000, 1500);
    placeAround(ObjectType::Flag, 1, 8 * cell, 8 * cell, 1500); // two flags: one wins
    other.hq = placeAround(ObjectType::Hq, 2, c3 + 40000, c3 - 20000, 3000);
    sim::match.playerChoice = 2;

    human.fire = 1;
    UpdateFrame();
    EXPECT_EQ(told(), "ShotFired 0\n");
    for (int i = 0; i < 10 && !sim::match.projectiles.empty(); ++i) UpdateFrame();
    EXPECT_EQ(told(), "ShotHitCar 1/0\n");
    EXPECT_EQ(other.shields, 6);

    human.layMine = 1;
    UpdateFrame();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(std::pair(heard[0].x, heard[0].y), std::pair(c3 - 32768, c3)) << "behind the car";
    EXPECT_EQ(told(), "MineLaid 0\n");

    // North over the crate into the wall.
    stepsAt(human, 5, 0, 4000);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_GT(heard[1].speed, 3000.0f);
    EXPECT_EQ(told(), "CrateCollected 0 crate 1\nCarHitWall 0\n");
    // Leaning on the wall at a crawl is no hit.
    stepsAt(human, 3, 0, 200);
    EXPECT_EQ(told(), "");

    // The other car goes south, takes the human's flag and scores it at home:
    // half of two flags wins.
    stepsAt(other, 4, 0, -4000);
    EXPECT_EQ(told(), "FlagPickedUp 1/0\nFlagCaptured 1/0\nMatchWon 1\n");
    EXPECT_EQ(sim::match.winner, 1);
}

TEST_F(MatchEventsTest, DeathsDropsBumpsPlantsShotMinesAndNitro) {
    Player& human = addPlayer(c3, c3);
    // Boxes touch by their corners: level with each other, cars would pass.
    Player& other = addPlayer(c3 + 9000, c3 + 1000, east, false);
    WorldObject* flag = placeAround(ObjectType::Flag, 2, 5 * cell, 5 * cell, 1500);
    carry(human, flag);

    // Into the other car: a bump, told once with how hard it was.
    stepsAt(human, 1, 4800, 0);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_NEAR(heard[0].speed, 4800 / 1.1f, 0.01f);
    EXPECT_EQ(told(), "CarsBumped 0/1\n");
    other.velocityX = other.velocityY = 0;
    human.velocityX = human.velocityY = 0;

    // The flag goes down behind the car.
    human.dropFlag = 1;
    UpdateFrame();
    EXPECT_EQ(told(), "FlagDropped 0/1\n");

    // A plant ahead, run down fast; a mine next to it.
    placeAround(ObjectType::Plant, 0, c3 - 4000, c3 + 4000, 1000);
    stepsAt(human, 1, -2000, 2000);
    EXPECT_EQ(told(), "PlantFlattened 0\n");
    // A shot through a mine and into a plant and on into a wall.
    human.camera->moveAndTurn(0, 0, static_cast<i16>(north - east)); // face +y
    placeAround(ObjectType::Mine, 0, c3, c3 + 25000, 2000);
    placeAround(ObjectType::Plant, 0, c3, c3 + 40000, 1000);
    placeBox(ObjectType::Block, 0, c3 - 20000, c3 + 60000, c3 + 20000, c3 + 68192);
    human.fire = 1;
    for (int i = 0; i < 20 && (i == 0 || !sim::match.projectiles.empty()); ++i) UpdateFrame();
    EXPECT_EQ(told(), "ShotFired 0\nMineExploded 0\nShotHitWall 0\nShotHitWall 0\n");

    // Onto a mine with a flag: out, the flag left where the car was, back home.
    carry(human, flag);
    placeAround(ObjectType::Mine, 0, c3 - 14000, c3, 2000);
    stepsAt(human, 1, -12000, 0);
    ASSERT_EQ(heard.size(), 4u);
    EXPECT_NEAR(heard[2].x, c3 - 10909, 1) << "the flag lies where the car was";
    EXPECT_NEAR(heard[3].x, c3, 1) << "back at the start";
    EXPECT_EQ(told(), "MineExploded 0\nCarDestroyed 0\nFlagDropped 0/1\nCarRespawned 0\n");

    // Nitro kicks in once, when it lifts the car past the plain top speed (going
    // south, where the way is clear).
    human.camera->moveAndTurn(0, 0, static_cast<i16>(east));
    human.nitro = 50;
    human.accelerate = 1;
    for (int i = 0; i < 8; ++i) UpdateFrame();
    EXPECT_EQ(told(), "NitroOn 0\n");
}

TEST_F(MatchEventsTest, AShotBlockedAtTheMuzzleIsFiredAndHitsAtOnce) {
    Player& human = addPlayer(c3, c3);
    placeAround(ObjectType::Block, 0, c3 + 16384, c3, 3000);
    human.fire = 1;
    UpdateFrame();
    EXPECT_EQ(told(), "ShotFired 0\nShotHitWall 0\n");
    EXPECT_EQ(human.ammo, 9);
}

} // namespace
