#pragma once
// The demo of this run, recorded or played: one record, kept in shell::state and
// reset by resetDemo().
#include "base/types.hpp"
#include "shell/command_line.hpp"
#include "sim/demo_file.hpp"

#include <chrono>
#include <memory>
#include <optional>
#include <string>

// The clock a timed demo is measured with and recordings flush by.
using SteadyClock = std::chrono::steady_clock;

// Clock reads one step may make: two per computer player at most, far below this.
inline constexpr u32 maxReadsPerStep = 255;

// What a demo run records, or plays back and checks.
struct DemoSession {
    DemoMode mode = DemoMode::None;
    std::string file;
    u32 stepsDone = 0;  // steps recorded or played
    u64 framesDrawn = 0; // frames composed since the match started

    // Recording.
    std::unique_ptr<DemoWriter> writer;
    DemoStep pending;              // the step now running
    u32 reads[maxReadsPerStep] = {}; // its clock values
    u32 readCount = 0;
    u32 togglesSinceStep = 0;      // DemoToggle bits flipped since the step before
    u32 refillsSinceStep = 0;
    SteadyClock::time_point lastFlush;

    // Playing.
    std::optional<Demo> demo;
    u32 readAt = 0;       // next recorded clock value to hand out
    u32 readEnd = 0;      // one past the step's last value
    u32 lastRead = 0;     // the value handed out last
    u32 firstBadCheck = 0; // number (from 1) of the first check value that differs; 0 none
    bool finished = false; // the last step was played and matched
    SteadyClock::time_point started;
};
