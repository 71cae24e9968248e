#pragma once
// The graphics layer's program-wide state. Tests start clean with resetGfx().
#include "base/types.hpp"

#include <string>

struct DeviceContext;

// The context every drawing operation without a context argument acts on.
extern DeviceContext* currentContext;

// The last error code of the layer (0 for success), read and cleared by LastError().
extern i32 lastErrorCode;

// The library's root directory, searched for fonts and bitmaps after the name itself.
extern std::string libraryRoot;

// Back to the state at program start: no current context, no error, no root.
void resetGfx();
