// The real back end, run with SDL's display-less video driver so it needs no screen.
#include "framework/framework.hpp"
#include "framework/sdl_platform.hpp"
#include "gfx/gfx_error.hpp"
#include "gfx/gfx_state.hpp"
#include "gfx/primitives.hpp"

#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

namespace {

TEST(SdlKeys, TheWholeBoardHasItsPcScanCodesAndOtherNumbersGiveZero) {
    // The game's keys, then keys not on the board and numbers that are no scan code.
    // clang-format off
    const std::pair<int, u8> keys[] = {
        {SDL_SCANCODE_ESCAPE, scanEsc}, {SDL_SCANCODE_RETURN, scanEnter},
        {SDL_SCANCODE_KP_ENTER, scanEnter}, {SDL_SCANCODE_D, scanD}, {SDL_SCANCODE_F, scanF},
        {SDL_SCANCODE_M, scanM}, {SDL_SCANCODE_SPACE, scanSpace}, {SDL_SCANCODE_F10, scanF10},
        {SDL_SCANCODE_KP_PLUS, scanKeypadPlus}, {SDL_SCANCODE_UP, scanUp},
        {SDL_SCANCODE_KP_8, scanUp}, {SDL_SCANCODE_LEFT, scanLeft}, {SDL_SCANCODE_KP_4, scanLeft},
        {SDL_SCANCODE_RIGHT, scanRight}, {SDL_SCANCODE_KP_6, scanRight},
        {SDL_SCANCODE_DOWN, scanDown}, {SDL_SCANCODE_KP_2, scanDown}, {SDL_SCANCODE_RALT, scanAlt},
        {SDL_SCANCODE_LSHIFT, scanLeftShift}, {SDL_SCANCODE_F13, 0}, {SDL_SCANCODE_UNKNOWN, 0},
        {-1, 0}, {SDL_NUM_SCANCODES, 0}};
    // clang-format on
    for (auto [sdl, pc] : keys)
        EXPECT_EQ(pcScanCode(sdl), pc) << sdl;
    int mapped = 0;
    for (int s = 0; s < SDL_NUM_SCANCODES; ++s)
        mapped += pcScanCode(s) != 0;
    EXPECT_GE(mapped, 104);
}

class SdlSmokeTest : public testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        resetGfx();
        selectPlatform(std::make_unique<SdlPlatform>());
    }
    void TearDown() override {
        selectPlatform(nullptr);
        resetGfx();
    }
};

TEST_F(SdlSmokeTest, OpensAWindowPresentsFramesAndSwitchesToFullScreen) {
    FrameworkDisplay* display = InitFramework("Tessaron 3d");
    ASSERT_NE(display, nullptr);
    EXPECT_GT(framework::state.displayHardware.desktopWidth, 0u);
    ModeEntry entry{};
    ASSERT_EQ(FindMode(entry, 640, 480, 16), 1u);
    ASSERT_EQ(SetMode(entry, 1, 2, 1), 1u);
    ASSERT_NE(display->drawTarget, nullptr);
    EXPECT_EQ(display->drawTarget->bitsPerPixel, 24);

    setColorRGB(255, 0, 0);
    drawLine(0, 0, 639, 479);
    // Presenting keeps at least 1/60 s between frames: four frames take three gaps.
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 4; ++i)
        SwapBuffers(2);
    EXPECT_GE(std::chrono::steady_clock::now() - start,
              std::chrono::microseconds(3 * 16'666 - 1'000));
    ProcessEvents();

    ASSERT_EQ(FindMode(entry, 320, 240, 24), 1u);
    ASSERT_EQ(SetMode(entry, 0, 2, 1), 1u);
    SwapBuffers(2);
    ProcessEvents();
    ASSERT_EQ(SetMode(entry, 1, 2, 1), 1u);
    SwapBuffers(2);
    ShutdownFramework();
    EXPECT_EQ(framework::state.frameworkDisplay.drawTarget, nullptr);
}

TEST_F(SdlSmokeTest, WithoutAScreenInitFrameworkFailsCleanly) {
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    EXPECT_EQ(InitFramework("Tessaron 3d"), nullptr);
    EXPECT_EQ(LastError(), -2);
    // Left to itself, SDL would fall back to a driver that shows nothing.
    for (const char* name : {"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY"})
        unsetenv(name);
    EXPECT_EQ(InitFramework("Tessaron 3d"), nullptr);
    EXPECT_EQ(LastError(), -2);
}

} // namespace
