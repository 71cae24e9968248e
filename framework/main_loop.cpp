#include "framework/main_loop.hpp"

#include "framework/framework_state.hpp"

namespace {

constexpr u32 idleMilliseconds = 100;

} // namespace

void SetDrawCallback(DrawCallback callback) {
    drawCallback = callback;
}
void SetFrameCallback(FrameCallback callback) {
    frameCallback = callback;
}
void SetKeyDownCallback(EventCallback callback) {
    keyDownCallback = callback;
}
void SetKeyRepeatCallback(EventCallback callback) {
    keyRepeatCallback = callback;
}
void SetKeyUpCallback(EventCallback callback) {
    keyUpCallback = callback;
}
void SetMouseDownCallback(EventCallback callback) {
    mouseDownCallback = callback;
}
void SetActivateCallback(ActivateCallback callback) {
    activateCallback = callback;
}
void SetSuspendCallback(SuspendCallback callback) {
    suspendCallback = callback;
}
void SetModeSwitchCallback(ModeSwitchCallback callback) {
    modeSwitchCallback = callback;
}

i32 MainLoop() {
    quitRequested = 0;
    do {
        if (platform) {
            platform->startPass();
            // A pass with nothing to run but the events (the menu) waits for input
            // rather than spin the processor; input wakes it at once.
            if (!frameCallback && !(active == 1 && drawCallback)) platform->idle(idleMilliseconds);
        }
        ProcessEvents();
        if (frameCallback) frameCallback();
        if (active == 1 && drawCallback) drawCallback();
    } while (!quitRequested);
    ShutdownFramework();
    return 0;
}

void ProcessEvents() {
    Event event;
    while (NextEvent(&event, eventMaskAll)) {
        // Each callback gets its own copy: what it changes stays out of the queue.
        Event copy = event;
        EventCallback slot = nullptr;
        switch (event.kind) {
        case KeyDown:
            slot = keyDownCallback;
            break;
        case KeyRepeat:
            slot = keyRepeatCallback;
            break;
        case KeyUp:
            slot = keyUpCallback;
            break;
        case MouseDown:
            slot = mouseDownCallback;
            break;
        // Mouse-up, mouse-move and timer events have slots the game cannot fill:
        // they are fetched and dropped.
        default:
            break;
        }
        if (slot) slot(&copy);
    }
}

void RequestQuit() {
    quitRequested = 1;
}
