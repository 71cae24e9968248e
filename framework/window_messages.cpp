#include "framework/window_messages.hpp"

#include "framework/framework_state.hpp"

namespace {

constexpr u32 suspendPollMilliseconds = 200;

bool displayExists() {
    return frameworkDisplay.displayDevice != nullptr;
}

void postSwitchCommand(u32 reason) {
    PlatformMessage command;
    command.kind = MessageKind::SwitchCommand;
    command.reason = reason;
    command.time = platform->milliseconds();
    platform->postMessage(command);
}

void askToClose() {
    // Full screen has no window frame to close; the request can only be a stray.
    if (fullScreen) return;
    if (!platform->askYesNo("Are you sure you want to quit?", "Confirm Exit")) return;
    platform->destroyWindow();
    windowExists = false;
    // A destroyed window ends the program after the pass now running.
    RequestQuit();
}

// The switch between window and full screen, made by the framework itself. Only a
// game that takes the switch back (the after-switch slot) gets it.
void switchModes(u32 reason) {
    if (!modeSwitchCallback) return;
    // A desktop change always lands in a window; otherwise the switch goes from
    // full screen to a window and back.
    const u32 windowed = reason == switchByDisplayChange ? 1 : fullScreen;
    switching = 1;
    const ModeEntry entry = currentMode;
    SetMode(entry, windowed, currentPages, currentSystemMemory);
    switching = 0;
    modeSwitchCallback(currentMode, windowed);
}

void displayTakenAway() {
    if (!active) return;
    active = 0;
    const u32 answer = suspendCallback ? suspendCallback(frameworkDisplay.displayDevice, 1) : 1;
    if (answer == 2) return; // run on without drawing
    // Hold the program, answering the window now and then, until the display is back.
    while (!active && displayOpen) {
        platform->waitMessage(suspendPollMilliseconds);
        PlatformMessage message;
        while (!active && platform->pollMessage(message))
            handleWindowMessage(message);
    }
}

void displayGivenBack() {
    if (active) return;
    active = 1;
    if (suspendCallback) suspendCallback(frameworkDisplay.displayDevice, 2);
}

} // namespace

void pumpMessages() {
    if (!platform || !displayOpen) return;
    PlatformMessage message;
    while (platform->pollMessage(message)) {
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
    case MessageKind::Close:
        askToClose();
        break;
    case MessageKind::Paint:
        // Show the last frame again rather than leave the window blank until the
        // game draws: the menu draws only when a key is pressed.
        if (windowExists) platform->repaint();
        break;
    case MessageKind::Activate:
        windowActive = m.state;
        windowMinimised = m.minimised ? 1 : 0;
        if (!fullScreen && activateCallback) activateCallback(m.state);
        break;
    case MessageKind::Maximise:
        if (displayExists()) postSwitchCommand(switchByUser);
        break;
    case MessageKind::DisplayChange:
        if (!fullScreen && displayExists() && !switching) postSwitchCommand(switchByDisplayChange);
        break;
    case MessageKind::DisplaySuspend:
        if (m.state == 1)
            displayTakenAway();
        else
            displayGivenBack();
        break;
    case MessageKind::SwitchCommand:
        switchModes(m.reason);
        break;
    default:
        break; // input: queued as events, nothing for the window to do
    }
}
