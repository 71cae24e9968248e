#include "framework_fixture.hpp"

#include "base/fatal.hpp"
#include "gfx/gfx_error.hpp"
#include "gfx/primitives.hpp"

#include <cstring>
#include <string>

namespace {

using DisplayTest = FrameworkTest;

u32 width(const DeviceContext* dc) {
    return static_cast<u32>(dc->deviceRect.right);
}
u32 height(const DeviceContext* dc) {
    return static_cast<u32>(dc->deviceRect.bottom);
}

TEST_F(DisplayTest, InitFrameworkOpensTheDisplayAndKeepsAtMost79CharactersOfTheTitle) {
    const std::string title(100, 'T');
    FrameworkDisplay* display = InitFramework(title.c_str());
    ASSERT_EQ(display, &frameworkDisplay);
    EXPECT_EQ(display->drawTarget, nullptr); // nothing to draw on until a mode is set
    EXPECT_EQ(windowTitle, std::string(79, 'T'));
    EXPECT_TRUE(machine->displayOpen);
    EXPECT_FALSE(machine->windowExists);

    ModeEntry entry{};
    ASSERT_EQ(FindMode(entry, 640, 480, 16), 1u);
    ASSERT_EQ(SetMode(entry, 1, 2, 1), 1u);
    EXPECT_EQ(machine->windowTitle, std::string(79, 'T'));
    EXPECT_FALSE(machine->windowCanMaximise);
    EXPECT_EQ(currentContext, display->drawTarget);
}

TEST_F(DisplayTest, WithoutADisplayInitFrameworkFailsWithHardwareNotDetected) {
    machine->displayAvailable = false;
    EXPECT_EQ(InitFramework("Tessaron 3d"), nullptr);
    const i32 error = LastError();
    EXPECT_EQ(error, -2);
    EXPECT_STREQ(ErrorMessage(error), "Graphics hardware not detected");
    ModeEntry entry{};
    EXPECT_EQ(FindMode(entry, 640, 480, 16), 0u);
}

TEST_F(DisplayTest, NewDriverOptionsListTheModesAnew) {
    InitFramework("Tessaron 3d");
    const size_t all = modeList.entries.size();
    DriverOptions options{1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 4};
    SetDriverOptions(options);
    EXPECT_EQ(modeList.entries.size(), all / 5);
    ModeEntry entry{};
    EXPECT_EQ(FindMode(entry, 640, 480, 16), 0u);

    // Options given before InitFramework survive it.
    resetFramework();
    SetDriverOptions(options);
    InitFramework("Tessaron 3d");
    EXPECT_EQ(driverOptions, options);
    EXPECT_EQ(modeList.entries.size(), all / 5);
}

TEST_F(DisplayTest, FindModeTakesTheFirstMatchAndLeavesTheRecordAloneWithoutOne) {
    InitFramework("Tessaron 3d");
    ModeEntry entry{};
    ASSERT_EQ(FindMode(entry, 320, 240, -1), 1u);
    EXPECT_EQ(entry.bitsPerPixel, 8u);
    ASSERT_EQ(FindMode(entry, 320, 240, 24), 1u);
    EXPECT_EQ(entry.mode, graphicsModeNumber(320, 240, 24));
    const ModeEntry before = entry;
    EXPECT_EQ(FindMode(entry, 1280, 1024, 24), 0u); // larger than the desktop
    EXPECT_EQ(std::memcmp(&entry, &before, sizeof entry), 0);
}

struct WindowCase {
    u32 desktopWidth, desktopHeight;
    u32 frameWidth, frameHeight;
    u32 width, height;             // the entry
    u32 clientWidth, clientHeight; // the window's client area
};

void PrintTo(const WindowCase& c, std::ostream* os) {
    *os << c.width << "x" << c.height << " on " << c.desktopWidth << "x" << c.desktopHeight;
}

class WindowSizeTest : public FrameworkTest, public testing::WithParamInterface<WindowCase> {};

TEST_P(WindowSizeTest, SmallModesShowDoubledWhenTheDesktopHasRoom) {
    const WindowCase c = GetParam();
    useDesktop(c.desktopWidth, c.desktopHeight).frame = {c.frameWidth, c.frameHeight};
    InitFramework("Tessaron 3d");
    ModeEntry entry{};
    ASSERT_EQ(FindMode(entry, c.width, c.height, 24), 1u);
    ASSERT_EQ(SetMode(entry, 1, 2, 1), 1u);
    EXPECT_EQ(machine->clientWidth, c.clientWidth);
    EXPECT_EQ(machine->clientHeight, c.clientHeight);
    // The game draws at the entry's own size, in the desktop's depth.
    EXPECT_EQ(width(frameworkDisplay.drawTarget), c.width);
    EXPECT_EQ(height(frameworkDisplay.drawTarget), c.height);
    EXPECT_EQ(frameworkDisplay.drawTarget, frameworkDisplay.backBuffer);
    EXPECT_EQ(frameworkDisplay.backBuffer->bitsPerPixel, 24);
    EXPECT_EQ(scaledOutput, c.clientWidth != c.width || c.clientHeight != c.height ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, WindowSizeTest,
    testing::Values(WindowCase{1024, 768, 0, 0, 320, 240, 640, 480}, // doubled
                    WindowCase{640, 480, 0, 0, 320, 240, 320, 240},  // 1:1, no room
                    WindowCase{800, 600, 8, 30, 320, 240, 640, 480}, // room with the frame
                    WindowCase{800, 500, 8, 30, 320, 240, 320, 240}, // none with the frame
                    WindowCase{1024, 768, 0, 0, 320, 200, 640, 480}, // 4:3 and doubled
                    WindowCase{1024, 768, 0, 0, 640, 350, 640, 480}, // 4:3
                    WindowCase{1024, 768, 0, 0, 640, 480, 640, 480},
                    WindowCase{640, 480, 0, 0, 640, 480, 640, 480},  // the whole desktop
                    WindowCase{640, 480, 8, 30, 640, 480, 632, 450}, // desktop less the frame
                    WindowCase{1024, 768, 8, 30, 1024, 768, 1016, 738}),
    [](const testing::TestParamInfo<WindowCase>& info) {
        const WindowCase& c = info.param;
        return std::to_string(c.width) + "x" + std::to_string(c.height) + "On" +
               std::to_string(c.desktopWidth) + "x" + std::to_string(c.desktopHeight) +
               (c.frameWidth ? "Framed" : "");
    });

TEST_F(DisplayTest, TheWindowStartsCentredAndReturnsToItsPlaceAfterFullScreen) {
    machine->frame = {10, 40};
    openMode(320, 240, 24, 1);
    EXPECT_EQ(machine->place.x, (1024 - 650) / 2);
    EXPECT_EQ(machine->place.y, (768 - 520) / 2);

    machine->place = {5, 7}; // the player moves it
    ModeEntry entry = currentMode;
    ASSERT_EQ(SetMode(entry, 0, 2, 1), 1u);
    EXPECT_TRUE(machine->fullScreen);
    ASSERT_EQ(SetMode(entry, 1, 2, 1), 1u);
    EXPECT_FALSE(machine->fullScreen);
    EXPECT_EQ(machine->place.x, 5);
    EXPECT_EQ(machine->place.y, 7);
}

TEST_F(DisplayTest, AWindowLargerThanTheDesktopStartsAtItsTopLeftCorner) {
    useDesktop(640, 480).frame = {8, 30};
    openMode(640, 480, 24, 1);
    EXPECT_EQ(machine->place.x, 0);
    EXPECT_EQ(machine->place.y, 0);
}

TEST_F(DisplayTest, FullScreenBackBufferFollowsTheScalingAndTheFilter) {
    machine->hardware.modes = {
        {static_cast<u32>(graphicsModeNumber(640, 480, 32)), 3, modeCapPageFlip},
        {static_cast<u32>(graphicsModeNumber(320, 400, 16)), 1, 0}};
    SetDriverOptions({1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 7}); // no 32 bits
    InitFramework("Tessaron 3d");
    ModeEntry entry{};
    EXPECT_EQ(FindMode(entry, 640, 480, 32), 0u); // filtered out

    SetDriverOptions({1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 15});
    ASSERT_EQ(FindMode(entry, 320, 240, 32), 1u);
    EXPECT_EQ(entry.scaling, 2u);
    ASSERT_EQ(SetMode(entry, 0, 2, 0), 1u);
    EXPECT_EQ(machine->screenWidth, 640u);
    EXPECT_EQ(width(frameworkDisplay.backBuffer), 320u); // scaled modes always get one
    EXPECT_EQ(height(frameworkDisplay.backBuffer), 240u);
    EXPECT_EQ(displayPages.size(), 2u); // the smaller of 3 and the 2 asked for
    EXPECT_EQ(scaledOutput, 1u);

    ASSERT_EQ(FindMode(entry, 320, 200, 16), 1u);
    EXPECT_EQ(entry.scaling, 1u);
    ASSERT_EQ(SetMode(entry, 0, 2, 1), 1u);
    EXPECT_EQ(width(frameworkDisplay.backBuffer), 320u);
    EXPECT_EQ(height(frameworkDisplay.backBuffer), 200u);
    EXPECT_EQ(displayPages.size(), 1u);

    // A filter without 32 bits lowers a 32-bit mode's back buffer to 24 (the entry
    // is made by hand: such a filter does not list the mode).
    SetDriverOptions({1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 7 | 64});
    entry.mode = graphicsModeNumber(640, 480, 32);
    entry.width = 640;
    entry.height = 480;
    entry.scaling = 0;
    ASSERT_EQ(SetMode(entry, 0, 2, 1), 1u);
    EXPECT_EQ(frameworkDisplay.displayDevice->bitsPerPixel, 32);
    EXPECT_EQ(frameworkDisplay.backBuffer->bitsPerPixel, 24);
}

TEST_F(DisplayTest, SetModeRefusesEntriesItCannotShow) {
    InitFramework("Tessaron 3d");
    const ModeEntry none{};
    EXPECT_EQ(SetMode(none, 1, 2, 1), 0u); // what a failed FindMode leaves
    EXPECT_EQ(SetMode(none, 0, 2, 1), 0u);
    ModeEntry entry{};
    ASSERT_EQ(FindMode(entry, 640, 480, 24), 1u);
    ModeEntry windowOnly = entry;
    windowOnly.mode = -1;
    EXPECT_EQ(SetMode(windowOnly, 0, 2, 1), 0u);
    EXPECT_EQ(SetMode(windowOnly, 1, 2, 1), 1u);
    ModeEntry unknown = entry;
    unknown.mode = 500;
    EXPECT_EQ(SetMode(unknown, 0, 2, 1), 0u);
    EXPECT_EQ(frameworkDisplay.drawTarget, nullptr);
}

TEST_F(DisplayTest, SwapBuffersShowsTheBackBufferOneToOneOrStretched) {
    openMode(640, 480, 16, 1);
    setColorRGB(255, 128, 1);
    drawPixel(639, 479);
    SwapBuffers(2);
    EXPECT_EQ(machine->framesPresented, 1u);
    EXPECT_EQ(machine->lastFrameWidth, 640u);
    EXPECT_EQ(presentedPixel(*machine, 639, 479), 0xFF8001u);

    ModeEntry entry{};
    ASSERT_EQ(FindMode(entry, 320, 240, 24), 1u);
    ASSERT_EQ(SetMode(entry, 1, 2, 1), 1u); // shown at 640x480
    setColorRGB(0, 0, 255);
    drawPixel(10, 20);
    SwapBuffers(2);
    ASSERT_EQ(machine->lastFrameWidth, 640u);
    ASSERT_EQ(machine->lastFrameHeight, 480u);
    for (u32 y : {40u, 41u})
        for (u32 x : {20u, 21u})
            EXPECT_EQ(presentedPixel(*machine, x, y), 0x0000FFu);
    EXPECT_EQ(presentedPixel(*machine, 22, 40), 0u);
    EXPECT_EQ(presentedPixel(*machine, 20, 42), 0u);
}

TEST_F(DisplayTest, PagesCycleAndWithoutABackBufferTheGameDrawsOnTheHiddenPage) {
    openMode(640, 480, 24, 0, 2, 0);
    FrameworkDisplay& display = frameworkDisplay;
    EXPECT_EQ(display.backBuffer, nullptr);
    EXPECT_EQ(display.drawTarget, display.displayDevice);
    EXPECT_EQ(display.drawTarget->surface, displayPages[1].data()); // page 0 is on show

    setColorRGB(1, 2, 3);
    drawPixel(0, 0);
    SwapBuffers(2);
    EXPECT_EQ(visiblePage, 1u);
    EXPECT_EQ(presentedPixel(*machine, 0, 0), 0x010203u);
    EXPECT_EQ(display.drawTarget->surface, displayPages[0].data());
    SwapBuffers(2);
    EXPECT_EQ(visiblePage, 0u);
    EXPECT_EQ(presentedPixel(*machine, 0, 0), 0u); // the other page was never drawn
}

TEST_F(DisplayTest, AnEightBitDisplayShowsItsPaletteOnceRealised) {
    openMode(320, 240, 8, 0);
    PaletteEntry red{};
    red.red = 255;
    SetPalette(&red, 1, 5);
    EXPECT_EQ(frameworkDisplay.backBuffer->palette[5], red);
    setColorIndex(5);
    drawPixel(3, 3);
    SwapBuffers(2);
    const PaletteEntry shown = defaultPalette()[5];
    EXPECT_EQ(presentedPixel(*machine, 3, 3), u32{shown.red} << 16 | shown.green << 8 | shown.blue);
    RealizePalette(1, 5, 1);
    SwapBuffers(2);
    EXPECT_EQ(presentedPixel(*machine, 3, 3), 0xFF0000u);
}

TEST_F(DisplayTest, ShutdownClosesEverythingAndRestoresTheStartValues) {
    SetDriverOptions({1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 15});
    openMode(640, 480, 16, 1);
    SetKeyDownCallback([](Event*) {});
    ShutdownFramework();
    EXPECT_FALSE(machine->displayOpen);
    EXPECT_EQ(currentContext, nullptr);
    EXPECT_EQ(frameworkDisplay.drawTarget, nullptr);
    EXPECT_EQ(keyDownCallback, nullptr);
    EXPECT_EQ(driverOptions, frameworkDefaultOptions);
    SwapBuffers(2); // nothing to show: nothing happens
    EXPECT_EQ(machine->framesPresented, 0u);
}

TEST_F(DisplayTest, FatalErrorClosesTheDisplayShowsTheTextAndEndsWithOne) {
    openMode(640, 480, 16, 1);
    // The memory platform's boxes go to standard error too.
    EXPECT_EXIT(
        FatalError("ups, sorry buddy, but I think we got some problems with ya video mode..."),
        testing::ExitedWithCode(1), "ups, sorry buddy.*\\[RGL Fatal Error!\\] ups, sorry buddy");
    // Fatal errors from below the framework take the same road.
    EXPECT_EXIT(raiseFatal("Temporary glyph buffer is too small!!"), testing::ExitedWithCode(1),
                "Temporary glyph buffer is too small!!");
}

} // namespace
