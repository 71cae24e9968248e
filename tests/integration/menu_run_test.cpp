// The menu as the player sees it: the real start-up, keys pressed by scan code.
#include "game_run.hpp"

#include "shell/game_menu.hpp"
#include "shell/shell_state.hpp"
#include "sim/match_state.hpp"

#include <utility>

namespace {

class MenuRun : public GameRun {
  protected:
    // Records page and cursor at every menu shown.
    void SetUp() override {
        GameRun::SetUp();
        machine->keepLastFrame = true;
        machine->frameObserver = [this](const PresentedFrame&) {
            if (shell::state.gameMenu && shell::state.gameMenu->inMenu)
                shown.emplace_back(shell::state.gameMenu->page, shell::state.gameMenu->cursor);
        };
    }
    std::vector<std::pair<u32, i32>> shown;
};

// The highlighted line of a menu frame: the line whose band holds pure red text.
int highlightedLine(const std::vector<u8>& frame, u32 width) {
    int found = -1;
    for (int line = 0; line < 5; ++line)
        for (u32 y = 162 + 50 * static_cast<u32>(line); y < 202 + 50 * static_cast<u32>(line); ++y)
            for (u32 x = 102; x < 420; ++x) {
                const u8* p = frame.data() + (y * width + x) * 3;
                if (p[2] == 255 && p[1] == 0 && p[0] == 0) {
                    if (found != -1 && found != line) return -2;
                    found = line;
                }
            }
    return found;
}

} // namespace

TEST_F(MenuRun, StartsInA640x480WindowWithTheDefaultSettings) {
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(machine->windowTitle, "Tessaron 3d");
    EXPECT_FALSE(machine->fullScreen);
    EXPECT_EQ(machine->clientWidth, 640u);
    EXPECT_EQ(machine->clientHeight, 480u);
    EXPECT_EQ(machine->lastFrameWidth, 640u);
    ASSERT_TRUE(shell::state.gameMenu);
    EXPECT_EQ(shell::state.gameMenu->cockpit, 1u);
    EXPECT_EQ(shell::state.gameMenu->realisticSky, 1u);
    EXPECT_EQ(shell::state.gameMenu->windowed, 0u);
    EXPECT_EQ(shell::state.gameMenu->highResolution, 0u);
    EXPECT_EQ(shell::state.gameMenu->playerChoice, 2u);
    EXPECT_EQ(shell::state.gameMenu->level, 0u);
    EXPECT_EQ(highlightedLine(machine->lastFrame, 640), 0);
    // Closing the window asked first; the answer Yes ended the program with 0.
    ASSERT_EQ(machine->questions.size(), 1u);
    EXPECT_EQ(machine->questions[0].text, "Are you sure you want to quit?");
    EXPECT_EQ(machine->questions[0].title, "Confirm Exit");
}

TEST_F(MenuRun, UpAndDownWrapAroundOnBothPagesAndTheHighlightFollows) {
    tap(scanUp);    // 0 -> 4
    tap(scanDown);  // 4 -> 0
    tap(scanDown);  // 1 "Graphical Settings"
    tap(scanEnter); // graphics page, line 0
    tap(scanUp);    // 4
    tap(scanDown);  // 0
    ASSERT_EQ(run(), 0);
    const std::vector<std::pair<u32, i32>> expected = {{0, 0}, {0, 4}, {0, 0}, {0, 1},
                                                       {1, 0}, {1, 4}, {1, 0}};
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(highlightedLine(machine->lastFrame, 640), 0);
}

TEST_F(MenuRun, PlayersChooseTheLevelPairAndLevelsToggleWithinIt) {
    tap(scanDown);
    tap(scanDown);
    tap(scanEnter); // Players: 3, Level-C
    tap(scanDown);
    tap(scanEnter); // Level-D
    tap(scanEnter); // Level-C
    tap(scanEnter); // Level-D
    tap(scanUp);
    tap(scanEnter); // Players: 2 and Level-A, whatever level was chosen
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(shell::state.gameMenu->playerChoice, 2u);
    EXPECT_EQ(shell::state.gameMenu->level, 0u);
    EXPECT_STREQ(menuLineText(*shell::state.gameMenu, 2), "Players: 2");
    EXPECT_STREQ(menuLineText(*shell::state.gameMenu, 3), "Level: Level-A");
}

TEST_F(MenuRun, WindowedAndCockpitExcludeEachOtherOnlyWhenSwitchedOn) {
    tap(scanDown);
    tap(scanEnter); // graphics page
    tap(scanDown);
    tap(scanDown);
    tap(scanEnter); // Windowed on: cockpit off
    tap(scanEnter); // Windowed off: cockpit stays off
    tap(scanEnter); // Windowed on
    tap(scanUp);
    tap(scanUp);
    tap(scanEnter); // Cockpit on: windowed off
    tap(scanEnter); // Cockpit off: windowed stays off
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(shell::state.gameMenu->cockpit, 0u);
    EXPECT_EQ(shell::state.gameMenu->windowed, 0u);
    EXPECT_STREQ(menuLineText(*shell::state.gameMenu, 0), "Cockpit: Off");
    EXPECT_STREQ(menuLineText(*shell::state.gameMenu, 2), "Not Windowed");
}

TEST_F(MenuRun, ResolutionAndSkyFlipWhileTheMenuStaysInItsWindow) {
    tap(scanDown);
    tap(scanEnter);
    tap(scanDown);
    tap(scanEnter); // 640x480
    tap(scanDown);
    tap(scanDown);
    tap(scanEnter); // Ordinary Sky
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(shell::state.gameMenu->highResolution, 1u);
    EXPECT_EQ(shell::state.gameMenu->realisticSky, 0u);
    EXPECT_STREQ(menuLineText(*shell::state.gameMenu, 1), "640x480 @ 24bpp");
    EXPECT_STREQ(menuLineText(*shell::state.gameMenu, 3), "Ordinary Sky");
    // The menu itself stays in its 640x480 window whatever the settings say.
    EXPECT_FALSE(machine->fullScreen);
    EXPECT_EQ(machine->clientWidth, 640u);
}

TEST_F(MenuRun, GoBackHighlightsStartGame) {
    tap(scanDown);
    tap(scanEnter);
    tap(scanUp);    // "Go Back"
    tap(scanEnter); // main page
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(shown.back(), (std::pair<u32, i32>{0, 0}));
}

TEST_F(MenuRun, EnterAndDownTogetherOpenTheGraphicsPageOnItsSecondLine) {
    tap(scanDown); // "Graphical Settings"
    machine->pressKey(scriptPass, scanEnter);
    machine->pressKey(scriptPass, scanDown);
    machine->releaseKey(scriptPass + 1, scanEnter);
    machine->releaseKey(scriptPass + 1, scanDown);
    scriptPass += 2;
    ASSERT_EQ(run(), 0);
    // The first of the two key-down events finds both keys held: Enter opens the
    // graphics page, Down moves to its second line. (The second event finds them
    // still held and acts once more, on the graphics page.)
    ASSERT_GE(shown.size(), 4u);
    EXPECT_EQ(shown[1], (std::pair<u32, i32>{0, 1}));
    EXPECT_EQ(shown[2], (std::pair<u32, i32>{1, 0}));
    EXPECT_EQ(shown[3], (std::pair<u32, i32>{1, 1}));
}

TEST_F(MenuRun, EscFAndF10DoNothingInTheMenu) {
    tap(scanEsc);
    tap(scanF);
    tap(scanF10);
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(shell::state.gameMenu->inMenu, 1u);
    EXPECT_EQ(shell::state.gameMenu->renderToggle, 0u);
    EXPECT_EQ(shell::state.showFps, 0u);
    // Only the close box ended the program.
    EXPECT_EQ(machine->questions.size(), 1u);
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(MenuRun, QuitGameEndsAtOnceWithZero) {
    tap(scanUp); // "Quit Game"
    tap(scanEnter);
    EXPECT_EXIT(
        {
            run();
            std::exit(3);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(MenuRun, ANoAnswerToTheCloseQuestionKeepsTheMenu) {
    machine->closeAnswer = false;
    machine->requestClose(scriptPass);
    idle(2);
    tap(scanUp); // "Quit Game"
    tap(scanEnter);
    // Had the close ended the program, run() would return and the exit code be 3.
    EXPECT_EXIT(
        {
            run();
            std::exit(3);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(MenuRun, AltEnterOnlySwitchesTheWindowNeitherStartingNorQuitting) {
    const auto altEnter = [this] {
        machine->pressKey(scriptPass, scanAlt);
        machine->pressKey(scriptPass + 1, scanEnter);
        machine->releaseKey(scriptPass + 2, scanEnter);
        machine->releaseKey(scriptPass + 3, scanAlt);
        scriptPass += 4;
    };
    altEnter();  // on "Start Game!"
    tap(scanUp); // "Quit Game"
    altEnter();
    ASSERT_EQ(run(), 0); // ended by the close box, not by "Quit Game"
    EXPECT_EQ(shell::state.gameMenu->inMenu, 1u);
    EXPECT_EQ(shell::state.gameMenu->cursor, 4);
    EXPECT_EQ(machine->questions.size(), 1u);
}

TEST_F(MenuRun, TheWindowShowsTheGamesIconWithATransparentCorner) {
    ASSERT_EQ(run(), 0);
    const WindowIcon& icon = machine->windowIcon;
    ASSERT_EQ(icon.width, 64u);
    ASSERT_EQ(icon.height, 64u);
    ASSERT_EQ(icon.pixels.size(), 64u * 64);
    EXPECT_EQ(icon.pixels[0] >> 24, 0u);              // the rounded corner lets the desktop through
    EXPECT_EQ(icon.pixels[32 * 64 + 32] >> 24, 255u); // the picture is solid
}
