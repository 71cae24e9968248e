#pragma once
// A match on a shipped level, played by the real simulation without drawing:
// the level and textures come from the game's loaders, every camera starts at
// its car as the shell places it, and the game's clock is virtual, moving 33 ms
// a step from the memory platform's start time, as when a match starts on the
// first pass (about 30 steps a second; the computer players' pause reads whole
// seconds of it, so where the steps fall within a second changes a match).
#include "base/clock.hpp"
#include "sim/match_state.hpp"
#include "sim/update_frame.hpp"
#include "world/player.hpp"
#include "world/texture.hpp"
#include "world/world.hpp"

#include <memory>

class LevelMatch {
  public:
    // Loads level `number` (0..3 for Level-A..D) from the current directory,
    // with as many players chosen as the level has.
    explicit LevelMatch(u16 number) {
        resetSimulation();
        resetWorld();
        resetTextures();
        loadTextures();
        loadLevel(number);
        placePlayerEyes();
        sim::match.playerChoice = world::state.playerCount;
        setDrawFrameHook(nullptr);
        milliseconds = startMilliseconds;
        setClockSource([] { return static_cast<u32>(milliseconds / 1000); });
    }
    ~LevelMatch() {
        resetSimulation();
        resetWorld();
        resetTextures();
        resetClock();
    }
    LevelMatch(const LevelMatch&) = delete;
    LevelMatch& operator=(const LevelMatch&) = delete;

    // One main-loop pass: the clock moves on, then the match takes its step.
    void step() {
        milliseconds += 33;
        UpdateFrame();
        ++steps;
    }

    // Flags delivered by the player of that index.
    static u32 captures(u16 index) {
        u32 total = 0;
        for (u16 score : world::state.players[index]->flagScores) total += score;
        return total;
    }

    u32 steps = 0;

  private:
    static constexpr u64 startMilliseconds = 1'000'000'000'000ull;
    static inline u64 milliseconds = startMilliseconds;
};
