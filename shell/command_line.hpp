#pragma once
// The command line turns display drivers off and asks for demos.
#include "framework/modes.hpp"

#include <string>

// Every word after word 0 that equals one of the seven options, without regard to
// case, sets its field of `options` to 0; other words are ignored (and so is the
// file name after a demo option, whatever it reads).
void applyCommandLine(int argc, const char* const* argv, DriverOptions& options);

// False when the command line says "-nosound" (without regard to case).
bool soundAllowed(int argc, const char* const* argv);

// What the command line asks of demos: "-record FILE" records the match,
// "-playdemo FILE" plays a demo at the game's pace, "-timedemo FILE" plays it as
// fast as the machine allows. The options are compared without regard to case;
// each takes the next word as its file. Of several, the last counts.
enum class DemoMode : u8 { None, Record, Play, Time };
struct DemoRequest {
    DemoMode mode = DemoMode::None;
    std::string file;
};

// The demo request of the command line. A demo option without a file after it
// gives mode None and a message (one line, no newline) in `error`.
DemoRequest demoRequestOf(int argc, const char* const* argv, std::string& error);
