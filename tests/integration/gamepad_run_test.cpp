// A gamepad through the whole game: plugged in at the menu, it chooses and
// starts a match, drives, fires, lays a mine, pauses and ends the match.
#include "game_run.hpp"

#include "shell/game_menu.hpp"
#include "shell/pause.hpp"
#include "shell/shell_state.hpp"
#include "world/camera.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

#include <algorithm>
#include <cstdlib>

namespace {

class GamepadRun : public GameRun {
  protected:
    void press(PadButton button) {
        machine->padButton(scriptPass, pad, button, true);
        machine->padButton(scriptPass + 1, pad, button, false);
        scriptPass += 2;
    }
    static constexpr i32 pad = 3;
};

} // namespace

TEST_F(GamepadRun, APadChoosesInTheMenuAndPlaysTheMatch) {
    machine->plugPad(1, pad);
    scriptPass = 2;
    press(PadButton::DpadDown);
    machine->padAxis(scriptPass, pad, PadAxis::LeftY, 30000); // the stick down: "Players"
    machine->padAxis(scriptPass + 1, pad, PadAxis::LeftY, 0);
    scriptPass += 2;
    press(PadButton::A); // "Players: 3", Level-C
    press(PadButton::DpadUp);
    press(PadButton::DpadUp);
    press(PadButton::A); // "Start Game!"

    // In the match: the right trigger accelerates, the stick turns left for a moment.
    machine->padAxis(scriptPass, pad, PadAxis::RightTrigger, 32767);
    machine->padAxis(scriptPass + 2, pad, PadAxis::LeftX, -32768);
    machine->padAxis(scriptPass + 4, pad, PadAxis::LeftX, 0);
    scriptPass += 10;
    press(PadButton::X);
    press(PadButton::Y);
    press(PadButton::Start); // pause
    scriptPass += 5;
    press(PadButton::Start); // and on
    machine->padAxis(scriptPass, pad, PadAxis::RightTrigger, 0);
    scriptPass += 2;
    press(PadButton::Back); // ends the match as Esc does: the run ends before its own Esc
    const u32 backAt = scriptPass - 2;

    ASSERT_EQ(run(), 0);
    EXPECT_EQ(machine->pass(), backAt) << "Back ended the program in the pass it was pressed";
    EXPECT_EQ(shell::state.gameMenu->inMenu, 0u);
    EXPECT_EQ(shell::state.gameMenu->playerChoice, 3u);
    EXPECT_EQ(world::state.playerCount, 3);
    const Player& human = *world::state.players[0];
    EXPECT_EQ(human.ammo, 9u);
    EXPECT_EQ(human.mines, 4u);
    EXPECT_NE(human.camera->heading, human.startHeading) << "the stick turned the car";
    EXPECT_GT(std::abs(static_cast<i64>(human.camera->x) - human.startX) +
                  std::abs(static_cast<i64>(human.camera->y) - human.startY),
              20000)
        << "the trigger drove it";
    EXPECT_EQ(human.accelerate, 0u);
    EXPECT_FALSE(matchPaused());
    EXPECT_GE(machine->idlePasses, 5u) << "Start paused the match";
}

TEST_F(GamepadRun, UnpluggedWhileDrivingThePadLetsGoOfItsControls) {
    machine->plugPad(1, pad);
    startMatch();
    machine->padButton(scriptPass, pad, PadButton::A, true);
    machine->padButton(scriptPass + 1, pad, PadButton::DpadRight, true);
    machine->unplugPad(scriptPass + 4, pad);
    scriptPass += 8;
    std::vector<u32> accelerating;
    machine->frameObserver = [&](const PresentedFrame&) {
        if (shell::state.gameMenu && !shell::state.gameMenu->inMenu)
            accelerating.push_back(world::state.players[0]->accelerate);
    };
    ASSERT_EQ(run(), 0);
    const Player& human = *world::state.players[0];
    EXPECT_EQ(human.accelerate, 0u);
    EXPECT_EQ(human.turnRight, 0u);
    EXPECT_NE(std::find(accelerating.begin(), accelerating.end(), 1u), accelerating.end());
}
