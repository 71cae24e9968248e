#include "base/fatal.hpp"

#include "base/program_exit.hpp"

#include <cstdio>

namespace {

void defaultFatal(const char* text) {
    std::fprintf(stderr, "%s\n", text);
    exitProgram(1);
}

FatalHook fatalHook = defaultFatal; // where raiseFatal() sends its text

} // namespace

[[noreturn]] void raiseFatal(const char* text) {
    fatalHook(text);
    // A hook that returns would leave the caller in an impossible state.
    defaultFatal(text);
    exitProgram(1);
}

void setFatalHook(FatalHook hook) { fatalHook = hook ? hook : defaultFatal; }

void resetFatalHook() { fatalHook = defaultFatal; }
