#include "framework_fixture.hpp"

#include <vector>

namespace {

using Switches = std::vector<std::pair<u32, u32>>;

class WindowMessagesTest : public FrameworkTest {
  protected:
    static inline Switches switches;            // the after-switch slot's (width, windowed)
    static inline std::vector<u32> activations; // what the activate slot saw

    void SetUp() override {
        FrameworkTest::SetUp();
        switches.clear();
        activations.clear();
    }
    static void recordSwitch(const ModeEntry& mode, u32 windowed) {
        switches.push_back({mode.width, windowed});
    }
    // Makes the current mode full screen.
    static void goFullScreen() {
        const ModeEntry entry = framework::state.currentMode; // SetMode replaces currentMode
        ASSERT_EQ(SetMode(entry, 0, 2, 1), 1u);
    }
};

TEST_F(WindowMessagesTest, ClosingAWindowAsksFirstAndYesEndsTheLoop) {
    openMode(640, 480, 16, 1);
    machine->closeAnswer = false;
    machine->requestClose(0);
    ProcessEvents();
    EXPECT_EQ(machine->questions.size(), 1u);
    EXPECT_TRUE(machine->windowExists);
    EXPECT_EQ(framework::state.quitRequested, 0u);

    machine->closeAnswer = true;
    machine->requestClose(0);
    ProcessEvents();
    EXPECT_EQ(machine->questions.size(), 2u);
    EXPECT_FALSE(machine->windowExists);
    EXPECT_EQ(framework::state.quitRequested, 1u);
    SwapBuffers(2); // a frame for a window that is gone goes nowhere
    EXPECT_EQ(machine->framesPresented, 0u);
}

TEST_F(WindowMessagesTest, ClosingInFullScreenIsIgnored) {
    openMode(640, 480, 24, 0);
    machine->requestClose(0);
    ProcessEvents();
    EXPECT_TRUE(machine->questions.empty());
    EXPECT_EQ(framework::state.quitRequested, 0u);
}

TEST_F(WindowMessagesTest, AltEnterDoesNothingWithoutAnAfterSwitchSlot) {
    openMode(640, 480, 16, 1);
    machine->pressKey(0, scanAlt);
    machine->pressKey(0, scanEnter);
    ProcessEvents();
    EXPECT_FALSE(machine->fullScreen);
    EXPECT_EQ(IsKeyDown(scanEnter), 1u); // the keys still reached the game
}

TEST_F(WindowMessagesTest, AltEnterAndTheMaximiseBoxSwitchThenCallTheSlot) {
    InitFramework("Tessaron 3d");
    SetModeSwitchCallback(recordSwitch); // before the window exists: it gets a maximise box
    setMode(320, 240, 24, 1);
    EXPECT_TRUE(machine->windowCanMaximise);
    machine->pressKey(0, scanEnter); // without Alt: an ordinary key
    machine->releaseKey(0, scanEnter);
    machine->pressKey(0, scanAlt);
    machine->pressKey(0, scanEnter);
    machine->pressKey(0, scanEnter); // held: a repeat does not switch again
    ProcessEvents();
    EXPECT_TRUE(machine->fullScreen);
    EXPECT_EQ(switches, (Switches{{320, 0}}));

    machine->releaseKey(0, scanEnter);
    machine->pressKey(0, scanEnter); // Alt still held
    ProcessEvents();
    EXPECT_FALSE(machine->fullScreen);
    EXPECT_EQ(switches.back(), (std::pair<u32, u32>{320, 1}));
    EXPECT_EQ(machine->clientWidth, 640u);

    machine->maximise(0);
    ProcessEvents();
    EXPECT_TRUE(machine->fullScreen);
    EXPECT_EQ(switches.size(), 3u);
}

TEST_F(WindowMessagesTest, ADisplayChangeInAWindowSetsTheWindowAgain) {
    openMode(640, 480, 24, 1);
    SetModeSwitchCallback(recordSwitch);
    machine->changeDisplay(0);
    ProcessEvents();
    EXPECT_EQ(switches, (Switches{{640, 1}}));
    EXPECT_FALSE(machine->fullScreen);
    goFullScreen();
    machine->changeDisplay(0);
    ProcessEvents();
    EXPECT_EQ(switches.size(), 1u); // full screen: not for the window to answer
}

TEST_F(WindowMessagesTest, ActivationReachesTheSlotOnlyInAWindowAndPaintShowsTheFrameAgain) {
    openMode(640, 480, 24, 1);
    SetActivateCallback([](u32 state) { activations.push_back(state); });
    machine->changeFocus(0, false);
    machine->changeFocus(0, true);
    machine->minimise(0);
    PlatformMessage paint;
    paint.kind = MessageKind::Paint;
    machine->send(0, paint);
    ProcessEvents();
    EXPECT_EQ(activations, (std::vector<u32>{0, 1, 0}));
    EXPECT_EQ(framework::state.windowMinimised, 1u);
    EXPECT_EQ(machine->repaints, 1u);

    goFullScreen();
    machine->changeFocus(0, true);
    ProcessEvents();
    EXPECT_EQ(activations.size(), 3u);
    EXPECT_EQ(framework::state.windowActive, 1u);
}

} // namespace
