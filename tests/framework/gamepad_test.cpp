// Gamepads as keys: which control presses which key, the sticks' two points,
// and which of several pads drives.
#include "framework/events.hpp"
#include "framework/gamepad.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

// The messages as "+A -Left ...", in order.
std::string keys(const std::vector<PlatformMessage>& messages) {
    std::string out;
    for (const PlatformMessage& m : messages) {
        static const char* const names[] = {"Up", "Down",     "Left", "Right", "A",  "B", "X",
                                            "Y",  "Shoulder", "Back", "Start", "LT", "RT"};
        EXPECT_GE(m.scanCode, scanPadUp);
        EXPECT_LE(m.scanCode, scanPadRightTrigger);
        EXPECT_EQ(m.character, 0);
        if (!out.empty()) out += ' ';
        out += (m.kind == MessageKind::KeyDown ? "+" : "-") + std::string(names[m.scanCode - scanPadUp]);
    }
    return out;
}

} // namespace

TEST(GamepadKeys, EachControlPressesItsKeyAndDpadAndStickShareTheDirections) {
    GamepadKeys pads;
    std::vector<PlatformMessage> out;
    pads.plug(7);
    const PadButton buttons[] = {PadButton::A, PadButton::B,    PadButton::X,
                                 PadButton::Y, PadButton::Back, PadButton::Start};
    for (PadButton b : buttons) pads.button(7, b, true, out);
    for (PadButton b : buttons) pads.button(7, b, false, out);
    EXPECT_EQ(keys(out), "+A +B +X +Y +Back +Start -A -B -X -Y -Back -Start");
    out.clear();

    // Left on the d-pad, then the stick left as well: one key, released when both let go.
    pads.button(7, PadButton::DpadLeft, true, out);
    pads.axis(7, PadAxis::LeftX, -32768, out);
    pads.button(7, PadButton::DpadLeft, false, out);
    EXPECT_EQ(keys(out), "+Left");
    pads.axis(7, PadAxis::LeftX, 0, out);
    pads.axis(7, PadAxis::LeftY, -20000, out); // y grows downward: up
    pads.axis(7, PadAxis::LeftY, 20000, out);
    pads.axis(7, PadAxis::LeftX, 32767, out);
    EXPECT_EQ(keys(out), "+Left -Left +Up -Up +Down +Right");
    out.clear();

    // Either shoulder is the one shoulder key; the triggers are keys of their own.
    pads.button(7, PadButton::LeftShoulder, true, out);
    pads.button(7, PadButton::RightShoulder, true, out);
    pads.button(7, PadButton::LeftShoulder, false, out);
    pads.button(7, PadButton::RightShoulder, false, out);
    pads.axis(7, PadAxis::RightTrigger, 32767, out);
    pads.axis(7, PadAxis::LeftTrigger, 30000, out);
    pads.axis(7, PadAxis::RightTrigger, 0, out);
    EXPECT_EQ(keys(out), "+Shoulder -Shoulder +RT +LT -RT");
}

TEST(GamepadKeys, AStickPressesPastHalfWayAndReleasesOnlyBelowThreeEighths) {
    GamepadKeys pads;
    std::vector<PlatformMessage> out;
    pads.axis(1, PadAxis::RightTrigger, padPressAt - 1, out);
    EXPECT_EQ(keys(out), "");
    pads.axis(1, PadAxis::RightTrigger, padPressAt, out);
    EXPECT_EQ(keys(out), "+RT");
    // Shaking about the press point does nothing more.
    pads.axis(1, PadAxis::RightTrigger, padPressAt - 100, out);
    pads.axis(1, PadAxis::RightTrigger, padPressAt + 100, out);
    pads.axis(1, PadAxis::RightTrigger, padReleaseBelow, out);
    EXPECT_EQ(keys(out), "+RT");
    pads.axis(1, PadAxis::RightTrigger, padReleaseBelow - 1, out);
    EXPECT_EQ(keys(out), "+RT -RT");
    out.clear();
    pads.axis(1, PadAxis::LeftX, -padPressAt, out);
    pads.axis(1, PadAxis::LeftX, -(padReleaseBelow - 1), out);
    EXPECT_EQ(keys(out), "+Left -Left");
}

TEST(GamepadKeys, TheFirstPadToPressDrivesUntilItIsUnplugged) {
    GamepadKeys pads;
    std::vector<PlatformMessage> out;
    pads.plug(1);
    pads.plug(2);
    EXPECT_EQ(pads.driver(), -1);
    pads.axis(1, PadAxis::LeftX, 1000, out); // inside the dead zone: no claim
    EXPECT_EQ(pads.driver(), -1);
    pads.button(2, PadButton::A, true, out);
    EXPECT_EQ(pads.driver(), 2);
    pads.button(1, PadButton::X, true, out); // the other pad's keys do not count
    pads.button(2, PadButton::B, true, out);
    EXPECT_EQ(keys(out), "+A +B");
    out.clear();

    // Unplugged, the driver lets go of what it held; the other pad drives from its
    // next press, with what it already holds.
    pads.unplug(2, out);
    EXPECT_EQ(keys(out), "-A -B");
    EXPECT_EQ(pads.driver(), -1);
    EXPECT_EQ(pads.padCount(), 1u);
    out.clear();
    pads.button(1, PadButton::Y, true, out);
    EXPECT_EQ(pads.driver(), 1);
    EXPECT_EQ(keys(out), "+X +Y");
    // A pad unplugged that never drove changes nothing; unplugging twice is harmless.
    out.clear();
    pads.plug(3);
    pads.unplug(3, out);
    pads.unplug(3, out);
    EXPECT_EQ(keys(out), "");
    EXPECT_EQ(pads.driver(), 1);
}
