#include "base/program_exit.hpp"

#include <cstdio>
#include <cstdlib>

[[noreturn]] void exitProgram(int code) {
    std::fflush(stdout);
    std::fflush(stderr);
    std::exit(code);
}
