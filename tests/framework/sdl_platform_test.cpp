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
#include <set>

namespace {

TEST(SdlKeys, TheGameKeysHaveTheirPcScanCodes) {
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_ESCAPE), scanEsc);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_RETURN), scanEnter);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_KP_ENTER), scanEnter);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_D), scanD);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_F), scanF);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_M), scanM);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_SPACE), scanSpace);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_F10), scanF10);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_KP_PLUS), scanKeypadPlus);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_UP), scanUp);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_KP_8), scanUp);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_LEFT), scanLeft);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_KP_4), scanLeft);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_RIGHT), scanRight);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_KP_6), scanRight);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_DOWN), scanDown);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_KP_2), scanDown);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_RALT), scanAlt);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_LSHIFT), scanLeftShift);
}

TEST(SdlKeys, TheWholeBoardIsMappedAndOtherNumbersGiveZero) {
    int mapped = 0;
    std::set<u8> codes;
    for (int s = 0; s < SDL_NUM_SCANCODES; ++s) {
        if (const u8 code = pcScanCode(s)) {
            ++mapped;
            codes.insert(code);
        }
    }
    EXPECT_GE(mapped, 104);
    EXPECT_EQ(pcScanCode(-1), 0);
    EXPECT_EQ(pcScanCode(SDL_NUM_SCANCODES), 0);
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_F13), 0); // not on the board
    EXPECT_EQ(pcScanCode(SDL_SCANCODE_UNKNOWN), 0);
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
    EXPECT_GT(displayHardware.desktopWidth, 0u);
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
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::microseconds(3 * 16'666 - 1'000));
    ProcessEvents();

    ASSERT_EQ(FindMode(entry, 320, 240, 24), 1u);
    ASSERT_EQ(SetMode(entry, 0, 2, 1), 1u);
    SwapBuffers(2);
    ProcessEvents();
    ASSERT_EQ(SetMode(entry, 1, 2, 1), 1u);
    SwapBuffers(2);
    ShutdownFramework();
    EXPECT_EQ(frameworkDisplay.drawTarget, nullptr);
}

TEST_F(SdlSmokeTest, WithoutAScreenInitFrameworkFailsCleanly) {
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    EXPECT_EQ(InitFramework("Tessaron 3d"), nullptr);
    EXPECT_EQ(LastError(), -2);

    // Left to itself, SDL would fall back to a driver that shows nothing.
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_EQ(InitFramework("Tessaron 3d"), nullptr);
    EXPECT_EQ(LastError(), -2);
}

} // namespace
