#include "framework/events.hpp"

#include "framework/framework_state.hpp"
#include "framework/window_messages.hpp"

namespace {

// Takes a record off the free list; -1 when every record is queued.
i32 takeFreeRecord() {
    const i32 index = framework::state.input.firstFree;
    if (index >= 0) framework::state.input.firstFree = framework::state.input.eventPool[index].next;
    return index;
}

void appendEvent(const Event& event) {
    const i32 index = takeFreeRecord();
    if (index < 0) return;
    Event& record = framework::state.input.eventPool[index];
    record = event;
    record.next = -1;
    record.prev = framework::state.input.lastQueued;
    if (framework::state.input.lastQueued >= 0)
        framework::state.input.eventPool[framework::state.input.lastQueued].next = index;
    else
        framework::state.input.firstQueued = index;
    framework::state.input.lastQueued = index;
    ++framework::state.input.queuedCount;
}

void unlinkEvent(i32 index) {
    Event& record = framework::state.input.eventPool[index];
    if (record.prev >= 0)
        framework::state.input.eventPool[record.prev].next = record.next;
    else
        framework::state.input.firstQueued = record.next;
    if (record.next >= 0)
        framework::state.input.eventPool[record.next].prev = record.prev;
    else
        framework::state.input.lastQueued = record.prev;
    record.next = framework::state.input.firstFree;
    record.prev = -1;
    framework::state.input.firstFree = index;
    --framework::state.input.queuedCount;
    if (framework::state.input.waitingMouseMove == index) framework::state.input.waitingMouseMove = -1;
}

u32 keyModifiers(const PlatformMessage& m) {
    return (m.alt ? modAlt : 0) | (m.shift ? modShift : 0) | (m.ctrl ? modCtrl : 0);
}

u32 mouseModifiers(const PlatformMessage& m) {
    return (m.leftHeld ? modLeftButton : 0) | (m.rightHeld ? modRightButton : 0) | (m.shift ? modShift : 0) |
           (m.ctrl ? modCtrl : 0) | (m.doubleClick ? modDoubleClick : 0);
}

// The pointer in the mode's coordinates: the client area in a window; in full
// screen the desktop position scaled to the mode's size.
void mousePosition(const PlatformMessage& m, Event& e) {
    e.x = m.x;
    e.y = m.y;
    if (framework::state.fullScreen && framework::state.displayHardware.desktopWidth &&
        framework::state.displayHardware.desktopHeight) {
        e.x = static_cast<i32>(static_cast<i64>(m.x) * framework::state.currentMode.width /
                               framework::state.displayHardware.desktopWidth);
        e.y = static_cast<i32>(static_cast<i64>(m.y) * framework::state.currentMode.height /
                               framework::state.displayHardware.desktopHeight);
    }
}

} // namespace

u32 IsKeyDown(u8 scanCode) {
    return framework::state.input.keyTable[scanCode] != 0 ? 1 : 0;
}

u32 NextEvent(Event* event, u32 mask) {
    pumpMessages();
    for (i32 i = framework::state.input.firstQueued; i >= 0; i = framework::state.input.eventPool[i].next) {
        if (framework::state.input.eventPool[i].kind & mask) {
            *event = framework::state.input.eventPool[i];
            unlinkEvent(i);
            return 1;
        }
    }
    event->kind = 0;
    return 0;
}

void FlushEvents(u32 mask) {
    Event event;
    while (NextEvent(&event, mask)) {
    }
}

void ResetEvents() {
    framework::state.input = framework::Input{};
}

void queueEventFor(const PlatformMessage& m) {
    Event e{};
    e.time = m.time;
    switch (m.kind) {
    case MessageKind::KeyDown: {
        e.kind = m.repeat ? KeyRepeat : KeyDown;
        const u32 code = m.character | static_cast<u32>(m.scanCode) << 8;
        framework::state.input.keyTable[m.scanCode] = static_cast<u16>(code);
        e.code = m.repeat ? code | m.repeatCount << 16 : code;
        e.modifiers = keyModifiers(m);
        break;
    }
    case MessageKind::KeyUp:
        // A key whose key-down was never seen (pressed before the window had the
        // keyboard, or before a reset) releases with code 0.
        e.kind = KeyUp;
        e.code = framework::state.input.keyTable[m.scanCode];
        framework::state.input.keyTable[m.scanCode] = 0;
        e.modifiers = keyModifiers(m);
        break;
    case MessageKind::MouseDown:
    case MessageKind::MouseUp:
        e.kind = m.kind == MessageKind::MouseDown ? MouseDown : MouseUp;
        e.code = m.button;
        mousePosition(m, e);
        e.modifiers = mouseModifiers(m);
        break;
    case MessageKind::MouseMove:
        e.kind = MouseMove;
        mousePosition(m, e);
        e.modifiers = mouseModifiers(m);
        break;
    case MessageKind::Timer: e.kind = Timer; break;
    default: return; // window messages are no input
    }

    if (e.kind == MouseMove && framework::state.input.waitingMouseMove >= 0) {
        // Only the newest position matters until the game fetches the move.
        framework::state.input.eventPool[framework::state.input.waitingMouseMove].x = e.x;
        framework::state.input.eventPool[framework::state.input.waitingMouseMove].y = e.y;
        return;
    }
    if (e.kind != MouseMove) framework::state.input.waitingMouseMove = -1;
    // A full queue drops the event; the key table above already follows the key.
    if (framework::state.input.queuedCount >= eventQueueSize) return;
    appendEvent(e);
    if (e.kind == MouseMove) framework::state.input.waitingMouseMove = framework::state.input.lastQueued;
}
