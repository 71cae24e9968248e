#include "sim_world.hpp"

#include "sim/flags.hpp"
#include "sim/update_frame.hpp"

namespace {

// Players 0 and 1 at (3, 3) and (3, 6) cells, each with its headquarters right
// ahead (east) of its car: a move of 2000 reaches it.
class FlagTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        for (u16 i = 0; i < 2; ++i) {
            const u32 y = (3 + 3 * i) * cell;
            addPlayer(c3, y).hq = placeBox(ObjectType::Hq, static_cast<u16>(i + 1), c3 + 4000, y - 10000,
                                           c3 + 20000, y + 10000);
        }
    }
    // A flag of `owner` lying in the far corner of the grid.
    WorldObject* flagOf(u16 owner) { return placeAround(ObjectType::Flag, owner, 8 * cell, 8 * cell, 4096); }
};

} // namespace

TEST_F(FlagTest, CapturesScoreFreeTheFlagAndBlockAndTwoPlayersWinWithHalfTheFlags) {
    Player& p = *world::state.players[0];
    std::vector<WorldObject*> flags; // four of player 1, three of player 0
    for (int i = 0; i < 7; ++i) {
        flags.push_back(flagOf(i < 4 ? 2 : 1));
    }
    for (u16 capture = 1; capture <= 3; ++capture) {
        EXPECT_EQ(sim::match.winner, -1) << "before capture " << capture;
        carry(p, flags[capture]);
        EXPECT_EQ(drive(p, 2000), 1u) << "the capture blocks the move";
        EXPECT_EQ(p.flagScores, (std::vector<u16>{0, 0, capture, 0}));
        EXPECT_EQ(p.carriedFlag, nullptr);
        EXPECT_FALSE(worldOwns(flags[capture]));
        EXPECT_EQ(std::pair(p.camera->x, p.velocityX), std::pair(c3, 0.0f));
    }
    EXPECT_EQ(sim::match.winner, 0) << "7 flags: 3 captures win";
}

TEST_F(FlagTest, ThePlayerChoiceSelectsTheWinRule) {
    addPlayer(c3, 9 * cell).hq =
        placeBox(ObjectType::Hq, 3, c3 + 4000, 9 * cell - 10000, c3 + 20000, 10 * cell - 1);
    sim::match.playerChoice = 3;
    std::vector<WorldObject*> flags; // owners 1, 2, 3, three each
    for (u16 i = 0; i < 9; ++i) {
        flags.push_back(flagOf(static_cast<u16>(1 + i / 3)));
    }
    ASSERT_EQ(world::state.flagCount, 9);
    // Player 1 (owner 2) scores the flags of owners 1 and 3, in any mix.
    for (const size_t i : {0, 6, 1, 7, 2, 8}) {
        EXPECT_EQ(sim::match.winner, -1) << "before flag " << i;
        carry(*world::state.players[1], flags[i]);
        drive(*world::state.players[1], 2000);
    }
    EXPECT_EQ(sim::match.winner, 1) << "9 flags, three players: 6 captures win";
    EXPECT_EQ(world::state.players[1]->flagScores, (std::vector<u16>{0, 3, 0, 3}));
    // The two-player rule looks at owner 1 only for player 1 and wants 9 >> 1 = 4.
    sim::match.playerChoice = 2;
    EXPECT_FALSE(HasWon(*world::state.players[1], 1));
    world::state.players[1]->flagScores[1] = 4;
    EXPECT_TRUE(HasWon(*world::state.players[1], 1));
}

TEST_F(FlagTest, AnyFlagIsPickedUpByACarWithoutOneButTheOwnFlagIsNeverScored) {
    auto& p = static_cast<ComputerPlayer&>(*world::state.players[1]);
    p.aiHeading = 500;
    WorldObject* own = placeAround(ObjectType::Flag, 2, c3 + 3000, 6 * cell + 1000, 1000);
    EXPECT_EQ(drive(p, 100), 0u);
    ASSERT_EQ(p.carriedFlag, own);
    EXPECT_TRUE(cellsHolding(*own).empty()) << "a carried flag is in no cell";
    EXPECT_EQ(p.aiHeading, -1) << "it heads for home next";
    WorldObject* second = placeAround(ObjectType::Flag, 1, c3 - 3000, 6 * cell, 1000);
    EXPECT_EQ(drive(p, -100), 1u) << "a second flag blocks like a wall";
    EXPECT_TRUE(listedWhereItLies(*second));
    EXPECT_EQ(drive(p, 2000), 1u) << "the own headquarters blocks like a wall";
    EXPECT_EQ(p.carriedFlag, own);
    EXPECT_EQ(p.flagScores, (std::vector<u16>{0, 0, 0, 0}));
    DropFlag(p); // half a cell behind the car
    EXPECT_EQ(p.carriedFlag, nullptr);
    EXPECT_EQ(boxOf(*own), around(c3 + 100 - 32768, 6 * cell, 1000));
    EXPECT_TRUE(listedWhereItLies(*own));
}

TEST_F(FlagTest, ADropAgainstAWallFailsAndIsNotRepeated) {
    Player& p = *world::state.players[0];
    WorldObject* flag = carry(p, flagOf(2));
    placeBox(ObjectType::Block, 0, c3 - 40000, c3 - 10000, c3 - 30000, c3 + 10000);
    p.dropFlag = 1;
    UpdatePlayer(0);
    EXPECT_EQ(std::pair(p.carriedFlag, p.dropFlag), std::pair(flag, 0u));
    EXPECT_TRUE(cellsHolding(*flag).empty());
}

TEST_F(FlagTest, AFlagOfAnOwnerBeyondThePlayersIsCapturedWithoutAScore) {
    carry(*world::state.players[0], flagOf(9));
    EXPECT_EQ(drive(*world::state.players[0], 2000), 1u);
    EXPECT_EQ(world::state.players[0]->carriedFlag, nullptr);
    EXPECT_EQ(world::state.players[0]->flagScores, (std::vector<u16>{0, 0, 0, 0}));
}
