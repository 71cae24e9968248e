#include "base/fatal.hpp"
#include "base/program_exit.hpp"

#include <gtest/gtest.h>

#include <cstdio>

TEST(ProgramExit, MinusOneIsSeenAs255) {
    EXPECT_EXIT(exitProgram(-1), testing::ExitedWithCode(255), "");
    EXPECT_EXIT(exitProgram(0), testing::ExitedWithCode(0), "");
}

TEST(ProgramExit, AnExitHookUnwindsInsteadOfEndingAndNullRestoresTheEnd) {
    struct Ended {
        int code;
    };
    setExitHook([](int code) { throw Ended{code}; });
    try {
        exitProgram(-1);
    } catch (const Ended& ended) {
        EXPECT_EQ(ended.code, -1);
    }
    setExitHook(nullptr);
    EXPECT_EXIT(exitProgram(3), testing::ExitedWithCode(3), "");
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
