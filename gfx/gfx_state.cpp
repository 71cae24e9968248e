#include "gfx/gfx_state.hpp"

DeviceContext* currentContext = nullptr;
i32 lastErrorCode = 0;
std::string libraryRoot;

void resetGfx() {
    currentContext = nullptr;
    lastErrorCode = 0;
    libraryRoot.clear();
}
