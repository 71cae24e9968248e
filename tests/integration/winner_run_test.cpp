// A match played to the end on a small level of the test's own: the human drives
// straight ahead, picks up the other player's flag and delivers it at its own
// headquarters, which wins a two-player match with one flag each.
#include "game_run.hpp"

#include "base/clock.hpp"
#include "shell/reset_game.hpp"
#include "shell/startup.hpp"
#include "sim/match_state.hpp"

#include <cstdio>
#include <fstream>

namespace fs = std::filesystem;

namespace {

u32 winnerShownAt = 0; // whole seconds when the winner frame was shown

// Player 1's car faces +x with player 2's flag and then its own headquarters
// straight ahead; player 2 starts far away.
constexpr const char* winnableLevel = R"(Winnable
8
8
2
FF3020
3060FF
car
1 100000 100000 0
flag
2 130000 102000 0
hq
1 170000 92000 0
car
2 400000 400000 0
hq
2 440000 300000 0
flag
1 250000 460000 0
)";

class WinnerRun : public GameRun {
  protected:
    void SetUp() override {
        GameRun::SetUp();
        // The shipped files, with the test's level in place of Level-A.
        runDirectory = fs::temp_directory_path() / ("tessaron-winner-" + std::to_string(::getpid()));
        fs::remove_all(runDirectory);
        fs::create_directories(runDirectory / "Levels");
        const fs::path data = shippedRunDirectory();
        for (const char* entry : {"textures.dat", "Objects", "Fonts", "Bitmaps", "sounds"})
            fs::create_symlink(data / entry, runDirectory / entry);
        std::ofstream(runDirectory / "Levels" / "Level-A.lvl") << winnableLevel;
    }
    void TearDown() override {
        GameRun::TearDown();
        fs::remove_all(runDirectory);
    }
};

} // namespace

TEST_F(WinnerRun, CarryingTheFlagHomeShowsTheWinnerScreenAndEndsWithZeroTenSecondsLater) {
    machine->frameObserver = [&](const PresentedFrame& frame) {
        if (sim::match.winner == -1) return;
        winnerShownAt = wholeSeconds();
        // White title text over the view, with its red shadow two pixels right and down.
        u32 white = 0, red = 0;
        for (u32 y = 28; y < 70; ++y)
            for (u32 x = 28; x < 300; ++x) {
                const u8* p = frame.pixels + y * frame.bytesPerLine + 3 * x;
                if (p[0] == 255 && p[1] == 255 && p[2] == 255) ++white;
                if (p[0] == 0 && p[1] == 0 && p[2] == 255) ++red;
            }
        std::fprintf(stderr, "winner %d shown at %ux%u, white %s, red %s\n", sim::match.winner, frame.width,
                     frame.height, white > 100 ? "yes" : "no", red > 50 ? "yes" : "no");
    };
    startMatch();
    hold(scanUp, 200);
    EXPECT_EXIT(
        {
            std::atexit(
                [] { std::fprintf(stderr, "ended %u seconds later\n", wholeSeconds() - winnerShownAt); });
            run();
            std::exit(3); // the match should never get back to the loop's end
        },
        testing::ExitedWithCode(0),
        "winner 0 shown at 320x240, white yes, red yes\nended (9|10) seconds later");
}

// The same win recorded, played back to its winner screen and its ten seconds,
// and timed, which skips them.
TEST_F(WinnerRun, ARecordedWinPlaysBackToTheWinnerScreenAndATimedOneSkipsTheWait) {
    const std::string demo = (runDirectory / "win.dem").string();
    startMatch();
    hold(scanUp, 200);
    EXPECT_EXIT(
        {
            run({"-record", demo});
            std::exit(3);
        },
        testing::ExitedWithCode(0), "");

    for (const char* option : {"-playdemo", "-timedemo"}) {
        resetGame();
        machine = &useMemoryPlatform(1024, 768);
        machine->frameObserver = [](const PresentedFrame&) {
            if (sim::match.winner != -1 && winnerShownAt == 0) winnerShownAt = wholeSeconds();
        };
        useRunDirectory();
        std::vector<std::string> words = {"tessaron3d", option, demo};
        std::vector<char*> argv;
        for (std::string& w : words) argv.push_back(w.data());
        EXPECT_EXIT(
            {
                std::atexit([] {
                    std::fprintf(stderr, "winner %d, ended %u seconds later\n", sim::match.winner,
                                 wholeSeconds() - winnerShownAt);
                });
                GameMain(static_cast<int>(argv.size()), argv.data());
                std::exit(3);
            },
            testing::ExitedWithCode(0),
            std::string(option) == "-playdemo" ? "^winner 0, ended (9|10) seconds later\n$"
                                               : "winner 0, ended 0 seconds later\n$")
            << option;
    }
}
