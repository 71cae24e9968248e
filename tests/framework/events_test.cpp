#include "framework_fixture.hpp"

#include <vector>

namespace {

class EventsTest : public FrameworkTest {
  protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        openMode(640, 480, 16, 1);
    }

    // Every queued event of the kinds in the mask, oldest first.
    static std::vector<Event> drain(u32 mask = eventMaskAll) {
        std::vector<Event> events;
        for (Event e; NextEvent(&e, mask);) events.push_back(e);
        return events;
    }
};

TEST_F(EventsTest, KeyDownStoresItsCodeInTheTableAndKeyUpHandsItBack) {
    machine->pressKey(0, scanD, 'd');
    machine->releaseKey(0, scanD);
    machine->releaseKey(0, scanF); // never seen going down
    Event e;
    ASSERT_EQ(NextEvent(&e, KeyDown), 1u);
    EXPECT_EQ(e.code, 'd' | 32u << 8);
    EXPECT_EQ(IsKeyDown(scanD), 0u); // its key-up was already moved into the queue
    ASSERT_EQ(NextEvent(&e, KeyUp), 1u);
    EXPECT_EQ(e.code, 'd' | 32u << 8);
    ASSERT_EQ(NextEvent(&e, KeyUp), 1u);
    EXPECT_EQ(e.code, 0u);
    EXPECT_EQ(NextEvent(&e, eventMaskAll), 0u);
    EXPECT_EQ(e.kind, 0u);
}

TEST_F(EventsTest, HeldKeysStayInTheTableAndRepeatWithTheirCountOutsideIt) {
    machine->pressKey(0, scanUp);
    machine->pressKey(0, scanM, 'm');
    machine->pressKey(0, scanM, 'm');
    const std::vector<Event> events = drain();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[2].kind, u32{KeyRepeat});
    EXPECT_EQ(events[2].code, 'm' | 50u << 8 | 1u << 16);
    EXPECT_EQ(framework::state.input.keyTable[scanM], 'm' | 50u << 8);
    EXPECT_EQ(framework::state.input.keyTable[scanUp], 72u << 8); // no character: still nonzero
    EXPECT_EQ(IsKeyDown(scanUp), 1u);
    EXPECT_EQ(IsKeyDown(scanDown), 0u);
}

TEST_F(EventsTest, ModifiersShowShiftCtrlAndAltAndSystemKeysStillSetTheTable) {
    for (auto [modifier, key] : {std::pair{scanLeftShift, scanD}, {scanCtrl, scanF}, {scanAlt, scanM}}) {
        machine->pressKey(0, modifier);
        machine->pressKey(0, key); // Alt+M: a system key
        machine->releaseKey(0, modifier);
    }
    machine->pressKey(0, scanF10); // F10 alone: a system key too
    const std::vector<Event> downs = drain(KeyDown);
    ASSERT_EQ(downs.size(), 7u);
    EXPECT_EQ(downs[1].modifiers, modShift);
    EXPECT_EQ(downs[3].modifiers, modCtrl);
    EXPECT_EQ(downs[5].modifiers, modAlt);
    EXPECT_EQ(downs[6].modifiers, 0u);
    EXPECT_EQ(IsKeyDown(scanM), 1u);
    EXPECT_EQ(IsKeyDown(scanF10), 1u);
    EXPECT_EQ(IsKeyDown(scanAlt), 0u);
}

TEST_F(EventsTest, The101stWaitingEventIsLostButItsKeyReadsDown) {
    for (u8 scan = 1; scan <= 101; ++scan) machine->pressKey(0, scan);
    const std::vector<Event> events = drain();
    ASSERT_EQ(events.size(), eventQueueSize);
    EXPECT_EQ(events.back().code, 100u << 8);
    EXPECT_EQ(IsKeyDown(101), 1u);
    EXPECT_EQ(framework::state.input.keyTable[101], 101u << 8);
    // The records came back: the queue takes events again.
    machine->releaseKey(0, 101);
    const std::vector<Event> later = drain();
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(later[0].code, 101u << 8);
}

TEST_F(EventsTest, AMaskTakesTheOldestMatchingEventAndLeavesTheRestInOrder) {
    machine->pressKey(0, scanUp);
    machine->pressButton(0, buttonLeft, 1, 2);
    machine->releaseKey(0, scanUp);
    machine->timerTick(0);
    Event e;
    ASSERT_EQ(NextEvent(&e, MouseDown | Timer), 1u);
    EXPECT_EQ(e.kind, u32{MouseDown});
    EXPECT_EQ(e.code, buttonLeft);
    EXPECT_EQ(e.modifiers, modLeftButton);
    FlushEvents(Timer);
    const std::vector<Event> rest = drain();
    ASSERT_EQ(rest.size(), 2u);
    EXPECT_EQ(rest[0].kind, u32{KeyDown});
    EXPECT_EQ(rest[1].kind, u32{KeyUp});
}

TEST_F(EventsTest, MouseMovesMergeUntilAnotherEventComesBetween) {
    for (i32 i = 1; i <= 5; ++i) machine->moveMouse(0, 10 * i, i);
    machine->pressButton(0, buttonRight, 50, 5, true);
    machine->moveMouse(0, 60, 6);
    machine->moveMouse(0, 70, 7);
    const std::vector<Event> events = drain();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, u32{MouseMove});
    EXPECT_EQ((std::pair{events[0].x, events[0].y}), (std::pair{50, 5}));
    EXPECT_EQ(events[1].kind, u32{MouseDown});
    EXPECT_EQ(events[1].modifiers, modRightButton | modDoubleClick);
    EXPECT_EQ(events[2].x, 70);
    EXPECT_EQ(events[2].modifiers, modRightButton);
    // A fetched move is no longer merged into.
    machine->moveMouse(machine->pass(), 80, 8);
    EXPECT_EQ(drain().size(), 1u);
}

TEST_F(EventsTest, FullScreenModesScaleTheMouseAndForgetHeldKeysAndQueuedEvents) {
    machine->pressKey(0, scanUp);
    drain();
    machine->pressKey(0, scanSpace);
    Event e;
    NextEvent(&e, Timer); // pumps Space into the queue
    setMode(320, 240, 24, 0);
    EXPECT_EQ(IsKeyDown(scanUp), 0u);
    EXPECT_EQ(IsKeyDown(scanSpace), 0u);
    EXPECT_EQ(NextEvent(&e, eventMaskAll), 0u);
    // Positions come in desktop pixels (1024x768).
    machine->moveMouse(0, 1023, 384);
    ASSERT_EQ(NextEvent(&e, MouseMove), 1u);
    EXPECT_EQ((std::pair{e.x, e.y}), (std::pair{1023 * 320 / 1024, 120}));

    machine->pressKey(0, scanUp);
    NextEvent(&e, Timer);
    ResetEvents();
    EXPECT_EQ(IsKeyDown(scanUp), 0u);
    EXPECT_EQ(framework::state.input.queuedCount, 0u);
}

} // namespace
