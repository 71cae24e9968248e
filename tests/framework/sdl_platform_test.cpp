// The real back end, run with SDL's display-less video driver so it needs no screen.
#include "framework/framework.hpp"
#include "framework/sdl_platform.hpp"
#include "gfx/gfx_error.hpp"
#include "gfx/gfx_state.hpp"
#include "gfx/primitives.hpp"

#include <SDL.h>
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
    for (auto [sdl, pc] : keys) EXPECT_EQ(pcScanCode(sdl), pc) << sdl;
    int mapped = 0;
    for (int s = 0; s < SDL_NUM_SCANCODES; ++s) mapped += pcScanCode(s) != 0;
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
    for (int i = 0; i < 4; ++i) SwapBuffers(2);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::microseconds(3 * 16'666 - 1'000));
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
    for (const char* name : {"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY"}) unsetenv(name);
    EXPECT_EQ(InitFramework("Tessaron 3d"), nullptr);
    EXPECT_EQ(LastError(), -2);
}

// A pad plugged in while the game runs, on SDL's virtual joystick driver: its
// buttons and sticks reach the key table as the pad's keys, and unplugging it
// lets go of what it held.
TEST_F(SdlSmokeTest, AGamepadPluggedInPressesThePadKeys) {
    ASSERT_NE(InitFramework("Tessaron 3d"), nullptr);
    SDL_VirtualJoystickDesc pad{};
    pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    pad.naxes = SDL_CONTROLLER_AXIS_MAX;
    pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    // Every button and axis, in SDL's order: the controller mapping SDL makes for
    // the virtual pad then numbers them as the game controller does.
    pad.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    pad.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    pad.name = "Tessaron test pad";
    const int index = SDL_JoystickAttachVirtualEx(&pad);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    ASSERT_NE(joystick, nullptr) << SDL_GetError();
    ProcessEvents(); // the pad is reported and opened

    const auto settle = [] {
        for (int i = 0; i < 3; ++i) ProcessEvents();
    };
    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, -30000);
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    settle();
    EXPECT_EQ(IsKeyDown(scanPadA), 1u);
    EXPECT_EQ(IsKeyDown(scanPadLeft), 1u);
    EXPECT_EQ(IsKeyDown(scanPadRightTrigger), 1u);
    EXPECT_EQ(IsKeyDown(scanPadB), 0u);

    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_A, 0);
    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_START, 1);
    settle();
    EXPECT_EQ(IsKeyDown(scanPadA), 0u);
    EXPECT_EQ(IsKeyDown(scanPadStart), 1u);

    SDL_JoystickClose(joystick);
    ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0);
    settle();
    EXPECT_EQ(IsKeyDown(scanPadStart), 0u);
    EXPECT_EQ(IsKeyDown(scanPadLeft), 0u);
    EXPECT_EQ(IsKeyDown(scanPadRightTrigger), 0u);
    ShutdownFramework();
}

} // namespace
