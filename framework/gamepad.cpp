#include "framework/gamepad.hpp"

#include "framework/events.hpp"

namespace {

constexpr u32 padKeyCount = scanPadRightTrigger - scanPadUp + 1;

u32 keyBit(u8 scanCode) {
    return 1u << (scanCode - scanPadUp);
}

PlatformMessage keyMessage(u8 scanCode, bool down) {
    PlatformMessage m;
    m.kind = down ? MessageKind::KeyDown : MessageKind::KeyUp;
    m.scanCode = scanCode;
    return m;
}

// Past the press point, or still past the release point when it was pushed.
bool pushedPast(i32 value, bool wasPushed) {
    return value >= (wasPushed ? padReleaseBelow : padPressAt);
}

} // namespace

void GamepadKeys::plug(i32 pad) {
    pads_.try_emplace(pad);
}

void GamepadKeys::unplug(i32 pad, std::vector<PlatformMessage>& out) {
    const auto found = pads_.find(pad);
    if (found == pads_.end()) return;
    if (pad == driver_) {
        // What the pad held goes up with it; the next pad to press something drives.
        for (u32 k = 0; k < padKeyCount; ++k)
            if (found->second.keysDown & (1u << k))
                out.push_back(keyMessage(static_cast<u8>(scanPadUp + k), false));
        driver_ = -1;
    }
    pads_.erase(found);
}

void GamepadKeys::button(i32 pad, PadButton which, bool down, std::vector<PlatformMessage>& out) {
    Pad& state = pads_[pad];
    state.buttons[static_cast<u32>(which)] = down;
    update(pad, state, out);
}

void GamepadKeys::axis(i32 pad, PadAxis which, i32 value, std::vector<PlatformMessage>& out) {
    Pad& state = pads_[pad];
    state.axes[static_cast<u32>(which)] = value;
    update(pad, state, out);
}

void GamepadKeys::update(i32 pad, Pad& s, std::vector<PlatformMessage>& out) {
    const auto held = [&](PadButton b) { return s.buttons[static_cast<u32>(b)]; };
    const i32 x = s.axes[static_cast<u32>(PadAxis::LeftX)];
    const i32 y = s.axes[static_cast<u32>(PadAxis::LeftY)];
    s.pushed[0] = pushedPast(-x, s.pushed[0]);
    s.pushed[1] = pushedPast(x, s.pushed[1]);
    s.pushed[2] = pushedPast(-y, s.pushed[2]);
    s.pushed[3] = pushedPast(y, s.pushed[3]);
    s.pushed[4] = pushedPast(s.axes[static_cast<u32>(PadAxis::LeftTrigger)], s.pushed[4]);
    s.pushed[5] = pushedPast(s.axes[static_cast<u32>(PadAxis::RightTrigger)], s.pushed[5]);

    u32 keys = 0;
    const auto set = [&](u8 scanCode, bool down) {
        if (down) keys |= keyBit(scanCode);
    };
    set(scanPadLeft, held(PadButton::DpadLeft) || s.pushed[0]);
    set(scanPadRight, held(PadButton::DpadRight) || s.pushed[1]);
    set(scanPadUp, held(PadButton::DpadUp) || s.pushed[2]);
    set(scanPadDown, held(PadButton::DpadDown) || s.pushed[3]);
    set(scanPadLeftTrigger, s.pushed[4]);
    set(scanPadRightTrigger, s.pushed[5]);
    set(scanPadA, held(PadButton::A));
    set(scanPadB, held(PadButton::B));
    set(scanPadX, held(PadButton::X));
    set(scanPadY, held(PadButton::Y));
    set(scanPadShoulder, held(PadButton::LeftShoulder) || held(PadButton::RightShoulder));
    set(scanPadBack, held(PadButton::Back));
    set(scanPadStart, held(PadButton::Start));

    u32 changed = keys ^ s.keysDown;
    s.keysDown = keys;
    if (driver_ == -1 && (changed & keys) != 0) {
        // A pad that takes over presses everything it holds.
        driver_ = pad;
        changed = keys;
    }
    if (pad != driver_) return;
    for (u32 k = 0; k < padKeyCount; ++k)
        if (changed & (1u << k)) out.push_back(keyMessage(static_cast<u8>(scanPadUp + k), (keys >> k) & 1));
}
