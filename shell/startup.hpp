#pragma once
// The game's start: from the program entry to the framework's main loop.
#include "base/types.hpp"

struct DeviceContext;

// Runs the start-up steps in order and then the main loop; returns the program's
// exit code. The platform must be chosen before (selectPlatform).
int GameMain(int argc, char** argv);

// The suspend callback: holds the program still while its full-screen display is
// taken away, with the match paused.
u32 OnSuspend(DeviceContext* display, u32 state);
