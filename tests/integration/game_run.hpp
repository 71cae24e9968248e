#pragma once
// Runs the whole program, from its start-up to the end of its main loop, on the
// memory platform, in a run directory of the tests' choosing.
#include "framework/events.hpp"
#include "framework/memory_platform.hpp"
#include "tests/support/run_directory.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class GameRun : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Down in one pass, up in the next (a key that goes up within the pass it
    // went down in reads as up to the game).
    void tap(u8 scanCode);
    // Holds a key for `passes` passes from the current script pass.
    void hold(u8 scanCode, u32 passes);
    // Lets `passes` passes go by in the script.
    void idle(u32 passes) { scriptPass += passes; }

    // The menu keys that choose these settings from the start-up defaults and
    // end on "Start Game!" (not pressed).
    void chooseSettings(u16 level, bool highResolution, bool cockpit, bool windowed);
    // Enter on "Start Game!".
    void startMatch() { tap(scanEnter); }

    // Runs the program with the script so far, ended by Esc and a close request
    // (answered Yes) one pass later; returns its exit code.
    int run(std::vector<std::string> arguments = {});
    // Makes runDirectory the current directory until the test ends.
    void useRunDirectory() { entered.emplace(runDirectory); }

    MemoryPlatform* machine = nullptr;
    u32 scriptPass = 1; // where the next scripted key goes
    std::filesystem::path runDirectory = shippedRunDirectory();

  private:
    std::optional<RunDirectory> entered;
};
