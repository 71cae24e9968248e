#pragma once
// Everything the game uses of the framework: callbacks and the main loop, events
// and the key table, modes and the display, sound, and choosing the platform
// (selectPlatform, before InitFramework).
#include "framework/display.hpp"
#include "framework/events.hpp"
#include "framework/framework_state.hpp"
#include "framework/main_loop.hpp"
#include "framework/modes.hpp"
#include "framework/platform.hpp"
#include "framework/sound.hpp"
