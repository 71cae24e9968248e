#pragma once
// The game's only clock: whole seconds of calendar time. The frame counter, the
// computer players' pause and the winner screen's wait all read it. Tests and the
// memory platform replace the source with a virtual clock.
#include "base/types.hpp"

using ClockSource = u32 (*)();

// Whole seconds from the current source (the system's calendar time by default).
u32 wholeSeconds();

// Replaces the source; nullptr restores the system clock.
void setClockSource(ClockSource source);

// Back to the system clock.
void resetClock();
