#include "base/clock.hpp"

#include <chrono>
#include <ctime>
#include <thread>

namespace {

u32 systemSeconds() { return static_cast<u32>(std::time(nullptr)); }

void systemSleep(u32 milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

ClockSource clockSource = systemSeconds; // where wholeSeconds() reads the time
SleepFunction sleepFunction = systemSleep; // how sleepMilliseconds() waits
MatchClockHook matchClockHook = nullptr;   // a demo's recorder or player, when one runs

} // namespace

u32 wholeSeconds() { return clockSource(); }

void setClockSource(ClockSource source) { clockSource = source ? source : systemSeconds; }

void sleepMilliseconds(u32 milliseconds) { sleepFunction(milliseconds); }

void setSleepFunction(SleepFunction sleep) { sleepFunction = sleep ? sleep : systemSleep; }

u32 matchClockSeconds() { return matchClockHook ? matchClockHook() : wholeSeconds(); }

void setMatchClockHook(MatchClockHook hook) { matchClockHook = hook; }

void resetClock() {
    clockSource = systemSeconds;
    sleepFunction = systemSleep;
    matchClockHook = nullptr;
}
