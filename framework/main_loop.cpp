#include "framework/main_loop.hpp"

#include "framework/framework_state.hpp"

namespace {

constexpr u32 idleMilliseconds = 100;

} // namespace

void SetDrawCallback(DrawCallback callback) {
    framework::state.drawCallback = callback;
}
void SetFrameCallback(FrameCallback callback) {
    framework::state.frameCallback = callback;
}
void SetKeyDownCallback(EventCallback callback) {
    framework::state.keyDownCallback = callback;
}
void SetKeyRepeatCallback(EventCallback callback) {
    framework::state.keyRepeatCallback = callback;
}
void SetKeyUpCallback(EventCallback callback) {
    framework::state.keyUpCallback = callback;
}
void SetMouseDownCallback(EventCallback callback) {
    framework::state.mouseDownCallback = callback;
}
void SetActivateCallback(ActivateCallback callback) {
    framework::state.activateCallback = callback;
}
void SetSuspendCallback(SuspendCallback callback) {
    framework::state.suspendCallback = callback;
}
void SetModeSwitchCallback(ModeSwitchCallback callback) {
    framework::state.modeSwitchCallback = callback;
}

i32 MainLoop() {
    framework::state.quitRequested = 0;
    do {
        if (framework::state.platform) {
            framework::state.platform->startPass();
            // A pass with nothing to run but the events (the menu) waits for input
            // rather than spin the processor; input wakes it at once.
            if (!framework::state.frameCallback &&
                !(framework::state.active == 1 && framework::state.drawCallback))
                framework::state.platform->idle(idleMilliseconds);
        }
        ProcessEvents();
        if (framework::state.frameCallback) framework::state.frameCallback();
        if (framework::state.active == 1 && framework::state.drawCallback) framework::state.drawCallback();
    } while (!framework::state.quitRequested);
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
        case KeyDown: slot = framework::state.keyDownCallback; break;
        case KeyRepeat: slot = framework::state.keyRepeatCallback; break;
        case KeyUp: slot = framework::state.keyUpCallback; break;
        case MouseDown: slot = framework::state.mouseDownCallback; break;
        // Mouse-up, mouse-move and timer events have slots the game cannot fill:
        // they are fetched and dropped.
        default: break;
        }
        if (slot) slot(&copy);
    }
}

void RequestQuit() {
    framework::state.quitRequested = 1;
}
