#pragma once
// The graphics layer's program-wide state: one record, gfx::state. Only the
// layer's own files write it; tests start clean with resetGfx().
#include "base/types.hpp"

#include <string>

struct DeviceContext;

namespace gfx {

struct State {
    // The context every drawing operation without a context argument acts on.
    DeviceContext* currentContext = nullptr;
    // The last error code of the layer (0 for success), read and cleared by LastError().
    i32 lastErrorCode = 0;
    // The library's root directory, searched for fonts and bitmaps after the name itself.
    std::string libraryRoot;
};

extern State state;

} // namespace gfx

// Back to the state at program start: no current context, no error, no root.
void resetGfx();
