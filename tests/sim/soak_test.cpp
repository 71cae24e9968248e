// A long headless match on a synthetic level: two computer players and a
// scripted human, with the grid's bookkeeping checked after every step.
#include "soak_checks.hpp"

#include "sim/update_frame.hpp"

namespace {

u32 matchSeconds = 0;
u32 matchClock() {
    return matchSeconds;
}

void buildLevel() {
    using enum ObjectType;
    constexpr u32 half = cell / 2;
    startWorld(12, 12);
    sim::match.playerChoice = 3;
    addPlayer(2 * cell + half, 2 * cell + half).hq = placeBox(Hq, 1, cell, cell, cell + 20000, cell + 20000);
    addPlayer(9 * cell + half, 9 * cell + half).hq =
        placeBox(Hq, 2, 10 * cell, 9 * cell, 10 * cell + 30000, 9 * cell + 20000);
    addPlayer(9 * cell + half, 2 * cell + half).hq =
        placeBox(Hq, 3, 10 * cell, 3 * cell, 10 * cell + 30000, 3 * cell + 20000);
    placeBox(Block, 0, 5 * cell, 3 * cell, 5 * cell + 8000, 8 * cell);
    placeBox(Block, 0, 2 * cell, 6 * cell, 4 * cell, 6 * cell + 6000);
    placeAround(Block, 0, 7 * cell, 5 * cell, 6000);
    placeAround(Block, 0, 3 * cell, 9 * cell, 5000);
    placeBox(Sea, 0, 8 * cell, 6 * cell, 9 * cell + 30000, 6 * cell + 40000);
    placeBox(Sand, 0, cell, 4 * cell, cell + 30000, 4 * cell + 30000);
    const ObjectType paks[] = {FirePak,   FirePak,   FirePak,   MinePak,  MinePak,
                               HealthPak, HealthPak, HealthPak, NitroPak, NitroPak};
    for (u32 i = 0; i < 10; ++i) {
        placeAround(paks[i], 0, (1 + i) * cell + 20000, (11 - i) * cell - 20000, 1200);
    }
    for (u32 i = 0; i < 6; ++i) {
        placeAround(Plant, 0, (2 + 2 * i) * cell - 9000, (4 + i) * cell + 7000, 1500);
    }
    for (u32 i = 0; i < 3; ++i) {
        placeAround(Mine, 0, (4 + 2 * i) * cell + 30000, 7 * cell + 30000, 2000);
    }
    const u32 flags[9][3] = {
        {1, cell + 20000, 9 * cell},
        {1, 3 * cell, 4 * cell + 20000},
        {1, 6 * cell + 20000, 10 * cell},
        {2, 10 * cell, 10 * cell + 40000},
        {2, 8 * cell, 3 * cell},
        {2, 10 * cell + 30000, 7 * cell},
        {3, 10 * cell, cell},
        {3, 6 * cell, cell + 30000},
        {3, 2 * cell + 40000, 11 * cell},
    };
    for (const auto& [owner, x, y] : flags) {
        placeAround(Flag, static_cast<u16>(owner), x, y, 3000);
    }
}

// The human's keys for one step: a fixed pattern that drives, turns, brakes,
// shoots, lays mines, drops flags and now and then refills.
void pressKeys(Player& human, int step) {
    human.accelerate = step % 600 < 400;
    human.brake = step % 600 >= 400 && step % 600 < 450;
    human.turnLeft = (step / 97) % 3 == 0;
    human.turnRight = (step / 131) % 4 == 1;
    human.fire |= step % 23 == 0;
    human.layMine |= step % 151 == 0;
    human.dropFlag |= step % 997 == 0;
    if (step % 3000 == 0) {
        human.ammo = static_cast<u16>(human.ammo + 10);
        human.mines = static_cast<u16>(human.mines + 3);
        human.nitro = static_cast<u16>(human.nitro + 128);
        human.shields = std::min<i16>(static_cast<i16>(human.shields + 4), 8);
    }
}

using Soak = SimTest;

} // namespace

TEST_F(Soak, AHundredThousandStepsKeepTheGridSound) {
    buildLevel();
    matchSeconds = 5000;
    setClockSource(matchClock);
    ASSERT_TRUE(gridIsSound());
    int shots = 0, mines = 0, flagsTaken = 0, deaths = 0;
    for (int step = 0; step < 100000; ++step) {
        matchSeconds += step % 30 == 0; // thirty steps a second, as the game runs
        pressKeys(*world::state.players[0], step);
        std::vector<std::tuple<u16, u16, const WorldObject*, u32>> before;
        for (u16 i = 0; i < world::state.playerCount; ++i) {
            const Player& player = *world::state.players[i];
            before.emplace_back(player.ammo, player.mines, player.carriedFlag, player.camera->x);
        }
        UpdateFrame();
        for (u16 i = 0; i < world::state.playerCount; ++i) {
            const Player& player = *world::state.players[i];
            const auto& [ammo, mineCount, carried, x] = before[i];
            shots += player.ammo < ammo;
            mines += player.mines < mineCount;
            flagsTaken += carried == nullptr && player.carriedFlag != nullptr;
            deaths += player.camera->x - x + cell > 2 * cell; // no car drives a cell in one step
        }
        ASSERT_TRUE(gridIsSound()) << "after step " << step;
    }
    int captured = 0;
    for (u16 i = 0; i < world::state.playerCount; ++i) {
        for (u16 score : world::state.players[i]->flagScores) {
            captured += score;
        }
    }
    // The match really played: everything the checks guard happened many times.
    EXPECT_GT(shots, 100);
    EXPECT_GT(mines, 10);
    EXPECT_GT(flagsTaken, 0);
    EXPECT_GT(captured, 0);
    EXPECT_GT(deaths, 0);
}
