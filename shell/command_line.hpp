#pragma once
// The command line turns display drivers off.
#include "framework/modes.hpp"

// Every word after word 0 that equals one of the seven options, without regard to
// case, sets its field of `options` to 0; other words are ignored.
void applyCommandLine(int argc, const char* const* argv, DriverOptions& options);
