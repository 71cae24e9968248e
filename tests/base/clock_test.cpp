#include "base/clock.hpp"

#include <gtest/gtest.h>

#include <ctime>

namespace {
u32 fixedTime() { return 1234; }
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
