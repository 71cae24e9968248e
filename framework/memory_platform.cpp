#include "framework/memory_platform.hpp"

#include "base/clock.hpp"
#include "base/fatal.hpp"
#include "framework/events.hpp"
#include "framework/framework_state.hpp"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstring>

namespace {

// The virtual clock starts at a fixed calendar time, far from 0, so that code
// treating a time of 0 as "not yet" behaves as it does on a real clock.
constexpr u64 clockStartMilliseconds = 1'000'000'000'000ull;

PlatformMessage messageOf(MessageKind kind) {
    PlatformMessage m;
    m.kind = kind;
    return m;
}

u32 memoryClockSeconds() {
    return memoryPlatform().clockSeconds();
}

void memorySleep(u32 milliseconds) {
    memoryPlatform().advanceTime(milliseconds);
}

} // namespace

MemoryPlatform::MemoryPlatform(u32 desktopWidth, u32 desktopHeight)
    : start_(clockStartMilliseconds), now_(clockStartMilliseconds) {
    hardware.desktopWidth = desktopWidth;
    hardware.desktopHeight = desktopHeight;
    hardware.desktopBitsPerPixel = 24;
    hardware.families = familyBit(DriverFamily::FullScreenDib) | familyBit(DriverFamily::DirectDraw) |
                        familyBit(DriverFamily::OpenGL);
    hardware.modes = offerModesUpTo(desktopWidth, desktopHeight, 2, modeCapPageFlip | modeCapDesktop);
}

// ---- Script ----

void MemoryPlatform::schedule(u32 pass, const PlatformMessage& message) {
    const auto at = std::upper_bound(script_.begin(), script_.end(), pass,
                                     [](u32 p, const Scheduled& s) { return p < s.pass; });
    script_.insert(at, Scheduled{pass, message, PadAction{}});
}

void MemoryPlatform::schedulePad(u32 pass, const PadAction& pad) {
    const auto at = std::upper_bound(script_.begin(), script_.end(), pass,
                                     [](u32 p, const Scheduled& s) { return p < s.pass; });
    script_.insert(at, Scheduled{pass, PlatformMessage{}, pad});
}

void MemoryPlatform::plugPad(u32 pass, i32 pad) {
    schedulePad(pass, {PadEvent::Plug, pad, 0, 0});
}

void MemoryPlatform::unplugPad(u32 pass, i32 pad) {
    schedulePad(pass, {PadEvent::Unplug, pad, 0, 0});
}

void MemoryPlatform::padButton(u32 pass, i32 pad, PadButton button, bool down) {
    schedulePad(pass, {PadEvent::Button, pad, static_cast<u32>(button), down ? 1 : 0});
}

void MemoryPlatform::padAxis(u32 pass, i32 pad, PadAxis axis, i32 value) {
    schedulePad(pass, {PadEvent::Axis, pad, static_cast<u32>(axis), value});
}

void MemoryPlatform::takeScripted(std::deque<PlatformMessage>& into) {
    const Scheduled next = script_.front();
    script_.pop_front();
    std::vector<PlatformMessage> keys;
    switch (next.pad.event) {
    case PadEvent::None: keys.push_back(next.message); break;
    case PadEvent::Plug: padKeys_.plug(next.pad.pad); break;
    case PadEvent::Unplug: padKeys_.unplug(next.pad.pad, keys); break;
    case PadEvent::Button:
        padKeys_.button(next.pad.pad, static_cast<PadButton>(next.pad.control), next.pad.value != 0, keys);
        break;
    case PadEvent::Axis:
        padKeys_.axis(next.pad.pad, static_cast<PadAxis>(next.pad.control), next.pad.value, keys);
        break;
    }
    for (PlatformMessage& m : keys) {
        arrive(m);
        into.push_back(m);
    }
}

void MemoryPlatform::pressKey(u32 pass, u8 scanCode, u8 character) {
    PlatformMessage m = messageOf(MessageKind::KeyDown);
    m.scanCode = scanCode;
    m.character = character;
    schedule(pass, m);
}

void MemoryPlatform::releaseKey(u32 pass, u8 scanCode) {
    PlatformMessage m = messageOf(MessageKind::KeyUp);
    m.scanCode = scanCode;
    schedule(pass, m);
}

void MemoryPlatform::tapKey(u32 pass, u8 scanCode, u8 character) {
    pressKey(pass, scanCode, character);
    releaseKey(pass, scanCode);
}

void MemoryPlatform::moveMouse(u32 pass, i32 x, i32 y) {
    PlatformMessage m = messageOf(MessageKind::MouseMove);
    m.x = x;
    m.y = y;
    schedule(pass, m);
}

void MemoryPlatform::pressButton(u32 pass, u32 button, i32 x, i32 y, bool doubleClick) {
    PlatformMessage m = messageOf(MessageKind::MouseDown);
    m.button = button;
    m.x = x;
    m.y = y;
    m.doubleClick = doubleClick;
    schedule(pass, m);
}

void MemoryPlatform::releaseButton(u32 pass, u32 button, i32 x, i32 y) {
    PlatformMessage m = messageOf(MessageKind::MouseUp);
    m.button = button;
    m.x = x;
    m.y = y;
    schedule(pass, m);
}

void MemoryPlatform::timerTick(u32 pass) {
    schedule(pass, messageOf(MessageKind::Timer));
}

void MemoryPlatform::requestClose(u32 pass) {
    schedule(pass, messageOf(MessageKind::Close));
}

void MemoryPlatform::changeFocus(u32 pass, bool focused) {
    PlatformMessage m = messageOf(MessageKind::Activate);
    m.state = focused ? 1 : 0;
    schedule(pass, m);
}

void MemoryPlatform::minimise(u32 pass) {
    PlatformMessage m = messageOf(MessageKind::Activate);
    m.state = 0;
    m.minimised = true;
    schedule(pass, m);
}

void MemoryPlatform::maximise(u32 pass) {
    schedule(pass, messageOf(MessageKind::Maximise));
}

void MemoryPlatform::changeDisplay(u32 pass) {
    schedule(pass, messageOf(MessageKind::DisplayChange));
}

void MemoryPlatform::takeDisplayAway(u32 pass) {
    PlatformMessage m = messageOf(MessageKind::DisplaySuspend);
    m.state = 1;
    schedule(pass, m);
}

void MemoryPlatform::giveDisplayBack(u32 pass) {
    PlatformMessage m = messageOf(MessageKind::DisplaySuspend);
    m.state = 2;
    schedule(pass, m);
}

void MemoryPlatform::send(u32 pass, const PlatformMessage& message) {
    schedule(pass, message);
}

void MemoryPlatform::arrive(PlatformMessage& m) {
    m.time = milliseconds();
    switch (m.kind) {
    case MessageKind::KeyDown:
        m.repeat = held_[m.scanCode];
        m.repeatCount = 1;
        held_[m.scanCode] = true;
        break;
    case MessageKind::KeyUp: held_[m.scanCode] = false; break;
    case MessageKind::MouseDown: (m.button == buttonRight ? rightHeld_ : leftHeld_) = true; break;
    case MessageKind::MouseUp: (m.button == buttonRight ? rightHeld_ : leftHeld_) = false; break;
    default: break;
    }
    if (m.kind == MessageKind::KeyDown || m.kind == MessageKind::KeyUp) {
        m.alt = held_[scanAlt];
        m.shift = held_[scanLeftShift] || held_[scanRightShift];
        m.ctrl = held_[scanCtrl];
        m.systemKey = m.alt || m.scanCode == scanF10;
    }
    if (m.kind == MessageKind::MouseDown || m.kind == MessageKind::MouseUp ||
        m.kind == MessageKind::MouseMove) {
        m.leftHeld = leftHeld_;
        m.rightHeld = rightHeld_;
        m.shift = held_[scanLeftShift] || held_[scanRightShift];
        m.ctrl = held_[scanCtrl];
    }
}

// ---- Clock ----

u32 MemoryPlatform::clockSeconds() {
    now_ += millisecondsPerClockRead;
    return static_cast<u32>(now_ / 1000);
}

u32 MemoryPlatform::milliseconds() {
    return static_cast<u32>(now_ - start_);
}

void MemoryPlatform::startPass() {
    ++pass_;
    sound.pass = pass_;
    now_ += millisecondsPerPass;
}

// ---- Platform ----

bool MemoryPlatform::openDisplay(DisplayHardware& description) {
    if (!displayAvailable) return false;
    description = hardware;
    displayOpen = true;
    return true;
}

void MemoryPlatform::closeDisplay() {
    destroyWindow();
    displayOpen = false;
}

bool MemoryPlatform::createWindow(const char* title, bool canMaximise) {
    windowExists = true;
    windowTitle = title;
    windowCanMaximise = canMaximise;
    windowShown = false;
    return true;
}

void MemoryPlatform::destroyWindow() {
    windowExists = false;
    windowShown = false;
    fullScreen = false;
}

void MemoryPlatform::showWindow(WindowPlace where, u32 width, u32 height) {
    place = where;
    clientWidth = width;
    clientHeight = height;
    windowShown = true;
    fullScreen = false;
}

bool MemoryPlatform::enterFullScreen(u32 width, u32 height) {
    screenWidth = width;
    screenHeight = height;
    windowShown = true;
    fullScreen = true;
    return true;
}

void MemoryPlatform::present(const PresentedFrame& shown) {
    ++framesPresented;
    lastFrameWidth = shown.width;
    lastFrameHeight = shown.height;
    if (keepLastFrame) {
        const size_t rowBytes = static_cast<size_t>(shown.width) * 3;
        lastFrame.resize(rowBytes * shown.height);
        for (u32 y = 0; y < shown.height; ++y)
            std::memcpy(lastFrame.data() + y * rowBytes,
                        shown.pixels + static_cast<size_t>(y) * shown.bytesPerLine, rowBytes);
    }
    if (frameObserver) frameObserver(shown);
}

bool MemoryPlatform::pollMessage(PlatformMessage& message) {
    // The framework's own messages come before input, as posted messages do.
    if (!posted_.empty()) {
        message = posted_.front();
        posted_.pop_front();
        return true;
    }
    // A pad action may make no key message (a stick inside its dead zone) or several.
    while (padMessages_.empty() && !script_.empty() && script_.front().pass <= pass_)
        takeScripted(padMessages_);
    if (padMessages_.empty()) return false;
    message = padMessages_.front();
    padMessages_.pop_front();
    return true;
}

void MemoryPlatform::waitMessage(u32 milliseconds) {
    now_ += milliseconds;
    if (!posted_.empty() || !padMessages_.empty() || (!script_.empty() && script_.front().pass <= pass_))
        return;
    // No pass runs while the program waits: the wait lasts until the script's next
    // message, whatever pass it was meant for.
    while (padMessages_.empty()) {
        if (script_.empty())
            raiseFatal("The memory display's script ran out while the program waits for a message");
        takeScripted(padMessages_);
    }
}

bool MemoryPlatform::askYesNo(const char* text, const char* title) {
    questions.push_back({title, text});
    return closeAnswer;
}

void MemoryPlatform::showError(const char* text, const char* title) {
    errors.push_back({title, text});
    // No screen to show it on: the box goes where a test or a tool can see it.
    std::fprintf(stderr, "[%s] %s\n", title, text);
}

MemoryPlatform& useMemoryPlatform(u32 desktopWidth, u32 desktopHeight) {
    auto chosen = std::make_unique<MemoryPlatform>(desktopWidth, desktopHeight);
    MemoryPlatform& machine = *chosen;
    selectPlatform(std::move(chosen));
    setClockSource(memoryClockSeconds);
    setSleepFunction(memorySleep);
    return machine;
}

MemoryPlatform& memoryPlatform() {
    auto* machine = dynamic_cast<MemoryPlatform*>(framework::state.platform.get());
    assert(machine && "the memory platform is not the one in use");
    return *machine;
}
