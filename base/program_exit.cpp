#include "base/program_exit.hpp"

#include <cstdio>
#include <cstdlib>

namespace {

ExitHook exitHook = nullptr; // a harness's replacement for the end of the program

} // namespace

[[noreturn]] void exitProgram(int code) {
    std::fflush(stdout);
    std::fflush(stderr);
    if (exitHook) exitHook(code);
    std::exit(code);
}

void setExitHook(ExitHook hook) { exitHook = hook; }
