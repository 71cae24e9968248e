#include "shell/key_bindings.hpp"

#include "framework/events.hpp"
#include "framework/main_loop.hpp"
#include "shell/demo.hpp"
#include "shell/game_menu.hpp"
#include "shell/match_sound.hpp"
#include "shell/pause.hpp"
#include "shell/screenshot.hpp"
#include "shell/shell_state.hpp"
#include "sim/demo_file.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

void refillSupplies(Player& human) {
    human.ammo = static_cast<u16>(human.ammo + 10);
    human.mines = static_cast<u16>(human.mines + 3);
    human.nitro = static_cast<u16>(human.nitro + 128);
    human.shields = static_cast<i16>(human.shields + 4);
    if (human.shields > 8) human.shields = 8;
}

u32 IsControlDown(const ControlKeys& keys) {
    for (u8 key : keys)
        if (key != 0 && IsKeyDown(key)) return 1;
    return 0;
}

namespace {

// The scan code of the key whose press the event reports.
u8 pressedKey(const Event* event) {
    return event ? static_cast<u8>((event->code >> 8) & 0xFF) : 0;
}

void MatchKeyDown(const Event* event) {
    // Every bound key is tested in this order on every key press.
    if (IsControlDown(quitKeys)) RequestQuit();
    // P acts on its own press only: held, it would pause and resume again
    // whenever another key went down.
    if (isControlPress(event, pauseKeys)) togglePause();
    // A paused match answers nothing more until it goes on.
    if (matchPaused()) return;
    if (IsKeyDown(scanF)) {
        shell::state.showFps ^= 1;
        noteToggle(demoToggleFrameCounter);
    }
    // A demo being played drives the human itself.
    if (world::state.playerCount > 0 && keyboardDrivesHuman()) {
        Player& human = *world::state.players[0];
        if (IsControlDown(accelerateKeys)) human.accelerate = 1;
        if (IsControlDown(brakeKeys)) human.brake = 1;
        if (IsControlDown(turnLeftKeys)) human.turnLeft = 1;
        if (IsControlDown(turnRightKeys)) human.turnRight = 1;
        if (IsControlDown(dropFlagKeys)) human.dropFlag = 1;
        if (IsControlDown(layMineKeys)) human.layMine = 1;
        if (IsControlDown(fireKeys)) human.fire = 1;
        if (IsKeyDown(scanKeypadPlus)) {
            refillSupplies(human);
            noteRefill();
        }
    }
    if (IsKeyDown(scanF10)) {
        shell::state.gameMenu->renderToggle ^= 1;
        noteToggle(demoToggleOutline);
    }
    // Sound is no part of the match: the key answers in a demo as well.
    if (IsKeyDown(scanS)) ToggleMute();
}

} // namespace

bool isControlPress(const Event* event, const ControlKeys& keys) {
    const u8 pressed = pressedKey(event);
    for (u8 key : keys)
        if (key != 0 && key == pressed) return true;
    return false;
}

bool isWindowSwitchKey(const Event& event) {
    return event.kind == KeyDown && (event.modifiers & modAlt) != 0 &&
           ((event.code >> 8) & 0xFF) == scanEnter;
}

void OnKeyDown(Event* event) {
    // Alt+Enter is the window's switch between window and full screen, made by the
    // framework; to the game it is no key press, or the menu would act on its Enter.
    if (event != nullptr && isWindowSwitchKey(*event)) return;
    // The screenshot is taken of the frame on show, before the key changes anything.
    if (pressedKey(event) == scanF12) SaveScreenshot();
    if (shell::state.gameMenu->inMenu == 1)
        MenuKeyDown();
    else
        MatchKeyDown(event);
}

void OnKeyUp(Event* /*event*/) {
    if (shell::state.gameMenu->inMenu == 1 || world::state.playerCount == 0 || !keyboardDrivesHuman()) return;
    Player& human = *world::state.players[0];
    if (!IsControlDown(accelerateKeys)) human.accelerate = 0;
    if (!IsControlDown(brakeKeys)) human.brake = 0;
    if (!IsControlDown(turnLeftKeys)) human.turnLeft = 0;
    if (!IsControlDown(turnRightKeys)) human.turnRight = 0;
}
