#include "sim_world.hpp"

#include "sim/flags.hpp"
#include "sim/match_state.hpp"
#include "sim/update_frame.hpp"
#include "sim/vehicle.hpp"
#include "world/world.hpp"

namespace {

constexpr u32 c3 = 3 * cell;

// Players 0 and 1, each with a headquarters right ahead (east) of its car.
class FlagTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        for (u16 i = 0; i < 2; ++i) {
            const u32 y = (3 + 3 * i) * cell;
            Player& player = addPlayer(c3, y);
            player.hq = placeBox(ObjectType::Hq, static_cast<u16>(i + 1), c3 + 4000, y - 10000,
                                 c3 + 20000, y + 10000);
        }
    }
    // A flag of `owner` lying in the far corner of the grid.
    WorldObject* flagOf(u16 owner) {
        return placeAround(ObjectType::Flag, owner, 8 * cell, 8 * cell, 4096);
    }
    // Takes the flag out of the grid into the player's hands.
    void carry(Player& player, WorldObject* flag) {
        RemoveFromCells(worldGrid, 8, 8, *flag);
        player.carriedFlag = flag;
    }
    // Drives player `index` into its headquarters; the move's result.
    u32 deliver(u16 index) {
        players[index]->velocityX = 2000;
        return MoveAndCollide(*players[index], index);
    }
};

} // namespace

TEST_F(FlagTest, AForeignFlagIsScoredAtTheOwnHeadquartersAndFreed) {
    WorldObject* flag = flagOf(2);
    carry(*players[0], flag);
    EXPECT_EQ(deliver(0), 1u) << "the capture blocks the move";
    EXPECT_EQ(players[0]->flagScores, (std::vector<u16>{0, 0, 1, 0}));
    EXPECT_EQ(players[0]->carriedFlag, nullptr);
    EXPECT_FALSE(worldOwns(flag));
    EXPECT_EQ(players[0]->velocityX, 0.0f);
    EXPECT_EQ(players[0]->camera->x, c3);
}

TEST_F(FlagTest, AnOwnFlagCanBeCarriedAndDroppedButNeverScored) {
    WorldObject* own = placeAround(ObjectType::Flag, 1, c3 + 3000, c3 + 1000, 1000);
    Player& p = *players[0];
    p.velocityX = 100;
    EXPECT_EQ(MoveAndCollide(p, 0), 0u);
    ASSERT_EQ(p.carriedFlag, own);
    EXPECT_EQ(deliver(0), 1u) << "the own headquarters blocks like a wall";
    EXPECT_EQ(p.carriedFlag, own);
    EXPECT_EQ(p.flagScores, (std::vector<u16>{0, 0, 0, 0}));

    DropFlag(p);
    EXPECT_EQ(p.carriedFlag, nullptr);
    EXPECT_EQ(own->minX, p.camera->x - 32768 - 1000);
    EXPECT_EQ(own->minY, c3 - 1000);
    EXPECT_TRUE(listedWhereItLies(*own));
}

TEST_F(FlagTest, ADropAgainstAWallFailsAndIsNotRepeated) {
    Player& p = *players[0];
    WorldObject* flag = flagOf(2);
    carry(p, flag);
    placeBox(ObjectType::Block, 0, c3 - 40000, c3 - 10000, c3 - 30000, c3 + 10000);
    p.dropFlag = 1;
    UpdatePlayer(0);
    EXPECT_EQ(p.carriedFlag, flag);
    EXPECT_EQ(p.dropFlag, 0u);
    EXPECT_TRUE(cellsHolding(*flag).empty());
    p.dropFlag = 1;
    players[1]->carriedFlag = nullptr;
    UpdatePlayer(1); // a drop without a flag does nothing
    EXPECT_EQ(players[1]->dropFlag, 0u);
}

TEST_F(FlagTest, TwoPlayersWinWithHalfTheFlags) {
    std::vector<WorldObject*> foreign;
    for (int i = 0; i < 4; ++i) {
        foreign.push_back(flagOf(2));
    }
    for (int i = 0; i < 3; ++i) {
        flagOf(1);
    }
    ASSERT_EQ(flagCount, 7);
    for (int capture = 1; capture <= 3; ++capture) {
        EXPECT_EQ(winner, -1) << "before capture " << capture;
        carry(*players[0], foreign[capture]);
        deliver(0);
    }
    EXPECT_EQ(winner, 0) << "7 flags: 3 captures win";
    EXPECT_EQ(players[0]->flagScores[2], 3);
}

TEST_F(FlagTest, ThePlayerChoiceSelectsTheWinRule) {
    Player& third = addPlayer(c3, 9 * cell);
    third.hq = placeBox(ObjectType::Hq, 3, c3 + 4000, 9 * cell - 10000, c3 + 20000, 10 * cell - 1);
    playerChoice = 3;
    std::vector<WorldObject*> flags;
    for (u16 owner = 1; owner <= 3; ++owner) {
        for (int i = 0; i < 3; ++i) {
            flags.push_back(flagOf(owner));
        }
    }
    ASSERT_EQ(flagCount, 9);
    // Player 1 (owner 2) scores the flags of owners 1 and 3, in any mix.
    const std::vector<size_t> order = {0, 6, 1, 7, 2, 8};
    for (size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(winner, -1) << "before capture " << i + 1;
        carry(*players[1], flags[order[i]]);
        deliver(1);
    }
    EXPECT_EQ(winner, 1) << "9 flags, three players: 6 captures win";
    EXPECT_EQ(players[1]->flagScores, (std::vector<u16>{0, 3, 0, 3}));

    // The same scores do not satisfy the two-player rule, which looks at owner 1
    // only for player 1 and wants 9 >> 1 = 4.
    playerChoice = 2;
    EXPECT_FALSE(HasWon(*players[1], 1));
    players[1]->flagScores[1] = 4;
    EXPECT_TRUE(HasWon(*players[1], 1));
}

TEST_F(FlagTest, AFlagOfAnOwnerBeyondThePlayersIsCapturedWithoutAScore) {
    WorldObject* stray = placeAround(ObjectType::Flag, 9, 8 * cell, 8 * cell, 4096);
    carry(*players[0], stray);
    EXPECT_EQ(deliver(0), 1u);
    EXPECT_EQ(players[0]->carriedFlag, nullptr);
    EXPECT_EQ(players[0]->flagScores, (std::vector<u16>{0, 0, 0, 0}));
}
