#include "framework/window_messages.hpp"

#include "framework/framework_state.hpp"

namespace {

constexpr u32 suspendPollMilliseconds = 200;

bool displayExists() {
    return framework::state.frameworkDisplay.displayDevice != nullptr;
}

void postSwitchCommand(u32 reason) {
    PlatformMessage command;
    command.kind = MessageKind::SwitchCommand;
    command.reason = reason;
    command.time = framework::state.platform->milliseconds();
    framework::state.platform->postMessage(command);
}

void askToClose() {
    // Full screen has no window frame to close; the request can only be a stray.
    if (framework::state.fullScreen) return;
    if (!framework::state.platform->askYesNo("Are you sure you want to quit?", "Confirm Exit")) return;
    framework::state.platform->destroyWindow();
    framework::state.windowExists = false;
    // A destroyed window ends the program after the pass now running.
    RequestQuit();
}

// The switch between window and full screen, made by the framework itself. Only a
// game that takes the switch back (the after-switch slot) gets it.
void switchModes(u32 reason) {
    if (!framework::state.modeSwitchCallback) return;
    // A desktop change always lands in a window; otherwise the switch goes from
    // full screen to a window and back.
    const u32 windowed = reason == switchByDisplayChange ? 1 : framework::state.fullScreen;
    framework::state.switchingModes = 1;
    const ModeEntry entry = framework::state.currentMode;
    SetMode(entry, windowed, framework::state.currentPages, framework::state.currentSystemMemory);
    framework::state.switchingModes = 0;
    framework::state.modeSwitchCallback(framework::state.currentMode, windowed);
}

void displayTakenAway() {
    if (!framework::state.active) return;
    framework::state.active = 0;
    const u32 answer =
        framework::state.suspendCallback
            ? framework::state.suspendCallback(framework::state.frameworkDisplay.displayDevice, 1)
            : 1;
    if (answer == 2) return; // run on without drawing
    // Hold the program, answering the window now and then, until the display is back.
    while (!framework::state.active && framework::state.displayOpen) {
        framework::state.platform->waitMessage(suspendPollMilliseconds);
        PlatformMessage message;
        while (!framework::state.active && framework::state.platform->pollMessage(message))
            handleWindowMessage(message);
    }
}

void displayGivenBack() {
    if (framework::state.active) return;
    framework::state.active = 1;
    if (framework::state.suspendCallback)
        framework::state.suspendCallback(framework::state.frameworkDisplay.displayDevice, 2);
}

} // namespace

void pumpMessages() {
    if (!framework::state.platform || !framework::state.displayOpen) return;
    PlatformMessage message;
    while (framework::state.platform->pollMessage(message)) {
        queueEventFor(message);
        handleWindowMessage(message);
    }
}

void handleWindowMessage(const PlatformMessage& m) {
    switch (m.kind) {
    case MessageKind::KeyDown:
        // Alt+Enter switches; a held Alt+Enter does not switch again at every repeat.
        if (m.systemKey && m.alt && m.scanCode == scanEnter && !m.repeat && displayExists())
            postSwitchCommand(switchByUser);
        break;
    case MessageKind::Close: askToClose(); break;
    case MessageKind::Paint:
        // Show the last frame again rather than leave the window blank until the
        // game draws: the menu draws only when a key is pressed.
        if (framework::state.windowExists) framework::state.platform->repaint();
        break;
    case MessageKind::Activate:
        framework::state.windowActive = m.state;
        framework::state.windowMinimised = m.minimised ? 1 : 0;
        if (!framework::state.fullScreen && framework::state.activateCallback)
            framework::state.activateCallback(m.state);
        break;
    case MessageKind::Maximise:
        if (displayExists()) postSwitchCommand(switchByUser);
        break;
    case MessageKind::DisplayChange:
        if (!framework::state.fullScreen && displayExists() && !framework::state.switchingModes)
            postSwitchCommand(switchByDisplayChange);
        break;
    case MessageKind::DisplaySuspend:
        if (m.state == 1)
            displayTakenAway();
        else
            displayGivenBack();
        break;
    case MessageKind::SwitchCommand: switchModes(m.reason); break;
    default: break; // input: queued as events, nothing for the window to do
    }
}
