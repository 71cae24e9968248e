#include "base/fatal.hpp"
#include "base/program_exit.hpp"

#include <gtest/gtest.h>

#include <cstdio>

TEST(ProgramExit, MinusOneIsSeenAs255) {
    EXPECT_EXIT(exitProgram(-1), testing::ExitedWithCode(255), "");
    EXPECT_EXIT(exitProgram(0), testing::ExitedWithCode(0), "");
}

namespace {
[[noreturn]] void hookThatExitsWith7(const char* text) {
    std::fprintf(stderr, "hooked: %s\n", text);
    exitProgram(7);
}
} // namespace

TEST(FatalHook, AnInstalledHookTakesOverAndResetRestoresTheDefault) {
    setFatalHook(hookThatExitsWith7);
    EXPECT_EXIT(raiseFatal("boom"), testing::ExitedWithCode(7), "hooked: boom");
    resetFatalHook(); // the default writes the text to standard error and ends with 1
    EXPECT_EXIT(raiseFatal("Temporary glyph buffer is too small!!"), testing::ExitedWithCode(1),
                "^Temporary glyph buffer is too small!!\n$");
}
