#include "framework_fixture.hpp"

#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

class MainLoopTest : public FrameworkTest {
  protected:
    static inline Calls calls;           // what the callbacks saw, in order
    static inline u32 quitAtPass = 0;    // the frame callback asks to quit in this pass
    static inline u32 suspendAnswer = 1; // the suspend callback's answer

    void SetUp() override {
        FrameworkTest::SetUp();
        calls.clear();
        quitAtPass = 0;
        suspendAnswer = 1;
    }
    // A mode, then the frame and draw slots set to log.
    void openLogging(u32 width, u32 height, i32 bits, u32 windowed) {
        openMode(width, height, bits, windowed);
        SetFrameCallback(logFrame);
        SetDrawCallback(logDraw);
    }

    static void log(const char* what, u32 value) { calls.push_back(what + (" " + std::to_string(value))); }
    static void logFrame() {
        log("frame", memoryPlatform().pass());
        if (memoryPlatform().pass() == quitAtPass) RequestQuit();
    }
    static void logDraw() { log("draw", memoryPlatform().pass()); }
    static void logKeyDown(Event* e) { log("down", e->code >> 8 & 0xFF); }
    static void quitOnKey(Event*) {
        log("quit", memoryPlatform().pass());
        RequestQuit();
    }
    static u32 logSuspend(DeviceContext* display, u32 state) {
        EXPECT_EQ(display, framework::state.frameworkDisplay.displayDevice);
        log("suspend", state);
        return suspendAnswer;
    }
};

TEST_F(MainLoopTest, EachPassRunsEventsThenFrameThenDrawUntilQuit) {
    openLogging(640, 480, 16, 1);
    SetKeyDownCallback(logKeyDown);
    machine->pressKey(2, scanSpace);
    quitAtPass = 3;
    EXPECT_EQ(MainLoop(), 0);
    EXPECT_EQ(machine->idlePasses, 0u);
    EXPECT_EQ(calls, (Calls{"frame 1", "draw 1", "down 57", "frame 2", "draw 2", "frame 3", "draw 3"}));
    // The loop ends by shutting the framework down.
    EXPECT_EQ(framework::state.frameworkDisplay.drawTarget, nullptr);
    EXPECT_FALSE(machine->displayOpen);
    EXPECT_FALSE(machine->windowExists);
}

TEST_F(MainLoopTest, QuitFromAKeyCallbackLetsThatPassFinish) {
    openLogging(640, 480, 16, 1);
    SetKeyDownCallback(quitOnKey);
    machine->pressKey(2, scanEsc);
    MainLoop();
    EXPECT_EQ(calls, (Calls{"frame 1", "draw 1", "quit 2", "frame 2", "draw 2"}));
}

TEST_F(MainLoopTest, WithoutCallbacksTheLoopWaitsForInputUntilTheWindowIsClosed) {
    openMode(640, 480, 16, 1);
    machine->requestClose(7);
    MainLoop();
    EXPECT_EQ(machine->pass(), 7u);
    EXPECT_EQ(machine->idlePasses, 7u);
    ASSERT_EQ(machine->questions.size(), 1u);
    EXPECT_EQ(machine->questions[0].title, "Confirm Exit");
    EXPECT_EQ(machine->questions[0].text, "Are you sure you want to quit?");
}

TEST_F(MainLoopTest, EventsGoToTheSlotOfTheirKindAndKindsWithoutASlotAreDropped) {
    openMode(640, 480, 16, 1);
    SetKeyDownCallback(quitOnKey); // replaced below
    SetKeyDownCallback(logKeyDown);
    SetKeyRepeatCallback([](Event* e) { log("repeat", e->code >> 8 & 0xFF); });
    SetKeyUpCallback([](Event* e) { log("up", e->code >> 8 & 0xFF); });
    SetMouseDownCallback([](Event* e) { log("mouse", e->code); });
    SetFrameCallback(logFrame);
    SetDrawCallback(logDraw);
    SetDrawCallback(nullptr); // empties the slot
    machine->pressKey(1, scanUp);
    machine->pressKey(1, scanUp); // held: repeats
    machine->moveMouse(1, 5, 5);
    machine->pressButton(1, buttonRight, 5, 5);
    machine->releaseButton(1, buttonRight, 5, 5);
    machine->timerTick(1);
    machine->releaseKey(1, scanUp);
    quitAtPass = 1;
    MainLoop();
    EXPECT_EQ(calls, (Calls{"down 72", "repeat 72", "mouse 4", "up 72", "frame 1"}));
}

TEST_F(MainLoopTest, DisplayTakenAwayAnsweredTwoRunsFramesWithoutDrawing) {
    openLogging(320, 240, 24, 0);
    SetSuspendCallback(logSuspend);
    suspendAnswer = 2;
    machine->takeDisplayAway(2);
    machine->giveDisplayBack(4);
    quitAtPass = 5;
    MainLoop();
    EXPECT_EQ(calls, (Calls{"frame 1", "draw 1", "suspend 1", "frame 2", "frame 3", "suspend 2", "frame 4",
                            "draw 4", "frame 5", "draw 5"}));
}

TEST_F(MainLoopTest, DisplayTakenAwayAnsweredOneHoldsTheProgramUntilItComesBack) {
    openLogging(320, 240, 24, 0);
    SetSuspendCallback(logSuspend);
    machine->takeDisplayAway(2);
    machine->pressKey(3, scanSpace); // arrives during the hold: the game does not see it
    machine->giveDisplayBack(50);
    quitAtPass = 3;
    const u32 before = machine->milliseconds();
    MainLoop();
    // No pass ran while the display was away; the wait looked every 200 ms.
    EXPECT_EQ(calls, (Calls{"frame 1", "draw 1", "suspend 1", "suspend 2", "frame 2", "draw 2", "frame 3",
                            "draw 3"}));
    EXPECT_GE(machine->milliseconds() - before, 400u);
}

TEST_F(MainLoopTest, WithoutASuspendCallbackTheProgramIsHeld) {
    openMode(320, 240, 24, 0);
    SetFrameCallback(logFrame);
    machine->takeDisplayAway(1);
    machine->giveDisplayBack(9);
    quitAtPass = 2;
    MainLoop();
    EXPECT_EQ(calls, (Calls{"frame 1", "frame 2"}));
}

TEST_F(MainLoopTest, AHoldWithNothingLeftToComeIsAFatalErrorNotAHang) {
    openMode(320, 240, 24, 0);
    machine->takeDisplayAway(1);
    EXPECT_EXIT(MainLoop(), testing::ExitedWithCode(1), "script ran out");
}

} // namespace
