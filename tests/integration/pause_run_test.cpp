// Pausing a match: P, the window's focus and the full-screen display. A paused
// match runs no step and leaves the computer players' clock where it stood; a
// demo recorded across a pause replays exactly.
#include "game_run.hpp"

#include "base/clock.hpp"
#include "shell/demo.hpp"
#include "shell/game_menu.hpp"
#include "shell/pause.hpp"
#include "shell/startup.hpp"
#include "sim/demo_file.hpp"
#include "sim/match_digest.hpp"

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A quarter of a second a pass: 40 passes are ten whole seconds of the clock.
constexpr u32 millisecondsPerPass = 250;

struct Shown {
    u32 pass = 0;
    std::vector<u8> pixels;
};

class PauseRun : public GameRun {
  protected:
    void SetUp() override {
        GameRun::SetUp();
        machine->millisecondsPerPass = millisecondsPerPass;
    }

    // The same match each time: Up from pass 3, Left from pass 10 to 40, a
    // pause of `pausedPasses` from pass 100 with Space tapped and Down held in
    // it, Up released 100 steps after the pause; Esc 200 steps after it.
    void scriptMatch(u32 pausedPasses) {
        startMatch();
        machine->pressKey(3, scanUp);
        machine->pressKey(10, scanLeft);
        machine->releaseKey(40, scanLeft);
        const u32 after = 100 + pausedPasses;
        if (pausedPasses > 0) {
            machine->tapKey(100, scanP);
            machine->tapKey(110, scanSpace); // ignored while paused
            machine->pressKey(112, scanDown);
            machine->releaseKey(after - 2, scanDown);
            machine->tapKey(after, scanP);
        }
        machine->releaseKey(after + 100, scanUp);
        scriptPass = after + 200;
    }

    void keepFrames() {
        machine->frameObserver = [this](const PresentedFrame& frame) {
            Shown s{machine->pass(), {}};
            for (u32 y = 0; y < frame.height; ++y)
                s.pixels.insert(s.pixels.end(), frame.pixels + size_t{y} * frame.bytesPerLine,
                                frame.pixels + size_t{y} * frame.bytesPerLine + frame.width * 3);
            shown.push_back(std::move(s));
        };
    }

    std::vector<Shown> shown;
};

// The paused frame is the frame before it with "PAUSED" in white over its middle
// rows (a 320x240 match).
void expectPausedOver(const Shown& before, const Shown& paused) {
    ASSERT_EQ(before.pixels.size(), paused.pixels.size());
    ASSERT_EQ(paused.pixels.size(), 320u * 240 * 3);
    const size_t row = 320 * 3;
    u32 changedRows = 0, white = 0;
    for (size_t y = 0; y < 240; ++y) {
        const auto at = [&](const Shown& s) {
            return s.pixels.begin() + static_cast<std::ptrdiff_t>(y * row);
        };
        if (std::equal(at(before), at(before) + row, at(paused))) continue;
        ++changedRows;
        EXPECT_GT(y, 90u);
        EXPECT_LT(y, 150u);
        for (size_t x = 0; x < row; x += 3)
            white += paused.pixels[y * row + x] == 255 && paused.pixels[y * row + x + 1] == 255 &&
                     paused.pixels[y * row + x + 2] == 255;
    }
    EXPECT_GT(changedRows, 10u);
    EXPECT_GT(white, 100u);
}

} // namespace

TEST_F(PauseRun, APausedMatchRunsNoStepAndGoesOnAsIfNoTimeHadPassed) {
    scriptMatch(0);
    ASSERT_EQ(run(), 0);
    const u64 unpaused = matchDigest();
    const u32 unpausedClock = matchClockSeconds();
    const u32 idleUnpaused = machine->idlePasses;

    TearDown();
    SetUp();
    scriptPass = 1;
    keepFrames();
    scriptMatch(40);
    ASSERT_EQ(run(), 0);
    // The same state after the same steps: nothing moved in the pause, Space and
    // Down pressed in it did nothing, and the computer players' clock left the
    // ten paused seconds out.
    EXPECT_EQ(matchDigest(), unpaused);
    EXPECT_EQ(matchClockSeconds(), unpausedClock);
    EXPECT_EQ(wholeSeconds() - matchClockSeconds(), 10u);
    EXPECT_FALSE(matchPaused());
    // The loop waited for input in the paused passes instead of running them.
    EXPECT_GE(machine->idlePasses - idleUnpaused, 39u);

    // One frame in the pause: the last frame of the match with the word over it.
    const auto inPause =
        std::find_if(shown.begin(), shown.end(), [](const Shown& s) { return s.pass == 100; });
    ASSERT_NE(inPause, shown.end());
    ASSERT_NE(inPause, shown.begin());
    expectPausedOver(*(inPause - 1), *inPause);
    ASSERT_NE(inPause + 1, shown.end());
    EXPECT_EQ((inPause + 1)->pass, 140u) << "no frame between the pause and P again";
}

TEST_F(PauseRun, AWindowThatLosesTheKeyboardPausesUntilP) {
    chooseSettings(0, false, false, true);
    startMatch();
    const u32 lost = scriptPass + 5;
    machine->changeFocus(lost, false);
    machine->changeFocus(lost + 3, true); // the keyboard back does not go on by itself
    scriptPass = lost + 10;
    keepFrames();
    ASSERT_EQ(run(), 0);
    EXPECT_TRUE(matchPaused());
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().pass, lost);

    TearDown();
    SetUp();
    scriptPass = 1;
    chooseSettings(0, false, false, true);
    startMatch();
    machine->changeFocus(scriptPass + 5, false);
    scriptPass += 10;
    tap(scanP);
    idle(3);
    keepFrames();
    ASSERT_EQ(run(), 0);
    EXPECT_FALSE(matchPaused());
    EXPECT_GE(shown.size(), 6u);
}

TEST_F(PauseRun, TheFullScreenDisplayTakenAwayPausesAndShowsThePauseWhenBack) {
    startMatch();
    const u32 away = scriptPass + 5;
    machine->takeDisplayAway(away);
    machine->giveDisplayBack(away + 4);
    scriptPass = away + 10;
    keepFrames();
    ASSERT_EQ(run(), 0);
    EXPECT_TRUE(matchPaused());
    ASSERT_GE(shown.size(), 2u);
    // Nothing is shown while the display is away (the program is held, no pass
    // runs); when it is back, the paused frame, and nothing after it.
    EXPECT_EQ(shown.back().pass, away);
    EXPECT_LT(shown[shown.size() - 2].pass, away);
    expectPausedOver(shown[shown.size() - 2], shown.back());
}

TEST_F(PauseRun, ADemoRecordedAcrossAPauseHoldsNoPausedStepAndReplaysExactly) {
    const fs::path file =
        fs::temp_directory_path() / ("tessaron-paused-" + std::to_string(::getpid()) + ".dem");
    fs::remove(file);
    scriptMatch(40);
    ASSERT_EQ(run({"-record", file.string()}), 0);
    const u64 recorded = matchDigest();

    std::string error;
    const std::optional<Demo> demo = readDemo(file.string(), error);
    ASSERT_TRUE(demo) << error;
    // Steps from pass 1 to the Esc at pass 340, less the 40 paused passes.
    EXPECT_EQ(demo->steps.size(), 340u - 40u);
    EXPECT_EQ(demo->digest, recorded);

    TearDown();
    SetUp();
    fs::current_path(runDirectory);
    std::vector<std::string> words = {"tessaron3d", "-timedemo", file.string()};
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    testing::internal::CaptureStdout();
    EXPECT_EQ(GameMain(static_cast<int>(argv.size()), argv.data()), 0);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(matchDigest(), recorded);
    fs::remove(file);
}
