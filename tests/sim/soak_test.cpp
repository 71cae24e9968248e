// A long headless match on a synthetic level: two computer players and a
// scripted human, with the grid's bookkeeping checked after every step.
#include "sim_world.hpp"

#include "base/clock.hpp"
#include "sim/match_state.hpp"
#include "sim/update_frame.hpp"
#include "world/world.hpp"

#include <unordered_map>

namespace {

constexpr int soakSteps = 100000;
constexpr u32 half = cell / 2;

u32 matchSeconds = 0;
u32 matchClock() { return matchSeconds; }

void buildLevel() {
    startWorld(12, 12);
    playerChoice = 3;
    addPlayer(2 * cell + half, 2 * cell + half);
    addPlayer(9 * cell + half, 9 * cell + half);
    addPlayer(9 * cell + half, 2 * cell + half);
    players[0]->hq = placeBox(ObjectType::Hq, 1, 1 * cell, 1 * cell, 1 * cell + 20000, 1 * cell + 20000);
    players[1]->hq = placeBox(ObjectType::Hq, 2, 10 * cell, 9 * cell, 10 * cell + 30000, 9 * cell + 20000);
    players[2]->hq = placeBox(ObjectType::Hq, 3, 10 * cell, 3 * cell, 10 * cell + 30000, 3 * cell + 20000);

    placeBox(ObjectType::Block, 0, 5 * cell, 3 * cell, 5 * cell + 8000, 8 * cell);
    placeBox(ObjectType::Block, 0, 2 * cell, 6 * cell, 4 * cell, 6 * cell + 6000);
    placeAround(ObjectType::Block, 0, 7 * cell, 5 * cell, 6000);
    placeAround(ObjectType::Block, 0, 3 * cell, 9 * cell, 5000);
    placeBox(ObjectType::Sea, 0, 8 * cell, 6 * cell, 9 * cell + 30000, 6 * cell + 40000);
    placeBox(ObjectType::Sand, 0, 1 * cell, 4 * cell, 1 * cell + 30000, 4 * cell + 30000);
    for (u32 i = 0; i < 6; ++i) {
        placeAround(ObjectType::Plant, 0, (2 + 2 * i) * cell - 9000, (4 + i) * cell + 7000, 1500);
    }
    const ObjectType paks[] = {ObjectType::FirePak,   ObjectType::FirePak,   ObjectType::FirePak,
                               ObjectType::MinePak,   ObjectType::MinePak,   ObjectType::HealthPak,
                               ObjectType::HealthPak, ObjectType::HealthPak, ObjectType::NitroPak,
                               ObjectType::NitroPak};
    for (u32 i = 0; i < 10; ++i) {
        placeAround(paks[i], 0, (1 + i) * cell + 20000, (11 - i) * cell - 20000, 1200);
    }
    for (u32 i = 0; i < 3; ++i) {
        placeAround(ObjectType::Mine, 0, (4 + 2 * i) * cell + 30000, 7 * cell + 30000, 2000);
    }
    const u32 flags[9][3] = {
        {1, 1 * cell + 20000, 9 * cell}, {1, 3 * cell, 4 * cell + 20000}, {1, 6 * cell + 20000, 10 * cell},
        {2, 10 * cell, 10 * cell + 40000}, {2, 8 * cell, 3 * cell}, {2, 10 * cell + 30000, 7 * cell},
        {3, 10 * cell, 1 * cell}, {3, 6 * cell, 1 * cell + 30000}, {3, 2 * cell + 40000, 11 * cell},
    };
    for (const auto& [owner, x, y] : flags) {
        placeAround(ObjectType::Flag, static_cast<u16>(owner), x, y, 3000);
    }
}

// The human's keys for one step: a fixed pattern that drives, turns, brakes,
// shoots, lays mines, drops flags and now and then takes the refill key.
void pressKeys(Player& human, int step) {
    const int phase = step % 600;
    human.accelerate = phase < 400;
    human.brake = phase >= 400 && phase < 450;
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

// Every listed object is alive and lies over the cell that lists it; every car
// and shot is listed in exactly the cells its box covers, all inside the grid.
::testing::AssertionResult gridIsSound() {
    // Listings per live object; kept between calls so its buckets are reused.
    static std::unordered_map<const WorldObject*, size_t> listings;
    listings.clear();
    for (const auto& object : worldObjects) {
        listings[object.get()] = 0;
    }
    for (const Projectile& shot : projectiles) {
        listings[shot.object.get()] = 0;
    }
    if (worldGrid.cells.size() != size_t{worldGrid.width} * worldGrid.height) {
        return ::testing::AssertionFailure() << "the grid grew";
    }
    for (u32 cx = 0; cx < worldGrid.width; ++cx) {
        for (u32 cy = 0; cy < worldGrid.height; ++cy) {
            for (const CellList* node = worldGrid.cell(cx, cy); node != nullptr && node->object != nullptr;
                 node = node->next) {
                const WorldObject* object = node->object;
                const auto found = listings.find(object);
                if (found == listings.end()) {
                    return ::testing::AssertionFailure() << "a freed object in cell " << cx << "," << cy;
                }
                ++found->second;
                if (cellOf(object->minX) > cx || cellOf(object->maxX) < cx ||
                    cellOf(object->minY) > cy || cellOf(object->maxY) < cy) {
                    return ::testing::AssertionFailure() << "cell " << cx << "," << cy
                                                         << " lists an object lying elsewhere";
                }
            }
        }
    }
    // Listed only over its box, once per cell: as many listings as covered cells
    // means listed in all of them.
    const auto listedInAllItCovers = [](const WorldObject& object) {
        return boxFitsGrid(object.minX, object.minY, object.maxX, object.maxY, worldGrid) &&
               listings[&object] == cellsCovered(boxOf(object)).size();
    };
    for (u16 i = 0; i < playerCount; ++i) {
        const Player& player = *players[i];
        if (!listedInAllItCovers(*player.vehicle)) {
            return ::testing::AssertionFailure() << "car " << i << ": " << listedWhereItLies(*player.vehicle).message();
        }
        if (player.carriedFlag != nullptr && listings[player.carriedFlag] != 0) {
            return ::testing::AssertionFailure() << "a carried flag is still listed";
        }
    }
    for (const Projectile& shot : projectiles) {
        if (!listedInAllItCovers(*shot.object)) {
            return ::testing::AssertionFailure() << "shot: " << listedWhereItLies(*shot.object).message();
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(Soak, AHundredThousandStepsKeepTheGridSound) {
    buildLevel();
    matchSeconds = 5000;
    setClockSource(matchClock);
    for (u16 i = 0; i < playerCount; ++i) {
        ASSERT_TRUE(FindTouching(*players[i]->vehicle, worldGrid).empty()) << "player " << i;
    }
    ASSERT_TRUE(gridIsSound());

    int deaths = 0;
    int shotsFired = 0;
    int minesLaid = 0;
    int flagsTaken = 0;
    for (int step = 0; step < soakSteps; ++step) {
        if (step % 30 == 0) {
            ++matchSeconds; // thirty steps a second, as the game runs
        }
        pressKeys(*players[0], step);
        std::vector<u16> ammo, mines;
        std::vector<bool> carrying;
        std::vector<u32> x;
        for (u16 i = 0; i < playerCount; ++i) {
            ammo.push_back(players[i]->ammo);
            mines.push_back(players[i]->mines);
            carrying.push_back(players[i]->carriedFlag != nullptr);
            x.push_back(players[i]->camera->x);
        }
        UpdateFrame();
        for (u16 i = 0; i < playerCount; ++i) {
            const Player& player = *players[i];
            shotsFired += player.ammo < ammo[i];
            minesLaid += player.mines < mines[i];
            flagsTaken += !carrying[i] && player.carriedFlag != nullptr;
            // No car covers a cell in one step: a jump that far is a respawn.
            deaths += player.camera->x - x[i] + cell > 2 * cell;
        }
        ASSERT_TRUE(gridIsSound()) << "after step " << step;
    }
    u32 captured = 0;
    for (u16 i = 0; i < playerCount; ++i) {
        for (u16 score : players[i]->flagScores) {
            captured += score;
        }
    }
    RecordProperty("shots", shotsFired);
    RecordProperty("mines", minesLaid);
    RecordProperty("flagsTaken", flagsTaken);
    RecordProperty("captured", static_cast<int>(captured));
    RecordProperty("deaths", deaths);
    // The match really played: everything the checks guard happened many times.
    EXPECT_GT(shotsFired, 100);
    EXPECT_GT(minesLaid, 10);
    EXPECT_GT(flagsTaken, 0);
    EXPECT_GT(captured, 0u);
    EXPECT_GT(deaths, 0);
    endWorld();
}
