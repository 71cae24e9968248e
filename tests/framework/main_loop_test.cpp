#include "framework_fixture.hpp"

#include "gfx/primitives.hpp"

#include <string>
#include <vector>

namespace {

// What the callbacks saw, in order.
std::vector<std::string> calls;
u32 quitAtPass = 0;    // the frame callback asks to quit in this pass
u32 suspendAnswer = 1; // the suspend callback's answer

void logFrame() {
    calls.push_back("frame " + std::to_string(memoryPlatform().pass()));
    if (memoryPlatform().pass() == quitAtPass) RequestQuit();
}
void logDraw() {
    calls.push_back("draw " + std::to_string(memoryPlatform().pass()));
}
void logKeyDown(Event* e) {
    calls.push_back("down " + std::to_string(e->code >> 8 & 0xFF));
}
void logKeyRepeat(Event* e) {
    calls.push_back("repeat " + std::to_string(e->code >> 8 & 0xFF));
}
void logKeyUp(Event* e) {
    calls.push_back("up " + std::to_string(e->code >> 8 & 0xFF));
}
void logMouseDown(Event* e) {
    calls.push_back("mouse " + std::to_string(e->code));
}
void quitOnKey(Event*) {
    calls.push_back("quit " + std::to_string(memoryPlatform().pass()));
    RequestQuit();
}
u32 logSuspend(DeviceContext* display, u32 state) {
    EXPECT_EQ(display, frameworkDisplay.displayDevice);
    calls.push_back("suspend " + std::to_string(state));
    return suspendAnswer;
}

class MainLoopTest : public FrameworkTest {
  protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        calls.clear();
        quitAtPass = 0;
        suspendAnswer = 1;
    }
};

TEST_F(MainLoopTest, EachPassRunsEventsThenFrameThenDrawUntilQuit) {
    openMode(640, 480, 16, 1);
    SetFrameCallback(logFrame);
    SetDrawCallback(logDraw);
    SetKeyDownCallback(logKeyDown);
    machine->pressKey(2, scanSpace);
    quitAtPass = 3;

    EXPECT_EQ(MainLoop(), 0);
    EXPECT_EQ(machine->idlePasses, 0u);
    EXPECT_EQ(calls, (std::vector<std::string>{"frame 1", "draw 1", "down 57", "frame 2", "draw 2",
                                               "frame 3", "draw 3"}));
    // The loop ends by shutting the framework down.
    EXPECT_EQ(frameworkDisplay.drawTarget, nullptr);
    EXPECT_FALSE(machine->displayOpen);
    EXPECT_FALSE(machine->windowExists);
}

TEST_F(MainLoopTest, QuitFromAKeyCallbackLetsThatPassFinish) {
    openMode(640, 480, 16, 1);
    SetFrameCallback(logFrame);
    SetDrawCallback(logDraw);
    SetKeyDownCallback(quitOnKey);
    machine->pressKey(2, scanEsc);

    MainLoop();
    EXPECT_EQ(calls,
              (std::vector<std::string>{"frame 1", "draw 1", "quit 2", "frame 2", "draw 2"}));
}

TEST_F(MainLoopTest, WithoutCallbacksTheLoopRunsUntilTheWindowIsClosed) {
    openMode(640, 480, 16, 1);
    machine->requestClose(7);
    MainLoop();
    EXPECT_EQ(machine->pass(), 7u);
    EXPECT_EQ(machine->idlePasses, 7u); // nothing to run: each pass waited for input
    ASSERT_EQ(machine->questions.size(), 1u);
    EXPECT_EQ(machine->questions[0].title, "Confirm Exit");
    EXPECT_EQ(machine->questions[0].text, "Are you sure you want to quit?");
}

TEST_F(MainLoopTest, EventsGoToTheSlotOfTheirKindAndKindsWithoutASlotAreDropped) {
    openMode(640, 480, 16, 1);
    SetKeyDownCallback(logKeyDown);
    SetKeyRepeatCallback(logKeyRepeat);
    SetKeyUpCallback(logKeyUp);
    SetMouseDownCallback(logMouseDown);
    SetFrameCallback(logFrame);
    machine->pressKey(1, scanUp);
    machine->pressKey(1, scanUp); // held: repeats
    machine->moveMouse(1, 5, 5);
    machine->pressButton(1, buttonRight, 5, 5);
    machine->releaseButton(1, buttonRight, 5, 5);
    machine->timerTick(1);
    machine->releaseKey(1, scanUp);
    quitAtPass = 1;

    MainLoop();
    EXPECT_EQ(calls,
              (std::vector<std::string>{"down 72", "repeat 72", "mouse 4", "up 72", "frame 1"}));
}

TEST_F(MainLoopTest, ASlotSetAgainReplacesTheOldFunctionAndNullEmptiesIt) {
    openMode(640, 480, 16, 1);
    SetKeyDownCallback(logKeyDown);
    SetKeyDownCallback(quitOnKey);
    SetDrawCallback(logDraw);
    SetDrawCallback(nullptr);
    machine->pressKey(1, scanEsc);
    MainLoop();
    EXPECT_EQ(calls, (std::vector<std::string>{"quit 1"}));
}

TEST_F(MainLoopTest, DisplayTakenAwayAnsweredTwoRunsFramesWithoutDrawing) {
    openMode(320, 240, 24, 0);
    SetFrameCallback(logFrame);
    SetDrawCallback(logDraw);
    SetSuspendCallback(logSuspend);
    suspendAnswer = 2;
    machine->takeDisplayAway(2);
    machine->giveDisplayBack(4);
    quitAtPass = 5;

    MainLoop();
    EXPECT_EQ(calls,
              (std::vector<std::string>{"frame 1", "draw 1", "suspend 1", "frame 2", "frame 3",
                                        "suspend 2", "frame 4", "draw 4", "frame 5", "draw 5"}));
}

TEST_F(MainLoopTest, DisplayTakenAwayAnsweredOneHoldsTheProgramUntilItComesBack) {
    openMode(320, 240, 24, 0);
    SetFrameCallback(logFrame);
    SetDrawCallback(logDraw);
    SetSuspendCallback(logSuspend);
    machine->takeDisplayAway(2);
    machine->pressKey(3,
                      scanSpace); // arrives during the hold: the window sees it, the game does not
    machine->giveDisplayBack(50);
    quitAtPass = 3;

    const u32 before = machine->milliseconds();
    MainLoop();
    // No pass ran while the display was away; the wait looked every 200 ms.
    EXPECT_EQ(calls, (std::vector<std::string>{"frame 1", "draw 1", "suspend 1", "suspend 2",
                                               "frame 2", "draw 2", "frame 3", "draw 3"}));
    EXPECT_GE(machine->milliseconds() - before, 400u);
}

TEST_F(MainLoopTest, WithoutASuspendCallbackTheProgramIsHeld) {
    openMode(320, 240, 24, 0);
    SetFrameCallback(logFrame);
    machine->takeDisplayAway(1);
    machine->giveDisplayBack(9);
    quitAtPass = 2;
    MainLoop();
    EXPECT_EQ(calls, (std::vector<std::string>{"frame 1", "frame 2"}));
}

TEST_F(MainLoopTest, AHoldWithNothingLeftToComeIsAFatalErrorNotAHang) {
    openMode(320, 240, 24, 0);
    machine->takeDisplayAway(1);
    EXPECT_EXIT(MainLoop(), testing::ExitedWithCode(1), "script ran out");
}

} // namespace
