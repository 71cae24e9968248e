// A million steps on every shipped level, loaded with the game's own loaders,
// with every computer player active and the human pressing random keys (a
// seeded generator: fire, mines and flag drops included). Besides the grid's
// bookkeeping it checks that scores never decrease, that no listed object the
// match moved or placed lies outside the grid, and that the live objects stay
// within what the level, the mines laid and the shots still able to fly
// account for. Outside the default run (CTest label "soak"):
//
//   ctest --test-dir build -L soak --output-on-failure
//   TESSARON_SOAK_STEPS=20000 build/tests/sim/long_soak_tests   (a shorter run)
#include "soak_checks.hpp"
#include "tests/support/run_directory.hpp"

#include "sim/update_frame.hpp"
#include "world/texture.hpp"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

u32 soakSeconds = 0;
u32 soakClock() {
    return soakSeconds;
}

int soakSteps() {
    const char* steps = std::getenv("TESSARON_SOAK_STEPS");
    return steps ? std::max(1, std::atoi(steps)) : 1'000'000;
}

// The shipped levels, whatever they are, by file name.
std::vector<std::string> shippedLevels() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(TESSARON_CONTENT_DIR) / "Levels"))
        if (entry.path().extension() == ".lvl") names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Keys held by the human: each held key changes now and then, the one-shot
// requests come at random.
void pressRandomKeys(Player& human, std::mt19937& random) {
    auto chance = [&random](u32 in) { return random() % in == 0; };
    if (chance(40)) human.accelerate = chance(4) ? 0 : 1;
    if (chance(60)) human.brake = chance(5) ? 1 : 0;
    if (chance(30)) human.turnLeft = chance(3) ? 1 : 0;
    if (chance(30)) human.turnRight = chance(3) ? 1 : 0;
    human.fire |= chance(15);
    human.layMine |= chance(120);
    human.dropFlag |= chance(400);
}

// Every car and shot lies inside the grid and each cell under its box lists it:
// the part of the grid check cheap enough for every step.
::testing::AssertionResult movingObjectsListed() {
    auto check = [](const WorldObject& object) {
        const Box box = boxOf(object);
        if (!boxFitsGrid(world::state.worldGrid, box.minX, box.minY, box.maxX, box.maxY)) return false;
        for (u32 cx = cellOf(box.minX); cx <= cellOf(box.maxX); ++cx)
            for (u32 cy = cellOf(box.minY); cy <= cellOf(box.maxY); ++cy)
                if (const CellList* list = world::state.worldGrid.cell(cx, cy);
                    !list || !listHolds(*list, object))
                    return false;
        return true;
    };
    for (u16 i = 0; i < world::state.playerCount; ++i)
        if (!check(*world::state.players[i]->vehicle))
            return ::testing::AssertionFailure()
                   << "car " << i << " at " << boxOf(*world::state.players[i]->vehicle);
    for (const Projectile& shot : sim::match.projectiles)
        if (!check(*shot.object)) return ::testing::AssertionFailure() << "a shot at " << boxOf(*shot.object);
    return ::testing::AssertionSuccess();
}

// No listed object lies outside the grid, except level objects that were placed
// partly outside it (they never move).
::testing::AssertionResult nothingListedOutside(const std::unordered_set<const WorldObject*>& placedOutside) {
    for (u32 cx = 0; cx < world::state.worldGrid.width; ++cx)
        for (u32 cy = 0; cy < world::state.worldGrid.height; ++cy)
            for (const CellList* node = world::state.worldGrid.cell(cx, cy); node && node->object;
                 node = node->next) {
                const Box box = boxOf(*node->object);
                if (!placedOutside.contains(node->object) &&
                    !boxFitsGrid(world::state.worldGrid, box.minX, box.minY, box.maxX, box.maxY))
                    return ::testing::AssertionFailure() << "cell " << cx << "," << cy << " lists " << box;
            }
    return ::testing::AssertionSuccess();
}

class LongSoak : public testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        resetSimulation();
        resetWorld();
        resetTextures();
        loadTextures();
    }
    void TearDown() override {
        resetSimulation();
        resetWorld();
        resetTextures();
        resetClock();
    }
    RunDirectory run{RunDirectory::Shipped};
};

} // namespace

TEST_P(LongSoak, AMillionStepsKeepTheMatchSound) {
    loadLevelFile("Levels\\" + GetParam());
    sim::match.playerChoice = world::state.playerCount; // the win rule of the menu's choice for this level
    for (u16 i = 0; i < world::state.playerCount; ++i)
        world::state.players[i]->camera = std::make_unique<Camera>(
            playerEye(world::state.players[i]->startX, world::state.players[i]->startY));
    soakSeconds = 5000;
    setClockSource(soakClock);
    std::mt19937 random(0x50A4 + static_cast<u32>(GetParam().size()) * 31 + GetParam().back());

    std::unordered_set<const WorldObject*> placedOutside;
    for (const auto& object : world::state.worldObjects)
        if (!boxFitsGrid(world::state.worldGrid, object->minX, object->minY, object->maxX, object->maxY))
            placedOutside.insert(object.get());
    const size_t levelObjects = world::state.worldObjects.size();
    // A shot crosses the grid's diagonal in fewer steps than this, or ends sooner.
    const size_t longestFlight =
        (size_t{world::state.worldGrid.width} + world::state.worldGrid.height) * 16 + 2;
    std::deque<size_t> recentShots; // shots fired in each of the last longestFlight steps
    size_t shotsInFlightBound = 0, minesLaid = 0, mostLive = 0;
    size_t shots = 0, flagsTaken = 0, deaths = 0, captures = 0;
    std::vector<std::vector<u16>> scores;
    for (u16 i = 0; i < world::state.playerCount; ++i) scores.push_back(world::state.players[i]->flagScores);

    ASSERT_TRUE(gridIsSound());
    const int steps = soakSteps();
    const auto started = std::chrono::steady_clock::now();
    for (int step = 0; step < steps; ++step) {
        soakSeconds += step % 30 == 0; // thirty steps a second, as the game runs
        pressRandomKeys(*world::state.players[0], random);
        if (step % 3000 == 0) { // supplies for the whole million steps
            for (u16 i = 0; i < world::state.playerCount; ++i) {
                Player& p = *world::state.players[i];
                if (p.ammo < 100) p.ammo = static_cast<u16>(p.ammo + 10);
                if (p.mines < 100) p.mines = static_cast<u16>(p.mines + 3);
            }
            world::state.players[0]->nitro =
                static_cast<u16>(std::min(world::state.players[0]->nitro + 128, 1000));
        }
        // What this step may add: a shot per player who asks with ammunition, a
        // mine per player who asks with mines.
        size_t firing = 0;
        std::vector<std::pair<const WorldObject*, u32>> before;
        for (u16 i = 0; i < world::state.playerCount; ++i) {
            const Player& p = *world::state.players[i];
            firing += p.fire != 0 && p.ammo > 0;
            minesLaid += p.layMine != 0 && p.mines > 0;
            before.emplace_back(p.carriedFlag, p.camera->x);
        }
        recentShots.push_back(firing);
        shotsInFlightBound += firing;
        if (recentShots.size() > longestFlight) {
            shotsInFlightBound -= recentShots.front();
            recentShots.pop_front();
        }

        UpdateFrame();

        for (u16 i = 0; i < world::state.playerCount; ++i) {
            const Player& p = *world::state.players[i];
            for (size_t owner = 0; owner < p.flagScores.size(); ++owner) {
                ASSERT_GE(p.flagScores[owner], scores[i][owner])
                    << "player " << i << "'s score fell at step " << step;
                captures += p.flagScores[owner] - scores[i][owner];
            }
            scores[i] = p.flagScores;
            flagsTaken += before[i].first == nullptr && p.carriedFlag != nullptr;
            deaths += p.camera->x - before[i].second + cell > 2 * cell; // no car drives a cell in one step
        }
        shots += firing;
        mostLive = std::max(mostLive, world::state.worldObjects.size() + sim::match.projectiles.size());
        ASSERT_LE(sim::match.projectiles.size(), shotsInFlightBound) << "shots that never end, step " << step;
        ASSERT_LE(world::state.worldObjects.size(), levelObjects + minesLaid)
            << "objects piling up, step " << step;
        ASSERT_TRUE(movingObjectsListed()) << "after step " << step;
        if (step % 16 == 15 || step == steps - 1) {
            ASSERT_TRUE(gridIsSound()) << "after step " << step;
            ASSERT_TRUE(nothingListedOutside(placedOutside)) << "after step " << step;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%s: %d steps in %.1f s (%.0f steps/s); %zu shots, %zu mines laid, %zu flags taken, "
                "%zu captured, %zu deaths, winner %d, at most %zu live objects (level %zu)\n",
                GetParam().c_str(), steps, seconds, steps / seconds, shots, minesLaid, flagsTaken, captures,
                deaths, sim::match.winner, mostLive, levelObjects);
    // The match really played: what the checks guard happened.
    if (steps >= 100'000) {
        EXPECT_GT(shots, 100u);
        EXPECT_GT(minesLaid, 10u);
        EXPECT_GT(flagsTaken, 0u);
        EXPECT_GT(deaths, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(ShippedLevels, LongSoak, testing::ValuesIn(shippedLevels()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = fs::path(info.param).stem().string();
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });
