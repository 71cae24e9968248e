#include "base/clock.hpp"

#include "base/base_state.hpp"

#include <chrono>
#include <ctime>
#include <thread>

namespace {

u32 systemSeconds() {
    return static_cast<u32>(std::time(nullptr));
}

void systemSleep(u32 milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace

u32 wholeSeconds() {
    const ClockSource source = base::state.clock.source;
    return source ? source() : systemSeconds();
}

void setClockSource(ClockSource source) {
    base::state.clock.source = source;
}

void sleepMilliseconds(u32 milliseconds) {
    const SleepFunction sleep = base::state.clock.sleep;
    if (sleep)
        sleep(milliseconds);
    else
        systemSleep(milliseconds);
}

void setSleepFunction(SleepFunction sleep) {
    base::state.clock.sleep = sleep;
}

u32 matchClockSeconds() {
    const MatchClockHook hook = base::state.clock.matchClock;
    return hook ? hook() : wholeSeconds();
}

void setMatchClockHook(MatchClockHook hook) {
    base::state.clock.matchClock = hook;
}

void resetClock() {
    base::state.clock = base::ClockHooks{};
}
