#include "base/program_exit.hpp"

#include "base/base_state.hpp"

#include <cstdio>
#include <cstdlib>

[[noreturn]] void exitProgram(int code) {
    std::fflush(stdout);
    std::fflush(stderr);
    if (base::state.exitHook) base::state.exitHook(code);
    std::exit(code);
}

void setExitHook(ExitHook hook) {
    base::state.exitHook = hook;
}
