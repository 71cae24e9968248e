#include "base/clock.hpp"

#include <gtest/gtest.h>

#include <ctime>

namespace {
u32 fixedTime() {
    return 1234;
}
} // namespace

TEST(Clock, ReadsTheReplacedSourceAndFallsBackToCalendarTime) {
    setClockSource(fixedTime);
    EXPECT_EQ(wholeSeconds(), 1234u);

    resetClock();
    const u32 now = static_cast<u32>(std::time(nullptr));
    EXPECT_LE(now, wholeSeconds());
    EXPECT_LE(wholeSeconds(), now + 2);

    setClockSource(fixedTime);
    setClockSource(nullptr); // nullptr means the system clock again
    EXPECT_NE(wholeSeconds(), 1234u);
}

namespace {
u32 virtualSeconds = 0;
u32 virtualTime() {
    return virtualSeconds;
}
void virtualSleep(u32 milliseconds) {
    virtualSeconds += milliseconds / 1000;
}
} // namespace

TEST(Clock, AVirtualSleepAdvancesTheVirtualClockAndResetRestoresBoth) {
    virtualSeconds = 100;
    setClockSource(virtualTime);
    setSleepFunction(virtualSleep);
    sleepMilliseconds(3000);
    EXPECT_EQ(wholeSeconds(), 103u);

    resetClock();
    sleepMilliseconds(1); // the real sleep: returns at once
    EXPECT_EQ(virtualSeconds, 103u);
    EXPECT_GT(wholeSeconds(), 1000000u);
}
