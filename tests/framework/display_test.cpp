#include "framework_fixture.hpp"

#include "gfx/gfx_error.hpp"
#include "gfx/primitives.hpp"

#include <cstring>
#include <string>

namespace {

using DisplayTest = FrameworkTest;

// The game's options with another mode filter.
DriverOptions filtering(u32 filter) {
    return {1, 1, 1, 1, 1, 1, 1, 1, 0, 0, filter};
}

std::pair<i32, i32> sizeOf(const DeviceContext* dc) {
    return {dc->deviceRect.right, dc->deviceRect.bottom};
}

TEST_F(DisplayTest, InitKeeps79CharactersOfTheTitleAndShutdownRestoresTheStartValues) {
    SetDriverOptions(filtering(modeFilterAllDepths));
    FrameworkDisplay* display = InitFramework(std::string(100, 'T').c_str());
    ASSERT_EQ(display, &framework::state.frameworkDisplay);
    EXPECT_EQ(display->drawTarget, nullptr); // nothing to draw on until a mode is set
    EXPECT_TRUE(machine->displayOpen);
    EXPECT_FALSE(machine->windowExists);
    setMode(640, 480, 16, 1);
    EXPECT_EQ(machine->windowTitle, std::string(79, 'T'));
    EXPECT_FALSE(machine->windowCanMaximise);
    EXPECT_EQ(gfx::state.currentContext, display->drawTarget);

    SetKeyDownCallback([](Event*) {});
    ShutdownFramework();
    EXPECT_FALSE(machine->displayOpen);
    EXPECT_EQ(gfx::state.currentContext, nullptr);
    EXPECT_EQ(framework::state.frameworkDisplay.drawTarget, nullptr);
    EXPECT_EQ(framework::state.keyDownCallback, nullptr);
    EXPECT_EQ(framework::state.driverOptions, frameworkDefaultOptions);
    SwapBuffers(2); // nothing to show: nothing happens
    EXPECT_EQ(machine->framesPresented, 0u);
}

TEST_F(DisplayTest, WithoutADisplayInitFrameworkFailsWithHardwareNotDetected) {
    machine->displayAvailable = false;
    EXPECT_EQ(InitFramework("Tessaron 3d"), nullptr);
    EXPECT_EQ(LastError(), -2);
    EXPECT_STREQ(ErrorMessage(-2), "Graphics hardware not detected");
    ModeEntry entry{};
    EXPECT_EQ(FindMode(entry, 640, 480, 16), 0u);
}

TEST_F(DisplayTest, FindModeTakesTheFirstMatchOfTheListTheOptionsMake) {
    InitFramework("Tessaron 3d");
    ModeEntry entry{};
    ASSERT_EQ(FindMode(entry, 320, 240, -1), 1u);
    EXPECT_EQ(entry.bitsPerPixel, 8u);
    ASSERT_EQ(FindMode(entry, 320, 240, 24), 1u);
    EXPECT_EQ(entry.mode, graphicsModeNumber(320, 240, 24));
    const ModeEntry before = entry;
    EXPECT_EQ(FindMode(entry, 1280, 1024, 24), 0u); // larger than the desktop
    EXPECT_EQ(std::memcmp(&entry, &before, sizeof entry), 0);

    // New options list the modes anew; options given before InitFramework survive it.
    const size_t all = framework::state.modeList.entries.size();
    SetDriverOptions(filtering(modeFilter24));
    EXPECT_EQ(framework::state.modeList.entries.size(), all / 5);
    EXPECT_EQ(FindMode(entry, 640, 480, 16), 0u);
    resetFramework();
    SetDriverOptions(filtering(modeFilter24));
    InitFramework("Tessaron 3d");
    EXPECT_EQ(framework::state.modeList.entries.size(), all / 5);
}

TEST_F(DisplayTest, WindowSizeDoublesSmallModesWhenTheDesktopHasRoom) {
    struct Case {
        u32 desktopWidth, desktopHeight, frameWidth, frameHeight;
        u32 width, height;             // the entry
        u32 clientWidth, clientHeight; // the window's client area
    };
    // Doubled when the desktop (less the window frame) has room; 4:3 sizes show at 640x480;
    // a size that reaches the desktop's width or height becomes the whole desktop less
    // the frame.
    const Case cases[] = {{1024, 768, 0, 0, 320, 240, 640, 480},
                          {640, 480, 0, 0, 320, 240, 320, 240},
                          {800, 600, 8, 30, 320, 240, 640, 480},
                          {800, 500, 8, 30, 320, 240, 320, 240},
                          {1024, 768, 0, 0, 320, 200, 640, 480},
                          {1024, 768, 0, 0, 640, 350, 640, 480},
                          {1024, 768, 0, 0, 640, 480, 640, 480},
                          {640, 480, 0, 0, 640, 480, 640, 480},
                          {640, 480, 8, 30, 640, 480, 632, 450},
                          {1024, 768, 8, 30, 1024, 768, 1016, 738},
                          // The size itself is held against the desktop, and then both sides follow it.
                          {800, 480, 0, 0, 640, 480, 800, 480},
                          {650, 600, 20, 40, 640, 480, 640, 480}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << 'x' << c.height << " on " << c.desktopWidth << 'x'
                                        << c.desktopHeight << " frame " << c.frameWidth);
        useDesktop(c.desktopWidth, c.desktopHeight).frame = {c.frameWidth, c.frameHeight};
        InitFramework("Tessaron 3d");
        setMode(c.width, c.height, 24, 1);
        EXPECT_EQ((std::pair{machine->clientWidth, machine->clientHeight}),
                  (std::pair{c.clientWidth, c.clientHeight}));
        // The game draws at the entry's own size, in the desktop's depth.
        EXPECT_EQ(sizeOf(framework::state.frameworkDisplay.drawTarget),
                  (std::pair<i32, i32>(c.width, c.height)));
        EXPECT_EQ(framework::state.frameworkDisplay.drawTarget, framework::state.frameworkDisplay.backBuffer);
        EXPECT_EQ(framework::state.frameworkDisplay.backBuffer->bitsPerPixel, 24);
        EXPECT_EQ(framework::state.scaledOutput,
                  c.clientWidth != c.width || c.clientHeight != c.height ? 1u : 0u);
    }
}

TEST_F(DisplayTest, TheWindowStartsCentredAndReturnsToItsPlaceAfterFullScreen) {
    machine->frame = {10, 40};
    openMode(320, 240, 24, 1);
    EXPECT_EQ((std::pair{machine->place.x, machine->place.y}),
              (std::pair{(1024 - 650) / 2, (768 - 520) / 2}));
    machine->place = {5, 7}; // the player moves it
    const ModeEntry entry = framework::state.currentMode;
    ASSERT_EQ(SetMode(entry, 0, 2, 1), 1u);
    EXPECT_TRUE(machine->fullScreen);
    ASSERT_EQ(SetMode(entry, 1, 2, 1), 1u);
    EXPECT_FALSE(machine->fullScreen);
    EXPECT_EQ((std::pair{machine->place.x, machine->place.y}), (std::pair{5, 7}));
    // A window larger than the desktop starts at its top-left corner, not off it.
    useDesktop(640, 480).frame = {8, 30};
    openMode(640, 480, 24, 1);
    EXPECT_EQ((std::pair{machine->place.x, machine->place.y}), (std::pair{0, 0}));
}

TEST_F(DisplayTest, FullScreenBackBufferFollowsTheScalingAndTheFilter) {
    machine->hardware.modes = {{static_cast<u32>(graphicsModeNumber(640, 480, 32)), 3, modeCapPageFlip},
                               {static_cast<u32>(graphicsModeNumber(320, 400, 16)), 1, 0}};
    SetDriverOptions(filtering(7)); // no 32 bits
    InitFramework("Tessaron 3d");
    ModeEntry entry{};
    EXPECT_EQ(FindMode(entry, 640, 480, 32), 0u);

    SetDriverOptions(filtering(modeFilterAllDepths));
    ASSERT_EQ(FindMode(entry, 320, 240, 32), 1u);
    EXPECT_EQ(entry.scaling, 2u);
    ASSERT_EQ(SetMode(entry, 0, 2, 0), 1u);
    EXPECT_EQ(machine->screenWidth, 640u);
    EXPECT_EQ(sizeOf(framework::state.frameworkDisplay.backBuffer),
              (std::pair{320, 240}));                    // scaled: always one
    EXPECT_EQ(framework::state.displayPages.size(), 2u); // the smaller of 3 and the 2 asked for
    EXPECT_EQ(framework::state.scaledOutput, 1u);

    // A filter without 32 bits lowers a 32-bit mode's back buffer to 24 (the entry
    // is made by hand: such a filter does not list the mode).
    SetDriverOptions(filtering(7 | modeFilterWindowed));
    entry.mode = graphicsModeNumber(640, 480, 32);
    entry.width = 640;
    entry.height = 480;
    entry.scaling = 0;
    ASSERT_EQ(SetMode(entry, 0, 2, 1), 1u);
    EXPECT_EQ(framework::state.frameworkDisplay.displayDevice->bitsPerPixel, 32);
    EXPECT_EQ(framework::state.frameworkDisplay.backBuffer->bitsPerPixel, 24);
}

TEST_F(DisplayTest, SetModeRefusesEntriesItCannotShow) {
    InitFramework("Tessaron 3d");
    const ModeEntry none{}; // what a failed FindMode leaves
    EXPECT_EQ(SetMode(none, 1, 2, 1), 0u);
    EXPECT_EQ(SetMode(none, 0, 2, 1), 0u);
    ModeEntry entry{};
    ASSERT_EQ(FindMode(entry, 640, 480, 24), 1u);
    entry.mode = 500;
    EXPECT_EQ(SetMode(entry, 0, 2, 1), 0u);
    entry.mode = -1; // window only
    EXPECT_EQ(SetMode(entry, 0, 2, 1), 0u);
    EXPECT_EQ(framework::state.frameworkDisplay.drawTarget, nullptr);
    EXPECT_EQ(SetMode(entry, 1, 2, 1), 1u);
}

TEST_F(DisplayTest, SwapBuffersShowsTheBackBufferOneToOneOrStretched) {
    openMode(640, 480, 16, 1);
    setColorRGB(255, 128, 1);
    drawPixel(639, 479);
    SwapBuffers(2);
    EXPECT_EQ(machine->framesPresented, 1u);
    EXPECT_EQ(presentedPixel(*machine, 639, 479), 0xFF8001u);

    setMode(320, 240, 24, 1); // shown at 640x480
    setColorRGB(0, 0, 255);
    drawPixel(10, 20);
    SwapBuffers(2);
    ASSERT_EQ((std::pair{machine->lastFrameWidth, machine->lastFrameHeight}), (std::pair{640u, 480u}));
    for (u32 y : {40u, 41u})
        for (u32 x : {20u, 21u}) EXPECT_EQ(presentedPixel(*machine, x, y), 0x0000FFu);
    EXPECT_EQ(presentedPixel(*machine, 22, 40), 0u);
    EXPECT_EQ(presentedPixel(*machine, 20, 42), 0u);
}

TEST_F(DisplayTest, AnEightBitDisplayShowsItsPaletteOnceRealised) {
    openMode(320, 240, 8, 0);
    const PaletteEntry red{0, 0, 255, 0};
    SetPalette(&red, 1, 5);
    EXPECT_EQ(framework::state.frameworkDisplay.backBuffer->palette[5], red);
    setColorIndex(5);
    drawPixel(3, 3);
    SwapBuffers(2);
    const PaletteEntry shown = defaultPalette()[5];
    EXPECT_EQ(presentedPixel(*machine, 3, 3), u32{shown.red} << 16 | shown.green << 8 | shown.blue);
    RealizePalette(1, 5, 1);
    SwapBuffers(2);
    EXPECT_EQ(presentedPixel(*machine, 3, 3), 0xFF0000u);
}

TEST_F(DisplayTest, FatalErrorClosesTheDisplayShowsTheTextAndEndsWithOne) {
    openMode(640, 480, 16, 1);
    // The memory platform's boxes go to standard error too.
    EXPECT_EXIT(FatalError("ups, sorry buddy, but I think we got some problems with ya video mode..."),
                testing::ExitedWithCode(1), "ups, sorry buddy.*\\[RGL Fatal Error!\\] ups, sorry buddy");
    // Fatal errors from below the framework take the same road.
    EXPECT_EXIT(raiseFatal("Temporary glyph buffer is too small!!"), testing::ExitedWithCode(1),
                "Temporary glyph buffer is too small!!");
}

} // namespace
