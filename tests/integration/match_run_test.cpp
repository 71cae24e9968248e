// Matches started from the menu on every shipped level, and the keys of a match.
#include "game_run.hpp"

#include "framework/framework_state.hpp"
#include "gfx/bitmap.hpp"
#include "shell/game_menu.hpp"
#include "shell/shell_state.hpp"
#include "sim/match_state.hpp"
#include "world/camera.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

#include <tuple>

namespace {

struct MatchSettings {
    u16 level;
    bool highResolution;
    bool cockpit;
};

class MatchStart : public GameRun, public testing::WithParamInterface<MatchSettings> {};

std::string settingsName(const testing::TestParamInfo<MatchSettings>& info) {
    const MatchSettings& s = info.param;
    return std::string("Level") + char('A' + s.level) + (s.highResolution ? "_640" : "_320") +
           (s.cockpit ? "_Cockpit" : "_Plain");
}

std::vector<MatchSettings> everyLevelAndSetting() {
    std::vector<MatchSettings> all;
    for (u16 level = 0; level < 4; ++level)
        for (bool high : {false, true})
            for (bool cockpit : {true, false}) all.push_back({level, high, cockpit});
    return all;
}

} // namespace

TEST_P(MatchStart, OpensTheLevelFullScreenAtItsSizeAndDrawsFrames) {
    const MatchSettings s = GetParam();
    chooseSettings(s.level, s.highResolution, s.cockpit, false);
    startMatch();
    const u32 startPass = scriptPass - 2;
    idle(6);
    ASSERT_EQ(run(), 0);

    const u32 width = s.highResolution ? 640 : 320;
    const u32 height = s.highResolution ? 480 : 240;
    EXPECT_EQ(shell::state.gameMenu->inMenu, 0u);
    EXPECT_EQ(world::state.playerCount, s.level < 2 ? 2 : 3);
    EXPECT_EQ(sim::match.playerChoice, s.level < 2 ? 2 : 3);
    EXPECT_EQ(shell::state.currentScreen->maxX, width - 1);
    EXPECT_EQ(shell::state.currentScreen->maxY, height - 1);
    EXPECT_EQ(machine->lastFrameWidth, width);
    EXPECT_EQ(machine->lastFrameHeight, height);
    EXPECT_TRUE(machine->screenWidth >= width); // shown full screen, scaled
    EXPECT_EQ(shell::state.currentScreen->cockpitBitmap != nullptr, s.cockpit);
    if (s.cockpit) {
        EXPECT_EQ(shell::state.currentScreen->cockpitBitmap->width, static_cast<i32>(width));
        EXPECT_NE(shell::state.currentScreen->segmentHBitmap, nullptr);
    }
    ASSERT_NE(shell::state.gameMenu->skyBitmap, nullptr);
    for (u16 i = 0; i < world::state.playerCount; ++i) {
        ASSERT_TRUE(world::state.players[i]->camera) << "player " << i;
        EXPECT_EQ(world::state.players[i]->camera->z, 3072u);
        EXPECT_EQ(world::state.players[i]->world, &world::state.worldGrid);
    }
    // Two frames per pass from the start of the match on: the frame callback's and the draw callback's.
    EXPECT_GE(machine->framesPresented, 2 * (machine->pass() - startPass));
    EXPECT_EQ(sim::match.winner, -1);
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, MatchStart, testing::ValuesIn(everyLevelAndSetting()), settingsName);

TEST_F(GameRun, AWindowedMatchShowsSmallModesAtTwiceTheSize) {
    chooseSettings(0, false, false, true);
    startMatch();
    idle(3);
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(shell::state.gameMenu->windowed, 1u);
    EXPECT_EQ(shell::state.gameMenu->cockpit, 0u);
    EXPECT_EQ(shell::state.currentScreen->maxX, 319u);
    // On a 1024x768 desktop the 320x240 frame is shown in a 640x480 client area.
    EXPECT_FALSE(machine->fullScreen);
    EXPECT_EQ(machine->clientWidth, 640u);
    EXPECT_EQ(machine->clientHeight, 480u);
    EXPECT_EQ(shell::state.currentScreen->cockpitBitmap, nullptr);
}

TEST_F(GameRun, ArrowKeysDriveAndTurnTheHumanCar) {
    startMatch();
    hold(scanUp, 20);
    ASSERT_EQ(run(), 0);
    // Heading 16384 looks along +x: the car went that way and carried its camera along.
    const Player& human = *world::state.players[0];
    EXPECT_GT(human.camera->x, human.startX + 20000);
    EXPECT_EQ(human.camera->y, human.startY);
    EXPECT_EQ(human.camera->heading, 16384);
    EXPECT_EQ(human.accelerate, 0u); // the key went up
}

TEST_F(GameRun, LeftMakesTheHeadingGrowAndRightShrink) {
    startMatch();
    hold(scanLeft, 4);
    idle(30); // friction brings the turn to rest; a right key before that only slows it
    hold(scanRight, 4);
    idle(10);
    std::vector<u16> headings;
    machine->frameObserver = [&](const PresentedFrame&) {
        if (shell::state.gameMenu && !shell::state.gameMenu->inMenu)
            headings.push_back(world::state.players[0]->camera->heading);
    };
    ASSERT_EQ(run(), 0);
    ASSERT_FALSE(headings.empty());
    u16 highest = 0;
    for (u16 h : headings) highest = std::max(highest, h);
    EXPECT_GT(highest, 16384);
    EXPECT_LT(headings.back(), highest); // the right turn took some of it back
}

TEST_F(GameRun, SpaceFiresAShot) {
    startMatch();
    tap(scanSpace);
    idle(2);
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(world::state.players[0]->ammo, 9u);
}

TEST_F(GameRun, MLaysAMineBehindTheCar) {
    startMatch();
    idle(2);
    tap(scanM);
    idle(2);
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(world::state.players[0]->mines, 4u);
    int laid = 0;
    for (const auto& object : world::state.worldObjects)
        if (object->type == ObjectType::Mine && object->owner == 1) ++laid;
    EXPECT_EQ(laid, 1);
}

TEST_F(GameRun, FTogglesTheCounterF10TheOutlinesAndKeypadPlusRefills) {
    startMatch();
    tap(scanF);
    tap(scanF10);
    tap(scanKeypadPlus);
    tap(scanKeypadPlus);
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(shell::state.showFps, 1u);
    EXPECT_EQ(shell::state.gameMenu->renderToggle, 1u);
    const Player& human = *world::state.players[0];
    EXPECT_EQ(human.ammo, 30u);
    EXPECT_EQ(human.mines, 11u);
    EXPECT_EQ(human.nitro, 256u);
    EXPECT_EQ(human.shields, 8);
}

TEST_F(GameRun, HoldingFAndPressingF10FlipsBoth) {
    startMatch();
    machine->pressKey(scriptPass, scanF);       // F on
    machine->pressKey(scriptPass + 2, scanF10); // F again and F10 on
    machine->releaseKey(scriptPass + 3, scanF);
    machine->releaseKey(scriptPass + 3, scanF10);
    scriptPass += 4;
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(shell::state.showFps, 0u);
    EXPECT_EQ(shell::state.gameMenu->renderToggle, 1u);
}

TEST_F(GameRun, EscEndsTheMatchWithZeroAndClosesTheDisplay) {
    startMatch();
    idle(2);
    EXPECT_EQ(run(), 0);
    EXPECT_FALSE(machine->displayOpen);
    EXPECT_TRUE(machine->questions.empty()); // no confirmation for Esc
}

TEST_F(GameRun, AltEnterSwitchesAndTheGameSwitchesBackToItsSettings) {
    std::vector<bool> shownFullScreen; // per frame of the match
    machine->frameObserver = [&](const PresentedFrame&) {
        if (shell::state.gameMenu && !shell::state.gameMenu->inMenu)
            shownFullScreen.push_back(machine->fullScreen);
    };
    startMatch();
    idle(2);
    machine->pressKey(scriptPass, scanAlt);
    machine->pressKey(scriptPass + 1, scanEnter);
    machine->releaseKey(scriptPass + 2, scanEnter);
    machine->releaseKey(scriptPass + 2, scanAlt);
    scriptPass += 4;
    idle(2);
    ASSERT_EQ(run(), 0);
    // The framework's switch went to a window; the game's after-switch callback
    // went straight back to the full screen of its settings, so no frame was
    // shown in a window.
    ASSERT_FALSE(shownFullScreen.empty());
    for (bool full : shownFullScreen) EXPECT_TRUE(full);
}
