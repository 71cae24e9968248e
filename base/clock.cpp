#include "base/clock.hpp"

#include <ctime>

namespace {

u32 systemSeconds() { return static_cast<u32>(std::time(nullptr)); }

ClockSource clockSource = systemSeconds; // where wholeSeconds() reads the time

} // namespace

u32 wholeSeconds() { return clockSource(); }

void setClockSource(ClockSource source) { clockSource = source ? source : systemSeconds; }

void resetClock() { clockSource = systemSeconds; }
