#include "base/fatal.hpp"

#include "base/base_state.hpp"
#include "base/program_exit.hpp"

#include <cstdio>

namespace {

void defaultFatal(const char* text) {
    std::fprintf(stderr, "%s\n", text);
    exitProgram(1);
}

} // namespace

[[noreturn]] void raiseFatal(const char* text) {
    if (base::state.fatalHook) base::state.fatalHook(text);
    // A hook that returns would leave the caller in an impossible state.
    defaultFatal(text);
    exitProgram(1);
}

void setFatalHook(FatalHook hook) {
    base::state.fatalHook = hook;
}

void resetFatalHook() {
    base::state.fatalHook = nullptr;
}
