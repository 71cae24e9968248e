#include "sim_world.hpp"

#include "sim/computer_player.hpp"

#include <cmath>
#include <optional>
#include <tuple>

namespace {

u32 virtualNow = 1000;
u32 virtualClock() {
    return virtualNow;
}

constexpr u32 c7 = 7 * cell;

// The human at (2, 2) cells; computer player 1 at (7, 7) facing east with its
// headquarters at (9, 9).
class ComputerTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        virtualNow = 1000;
        setClockSource(virtualClock);
        human = &addPlayer(2 * cell, 2 * cell);
        ai = static_cast<ComputerPlayer*>(&addPlayer(c7, c7));
        ai->hq = placeBox(ObjectType::Hq, 2, 9 * cell, 9 * cell, 9 * cell + 20000, 9 * cell + 3000);
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

// Targets on the four axes and in the four quadrants: the heading drives the car
// (along (sin h, cos h)) straight at each, to the 16-bit step.
TEST(HeadingToward, DrivesStraightAtTheTargetFromEverySide) {
    const u32 c = 5 * cell;
    const std::tuple<i32, i32, i32> cases[] = {
        {0, 1000, 0},        {1000, 0, 16384},     {0, -1000, 32768},       {-1000, 0, 49152},
        {1000, 1000, 8192},  {1000, -1000, 24576}, {-1000, -1000, 40960},   {-1000, 1000, 57344},
        {2000, 1000, 11547}, {1, -300000, 32767},  {-188608, 64536, 52590},
    };
    for (const auto& [dx, dy, expected] : cases) {
        SCOPED_TRACE(testing::Message() << "target at " << dx << ", " << dy);
        const std::optional<i32> heading = headingToward(c + dx, c + dy, c, c);
        ASSERT_TRUE(heading.has_value());
        EXPECT_EQ(*heading, expected);
        const f64 angle = *heading * 2 * 3.141592653589793 / 65536;
        const f64 along = (std::sin(angle) * dx + std::cos(angle) * dy) / std::hypot(dx, dy);
        EXPECT_GT(along, std::cos(2 * 3.141592653589793 / 65536)) << "drives within one step of it";
    }
}

TEST(HeadingToward, GivesNoneAtTheOwnPlaceAndStaysWithinSixteenBits) {
    const u32 c = 5 * cell;
    EXPECT_EQ(headingToward(c, c, c, c), std::nullopt);
    // A hair west of straight ahead, very far: 360 degrees in single precision.
    EXPECT_EQ(headingToward(c - 1, 4'000'000'000u, c, c), 0);
}

TEST_F(ComputerTest, RunningIntoSomethingTurnsRightAndKeepsTheSearchOffForFourSeconds) {
    WorldObject* flag = placeAround(ObjectType::Flag, 1, 4 * cell, 8 * cell, 1000);
    ai->aiHeading = 777;
    ai->turnLeft = 1;
    think(1);
    EXPECT_EQ(std::pair(ai->aiHeading, ai->aiPause), std::pair(-1, 1000));
    EXPECT_EQ(std::tuple(ai->turnLeft, ai->turnRight, ai->accelerate), std::tuple(0u, 1u, 0u));
    // Without a target it stops turning and drives on.
    virtualNow = 1003;
    ai->turnRate = 300;
    ai->brake = 1;
    think();
    EXPECT_EQ(std::pair(ai->aiHeading, ai->aiPause), std::pair(-1, 1000));
    EXPECT_EQ(ai->turnRate, 0);
    EXPECT_EQ(std::tuple(ai->turnLeft, ai->turnRight, ai->accelerate, ai->brake), std::tuple(0u, 0u, 1u, 0u));
    virtualNow = 1004;
    think();
    EXPECT_EQ(ai->aiPause, 0);
    EXPECT_EQ(ai->aiHeading, *headingToward(flag->minX, flag->minY, c7, c7));
}

TEST_F(ComputerTest, ItHuntsTheFirstFlagOfPlayer1ColumnByColumnAndTurnsOnTheSpot) {
    placeAround(ObjectType::Flag, 2, 1 * cell, 1 * cell, 1000); // not player 1's
    placeAround(ObjectType::Flag, 1, 2 * cell + 9000, 1 * cell, 1000)->active = false;
    placeAround(ObjectType::Flag, 1, 5 * cell + 9000, 1 * cell, 1000); // column 5
    WorldObject* first = placeAround(ObjectType::Flag, 1, 4 * cell + 9000, 8 * cell, 1000);
    ai->velocityX = 16;
    think();
    EXPECT_EQ(ai->aiHeading, 52590);
    EXPECT_EQ(ai->aiHeading, *headingToward(first->minX, first->minY, c7, c7));
    // Far from that heading it turns left (the target's angle is larger) and stands.
    EXPECT_EQ(std::tuple(ai->turnLeft, ai->turnRight, ai->velocityX), std::tuple(1u, 0u, 0.0f));
    first->active = false;
    think();
    EXPECT_EQ(ai->aiHeading, 52590) << "the target stays until something clears it";
}

TEST_F(ComputerTest, WithAForeignFlagItHeadsHomeAndItsOwnFlagItDrops) {
    carry(*ai, placeAround(ObjectType::Flag, 1, 4 * cell, 4 * cell, 1000));
    think();
    EXPECT_EQ(ai->aiHeading, *headingToward((9 * cell) / 2 + (9 * cell + 20000) / 2,
                                            (9 * cell) / 2 + (9 * cell + 3000) / 2, c7, c7));
    EXPECT_EQ(ai->dropFlag, 0u);
    carry(*ai, placeAround(ObjectType::Flag, 2, 4 * cell, 4 * cell, 1000));
    ai->aiHeading = 1234;
    ai->aiPause = 999;
    think();
    EXPECT_EQ(ai->dropFlag, 1u) << "whatever its target and pause";
    EXPECT_EQ(ai->aiHeading, 1234);
}

TEST_F(ComputerTest, CloseToPlayer1ItAimsTheOpponentsWayAndFires) {
    // Level with it to the west: the angle is 0, which counts as 270 degrees.
    moveHumanTo(c7 - 100000, c7);
    ai->camera->moveAndTurn(0, 0, static_cast<i16>(49152 - 16384 + 300));
    think();
    EXPECT_EQ(ai->aiHeading, 49152);
    EXPECT_EQ(ai->fire, 1u) << "within 500 of its heading";
    EXPECT_EQ(std::pair(ai->accelerate, ai->turnLeft), std::pair(0u, 0u)) << "firing, not driving";
    // Straight along y: 180 degrees, too far to fire; its heading is above the wanted one.
    ai->fire = 0;
    moveHumanTo(c7, c7 - 100000);
    think();
    EXPECT_EQ(ai->aiHeading, 32768);
    EXPECT_EQ(std::pair(ai->fire, ai->turnRight), std::pair(0u, 1u));
    moveHumanTo(c7 - 100000, c7 - 100000); // atan(-1) = -45, plus 270
    think();
    EXPECT_EQ(ai->aiHeading, 40960);
}

TEST_F(ComputerTest, OutOfAmmunitionItLaysMinesWithinRange) {
    ai->ammo = 0;
    moveHumanTo(c7 - 180000, c7);
    think();
    EXPECT_EQ(std::pair(ai->layMine, ai->fire), std::pair(1u, 0u));
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
