#pragma once
// The hooks that tests, tools and the framework put in place of the system's own
// clock, sleep, fatal-error path and program end: one record, base::state. Only
// base's own files read it; each hook has its setter and reset.
#include "base/clock.hpp"
#include "base/fatal.hpp"
#include "base/program_exit.hpp"

namespace base {

// The clock's replacements; null means the system's own.
struct ClockHooks {
    ClockSource source = nullptr;        // where wholeSeconds() reads the time
    SleepFunction sleep = nullptr;       // how sleepMilliseconds() waits
    MatchClockHook matchClock = nullptr; // a demo's recorder or player, when one runs
};

struct State {
    ClockHooks clock;
    // Where raiseFatal() sends its text; null: standard error and exit code 1.
    FatalHook fatalHook = nullptr;
    // A harness's replacement for the end of the program; null: the real end.
    ExitHook exitHook = nullptr;
};

extern State state;

} // namespace base
