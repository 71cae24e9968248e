#include "framework_fixture.hpp"

#include <vector>

namespace {

struct Switch {
    ModeEntry mode;
    u32 windowed;
};
std::vector<Switch> switches; // what the after-switch slot saw
std::vector<u32> activations; // what the activate slot saw

void recordSwitch(const ModeEntry& mode, u32 windowed) {
    switches.push_back({mode, windowed});
}
void recordActivation(u32 state) {
    activations.push_back(state);
}

class WindowMessagesTest : public FrameworkTest {
  protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        switches.clear();
        activations.clear();
    }

    // Runs the main loop's event step for the messages due by now.
    static void pump() { ProcessEvents(); }
};

TEST_F(WindowMessagesTest, ClosingAWindowAsksFirstAndYesEndsTheLoop) {
    openMode(640, 480, 16, 1);
    machine->closeAnswer = false;
    machine->requestClose(0);
    pump();
    EXPECT_EQ(machine->questions.size(), 1u);
    EXPECT_TRUE(machine->windowExists);
    EXPECT_EQ(quitRequested, 0u);

    machine->closeAnswer = true;
    machine->requestClose(0);
    pump();
    EXPECT_EQ(machine->questions.size(), 2u);
    EXPECT_FALSE(machine->windowExists);
    EXPECT_EQ(quitRequested, 1u);
    SwapBuffers(2); // a frame for a window that is gone goes nowhere
    EXPECT_EQ(machine->framesPresented, 0u);
}

TEST_F(WindowMessagesTest, ClosingInFullScreenIsIgnored) {
    openMode(640, 480, 24, 0);
    machine->requestClose(0);
    pump();
    EXPECT_TRUE(machine->questions.empty());
    EXPECT_EQ(quitRequested, 0u);
}

TEST_F(WindowMessagesTest, AltEnterDoesNothingWithoutAnAfterSwitchSlot) {
    openMode(640, 480, 16, 1);
    machine->pressKey(0, scanAlt);
    machine->pressKey(0, scanEnter);
    pump();
    EXPECT_FALSE(machine->fullScreen);
    // The keys still reached the game.
    EXPECT_EQ(IsKeyDown(scanEnter), 1u);
}

TEST_F(WindowMessagesTest, AltEnterSwitchesToFullScreenAndBackThenCallsTheSlot) {
    InitFramework("Tessaron 3d");
    SetModeSwitchCallback(recordSwitch); // before the window exists: it gets a maximise box
    setMode(320, 240, 24, 1);
    EXPECT_TRUE(machine->windowCanMaximise);
    machine->pressKey(0, scanAlt);
    machine->pressKey(0, scanEnter);
    machine->pressKey(0, scanEnter); // held: a repeat does not switch again
    pump();
    EXPECT_TRUE(machine->fullScreen);
    ASSERT_EQ(switches.size(), 1u);
    EXPECT_EQ(switches[0].windowed, 0u);
    EXPECT_EQ(switches[0].mode.width, 320u);

    machine->releaseKey(0, scanEnter);
    machine->pressKey(0, scanEnter); // Alt still held
    pump();
    EXPECT_FALSE(machine->fullScreen);
    ASSERT_EQ(switches.size(), 2u);
    EXPECT_EQ(switches[1].windowed, 1u);
    EXPECT_EQ(machine->clientWidth, 640u);
}

TEST_F(WindowMessagesTest, EnterWithoutAltIsAnOrdinaryKey) {
    openMode(640, 480, 16, 1);
    SetModeSwitchCallback(recordSwitch);
    machine->pressKey(0, scanEnter);
    pump();
    EXPECT_TRUE(switches.empty());
}

TEST_F(WindowMessagesTest, TheMaximiseBoxSwitchesLikeAltEnter) {
    openMode(640, 480, 24, 1);
    SetModeSwitchCallback(recordSwitch);
    machine->maximise(0);
    pump();
    EXPECT_TRUE(machine->fullScreen);
    ASSERT_EQ(switches.size(), 1u);
}

TEST_F(WindowMessagesTest, ADisplayChangeInAWindowSetsTheWindowAgain) {
    openMode(640, 480, 24, 1);
    SetModeSwitchCallback(recordSwitch);
    machine->changeDisplay(0);
    pump();
    ASSERT_EQ(switches.size(), 1u);
    EXPECT_EQ(switches[0].windowed, 1u);
    EXPECT_FALSE(machine->fullScreen);

    ModeEntry entry = currentMode;
    ASSERT_EQ(SetMode(entry, 0, 2, 1), 1u);
    machine->changeDisplay(0);
    pump();
    EXPECT_EQ(switches.size(), 1u); // full screen: not for the window to answer
}

TEST_F(WindowMessagesTest, ActivationReachesTheSlotOnlyInAWindow) {
    openMode(640, 480, 24, 1);
    SetActivateCallback(recordActivation);
    machine->changeFocus(0, false);
    machine->changeFocus(0, true);
    machine->minimise(0);
    pump();
    EXPECT_EQ(activations, (std::vector<u32>{0, 1, 0}));
    EXPECT_EQ(windowMinimised, 1u);

    ModeEntry entry = currentMode;
    ASSERT_EQ(SetMode(entry, 0, 2, 1), 1u);
    machine->changeFocus(0, true);
    pump();
    EXPECT_EQ(activations.size(), 3u);
    EXPECT_EQ(windowActive, 1u);
}

TEST_F(WindowMessagesTest, APaintShowsTheLastFrameAgain) {
    openMode(640, 480, 24, 1);
    PlatformMessage paint;
    paint.kind = MessageKind::Paint;
    machine->send(0, paint);
    pump();
    EXPECT_EQ(machine->repaints, 1u);
}

} // namespace
