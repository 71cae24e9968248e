#include "sim_world.hpp"

#include "base/clock.hpp"
#include "sim/computer_player.hpp"
#include "world/world.hpp"

namespace {

u32 virtualNow = 1000;
u32 virtualClock() { return virtualNow; }

constexpr u32 c7 = 7 * cell;

// The human far away at (2, 2) cells; computer player 1 at (7, 7) facing east
// with its headquarters at (9, 9).
class ComputerTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        virtualNow = 1000;
        setClockSource(virtualClock);
        human = &addPlayer(2 * cell, 2 * cell);
        addPlayer(c7, c7);
        ai = &computer(1);
        ai->hq = placeBox(ObjectType::Hq, 2, 9 * cell, 9 * cell, 9 * cell + 20000, 9 * cell + 30000);
    }
    void think(u32 blocked = 0) { ThinkComputer(*ai, blocked, *human); }
    void moveHumanTo(u32 x, u32 y) {
        human->camera->x = x;
        human->camera->y = y;
    }
    Player* human = nullptr;
    ComputerPlayer* ai = nullptr;
};

} // namespace

TEST(HeadingToward, TakesThePlainArctangentOfTheSlope) {
    const u32 c = 5 * cell;
    EXPECT_EQ(headingToward(c + 1000, c, c, c), 0) << "+x gives heading 0 (which looks along +y)";
    EXPECT_EQ(headingToward(c, c + 1000, c, c), 16384) << "straight along +y: +90 degrees";
    EXPECT_EQ(headingToward(c, c - 1000, c, c), 49152) << "straight along -y: -90 + 360";
    EXPECT_EQ(headingToward(c + 1000, c + 1000, c, c), 8192);
    EXPECT_EQ(headingToward(c - 1000, c - 1000, c, c), 8192) << "the opposite way looks the same";
    EXPECT_EQ(headingToward(c - 1000, c + 1000, c, c), 57344);
    EXPECT_EQ(headingToward(c + 2000, c + 1000, c, c), 4836);
    EXPECT_FALSE(headingToward(c, c, c, c)) << "no heading toward the own place";
}

TEST_F(ComputerTest, RunningIntoSomethingTurnsRightAndPausesTheSearch) {
    ai->aiHeading = 777;
    ai->turnLeft = 1;
    think(1);
    EXPECT_EQ(ai->aiHeading, -1);
    EXPECT_EQ(ai->aiPause, 1000);
    EXPECT_EQ(ai->turnRight, 1u);
    EXPECT_EQ(ai->turnLeft, 0u);
    EXPECT_EQ(ai->accelerate, 0u) << "nothing else is decided in that frame";
}

TEST_F(ComputerTest, APauseKeepsTheSearchOffForFourSeconds) {
    WorldObject* flag = placeAround(ObjectType::Flag, 1, 4 * cell, 8 * cell, 1000);
    think(1);
    virtualNow = 1003;
    think();
    EXPECT_EQ(ai->aiHeading, -1);
    EXPECT_EQ(ai->aiPause, 1000);
    EXPECT_EQ(ai->accelerate, 1u) << "with no target it drives on";
    virtualNow = 1004;
    think();
    EXPECT_EQ(ai->aiPause, 0);
    EXPECT_EQ(ai->aiHeading, *headingToward(flag->minX, flag->minY, c7, c7));
}

TEST_F(ComputerTest, ItHuntsTheFirstFlagOfPlayer1ColumnByColumn) {
    placeAround(ObjectType::Flag, 2, 1 * cell, 1 * cell, 1000);           // not player 1's
    placeAround(ObjectType::Flag, 1, 2 * cell + 9000, 1 * cell, 1000)->active = false;
    placeAround(ObjectType::Flag, 1, 5 * cell + 9000, 1 * cell, 1000);    // column 5
    WorldObject* first = placeAround(ObjectType::Flag, 1, 4 * cell + 9000, 8 * cell, 1000);
    think();
    EXPECT_EQ(ai->aiHeading, *headingToward(first->minX, first->minY, c7, c7));
    EXPECT_EQ(ai->aiHeading, 62097);
    // Far from the heading: it turns on the spot (left, since the target's angle is larger).
    EXPECT_EQ(ai->turnLeft, 1u);
    EXPECT_EQ(ai->turnRight, 0u);
    EXPECT_EQ(ai->velocityX, 0.0f);
    // The target stays until something clears it.
    first->active = false;
    think();
    EXPECT_EQ(ai->aiHeading, 62097);
}

TEST_F(ComputerTest, WithAForeignFlagItHeadsHomeAndItsOwnFlagItDrops) {
    WorldObject* foreign = placeAround(ObjectType::Flag, 1, 4 * cell, 4 * cell, 1000);
    RemoveFromCells(worldGrid, 4, 4, *foreign);
    ai->carriedFlag = foreign;
    think();
    const u32 hqX = (9 * cell) / 2 + (9 * cell + 20000) / 2;
    const u32 hqY = (9 * cell) / 2 + (9 * cell + 30000) / 2;
    EXPECT_EQ(ai->aiHeading, *headingToward(hqX, hqY, c7, c7));
    EXPECT_EQ(ai->dropFlag, 0u);

    WorldObject* own = placeAround(ObjectType::Flag, 2, 4 * cell, 4 * cell, 1000);
    RemoveFromCells(worldGrid, 4, 4, *own);
    ai->carriedFlag = own;
    ai->aiHeading = 1234;
    ai->aiPause = 999;
    think();
    EXPECT_EQ(ai->dropFlag, 1u) << "whatever its target and pause";
    EXPECT_EQ(ai->aiHeading, 1234);
}

TEST_F(ComputerTest, WithoutAnyTargetItSimplyDrivesOn) {
    ai->turnRate = 300;
    ai->turnLeft = 1;
    ai->brake = 1;
    think();
    EXPECT_EQ(ai->aiHeading, -1);
    EXPECT_EQ(ai->turnRate, 0);
    EXPECT_EQ(ai->turnLeft, 0u);
    EXPECT_EQ(ai->turnRight, 0u);
    EXPECT_EQ(ai->accelerate, 1u);
    EXPECT_EQ(ai->brake, 0u);
}

TEST_F(ComputerTest, CloseToPlayer1ItAimsTheOpponentsWayAndFires) {
    // Level with it to the west: the angle is 0, which counts as 270 degrees.
    moveHumanTo(c7 - 100000, c7);
    ai->camera->moveAndTurn(0, 0, static_cast<i16>(49152 - 16384 + 300));
    think();
    EXPECT_EQ(ai->aiHeading, 49152);
    EXPECT_EQ(ai->fire, 1u) << "within 500 of its heading";
    EXPECT_EQ(ai->accelerate, 0u) << "no accelerating while firing";
    EXPECT_EQ(ai->turnLeft, 0u);

    // Straight along y: 180 degrees.
    ai->fire = 0;
    moveHumanTo(c7, c7 - 100000);
    think();
    EXPECT_EQ(ai->aiHeading, 32768);
    EXPECT_EQ(ai->fire, 0u);
    EXPECT_EQ(ai->turnRight, 1u) << "its heading is above the wanted one";

    // Diagonal: atan(-1) = -45, plus 270.
    moveHumanTo(c7 - 100000, c7 - 100000);
    think();
    EXPECT_EQ(ai->aiHeading, 40960);
}

TEST_F(ComputerTest, OutOfAmmunitionItLaysMinesWithinRange) {
    ai->ammo = 0;
    moveHumanTo(c7 - 180000, c7);
    think();
    EXPECT_EQ(ai->layMine, 1u);
    EXPECT_EQ(ai->fire, 0u);
    ai->layMine = 0;
    ai->ammo = 5;
    think();
    EXPECT_EQ(ai->layMine, 0u) << "with ammunition it waits for shooting range";
    EXPECT_EQ(ai->aiHeading, -1) << "player 1 beyond 150000 is never the target";
    ai->ammo = 0;
    moveHumanTo(c7 - 200001, c7);
    think();
    EXPECT_EQ(ai->layMine, 0u);
}
