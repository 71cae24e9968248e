#pragma once
// The game's only clock: whole seconds of calendar time. The frame counter, the
// computer players' pause and the winner screen's wait all read it. Tests and the
// memory platform replace the source with a virtual clock.
#include "base/types.hpp"

using ClockSource = u32 (*)();
using SleepFunction = void (*)(u32 milliseconds);

// Whole seconds from the current source (the system's calendar time by default).
u32 wholeSeconds();

// Replaces the source; nullptr restores the system clock.
void setClockSource(ClockSource source);

// Waits about that long without using the processor. A virtual clock replaces
// it so that waiting advances virtual time instead.
void sleepMilliseconds(u32 milliseconds);

// Replaces the waiting; nullptr restores the real sleep.
void setSleepFunction(SleepFunction sleep);

// The clock as the match's simulation reads it (the computer players' pause).
// Every read of the simulation goes through here, so that a demo recorder can
// note each value and a demo player can hand back the recorded ones instead of
// the real clock: a replay then sees exactly the seconds the recording saw.
using MatchClockHook = u32 (*)();
// The hook's answer when one is set, else wholeSeconds().
u32 matchClockSeconds();
// Sets the hook; nullptr reads wholeSeconds() again.
void setMatchClockHook(MatchClockHook hook);

// Back to the system clock and the real sleep, without a match clock hook.
void resetClock();
