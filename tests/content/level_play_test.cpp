// Whole matches on every shipped level, played by the real simulation: the
// computer players must be able to take an idle human's flags and win, and a
// human who goes for the flags must still be able to win. Each test prints its
// figures in steps (about 30 a second).
#include "tests/content/level_match.hpp"
#include "tests/support/world_run.hpp"
#include "tools/common/flag_runner.hpp"

#include <cstdio>

namespace {

constexpr u32 firstCaptureLimit = 18000; // ten minutes
constexpr u32 matchLimit = 54000;        // half an hour

class LevelPlay : public InRunDirectory, public ::testing::WithParamInterface<u16> {};

const char* levelName(u16 level) {
    static const char* const names[] = {"Level-A", "Level-B", "Level-C", "Level-D"};
    return names[level];
}

u32 computerCaptures() {
    u32 total = 0;
    for (u16 i = 1; i < world::state.playerCount; ++i) total += LevelMatch::captures(i);
    return total;
}

TEST_P(LevelPlay, ComputerPlayersTakeAnIdleHumansFlagsAndWin) {
    LevelMatch match(GetParam());
    u32 firstCapture = 0;
    while (sim::match.winner == -1 && match.steps < matchLimit) {
        match.step();
        if (firstCapture == 0 && computerCaptures() > 0) firstCapture = match.steps;
    }
    std::printf("%s, idle human: first capture at step %u, won by player %d at step %u\n",
                levelName(GetParam()), firstCapture, sim::match.winner + 1, match.steps);
    EXPECT_GT(firstCapture, 0u);
    EXPECT_LE(firstCapture, firstCaptureLimit);
    EXPECT_GE(sim::match.winner, 1) << "no computer player won within " << matchLimit << " steps";
}

TEST_P(LevelPlay, AHumanGoingForTheFlagsCanWin) {
    LevelMatch match(GetParam());
    FlagRunner runner(*world::state.players[0]);
    while (sim::match.winner == -1 && match.steps < matchLimit) {
        runner.press();
        match.step();
    }
    std::printf("%s, human going for flags: won by player %d at step %u\n", levelName(GetParam()),
                sim::match.winner + 1, match.steps);
    EXPECT_EQ(sim::match.winner, 0);
}

INSTANTIATE_TEST_SUITE_P(Shipped, LevelPlay, ::testing::Values(u16{0}, u16{1}, u16{2}, u16{3}),
                         [](const auto& info) { return std::string(levelName(info.param)).erase(5, 1); });

} // namespace
