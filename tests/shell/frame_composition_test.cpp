// The frame composition's own drawing: ground bands, sky, frame-rate counter.
#include "shell_test_support.hpp"

#include "base/clock.hpp"
#include "framework/display.hpp"
#include "framework/memory_platform.hpp"
#include "framework/modes.hpp"
#include "gfx/bitmap.hpp"
#include "gfx/font.hpp"
#include "gfx/primitives.hpp"
#include "shell/draw_frame.hpp"
#include "shell/game_menu.hpp"
#include "shell/shell_state.hpp"

namespace {

class Background : public ShellFrame {};

u32 fakeSeconds = 0;
u32 fakeClock() { return fakeSeconds; }

} // namespace

TEST_F(Background, GroundBandsAt640x480) {
    makeFrame(640, 480);
    shell::state.gameMenu->realisticSky = 0;
    DrawBackground();
    // Far ground: (r, y / 8 + 127, r) with r = 480 - y.
    EXPECT_EQ(pixel(0, 479), (Rgb{1, 186, 1}));
    EXPECT_EQ(pixel(639, 400), (Rgb{80, 177, 80}));
    EXPECT_EQ(pixel(300, 361), (Rgb{119, 172, 119}));
    // Near the horizon the band meets the far ground and reaches the fog colour.
    EXPECT_EQ(pixel(10, 360), (Rgb{118, 172, 118}));
    EXPECT_EQ(pixel(10, 340), (Rgb{179, 206, 179}));
    EXPECT_EQ(pixel(10, 320), (Rgb{240, 240, 240}));
}

TEST_F(Background, GroundBandsAt320x240) {
    makeFrame(320, 240);
    shell::state.gameMenu->realisticSky = 0;
    DrawBackground();
    EXPECT_EQ(pixel(0, 239), (Rgb{2, 199, 2}));
    EXPECT_EQ(pixel(100, 200), (Rgb{80, 195, 80}));
    EXPECT_EQ(pixel(100, 180), (Rgb{118, 192, 118}));
    EXPECT_EQ(pixel(100, 170), (Rgb{179, 216, 179}));
    EXPECT_EQ(pixel(319, 160), (Rgb{240, 240, 240}));
}

TEST_F(Background, OrdinarySkyRunsFromDeepBlueToTheFogColour) {
    makeFrame(640, 480);
    shell::state.gameMenu->realisticSky = 0;
    DrawBackground();
    EXPECT_TRUE(allPixels(0, 0, 640, 1, Rgb{0, 0, 240}));
    EXPECT_EQ(pixel(5, 100), (Rgb{100, 100, 240}));
    EXPECT_EQ(pixel(5, 239), (Rgb{239, 239, 240}));
    EXPECT_TRUE(allPixels(0, 240, 640, 321, Rgb{240, 240, 240}));

    // At 320x240 each row is drawn twice and keeps the colour of the smaller v.
    makeFrame(320, 240);
    shell::state.gameMenu->realisticSky = 0;
    DrawBackground();
    EXPECT_EQ(pixel(5, 0), (Rgb{0, 0, 240}));
    EXPECT_EQ(pixel(5, 50), (Rgb{100, 100, 240}));
    EXPECT_TRUE(allPixels(0, 120, 320, 161, Rgb{240, 240, 240}));
}

TEST_F(Background, RealisticSkySlidesTwoPixelsAFrameAndWrapsAfterAScreenWidth) {
    makeFrame(320, 240);
    // A sky whose column x holds x % 320 in blue and green, twice the screen wide.
    Bitmap sky = makeBitmap(640, 160, 24);
    for (i32 y = 0; y < 160; ++y)
        for (i32 x = 0; x < 640; ++x) {
            u8* p = sky.row(y) + 3 * x;
            p[0] = static_cast<u8>(x % 320);
            p[1] = static_cast<u8>(x % 320 >> 8);
            p[2] = 0;
        }
    shell::state.gameMenu->skyBitmap = &sky;
    std::vector<i32> drawnAt;
    for (int call = 0; call < 163; ++call) {
        DrawBackground();
        drawnAt.push_back(-(pixel(0, 10).b + 256 * pixel(0, 10).g));
    }
    EXPECT_EQ(drawnAt[0], 0);
    EXPECT_EQ(drawnAt[1], -2);
    EXPECT_EQ(drawnAt[159], -318);
    // After width/2 calls the sky has moved a full width (-320 shows as column 0)
    // and starts again 2 pixels left of its first position.
    EXPECT_EQ(drawnAt[160], 0);
    EXPECT_EQ(drawnAt[161], -2);
    EXPECT_EQ(shell::state.gameMenu->skyScroll, -6);
    // The sky covers the top rows; the ground stays below it.
    EXPECT_EQ(pixel(0, 200), (Rgb{80, 195, 80}));
}

TEST(FrameCounter, CountsTheFramesOfTheLastWholeSecond) {
    fakeSeconds = 500;
    setClockSource(fakeClock);
    shell::state.frameCount = shell::state.fpsValue = shell::state.lastSecond = 0;
    CountFrame(); // the first frame only takes the time
    EXPECT_EQ(shell::state.lastSecond, 500u);
    CountFrame();
    CountFrame();
    EXPECT_EQ(shell::state.fpsValue, 0u); // nothing shown during the first second
    fakeSeconds = 501;
    CountFrame();
    EXPECT_EQ(shell::state.fpsValue, 4u);
    EXPECT_EQ(shell::state.frameCount, 0u);
    for (int i = 0; i < 60; ++i) CountFrame();
    EXPECT_EQ(shell::state.fpsValue, 4u); // changes at most once a second
    fakeSeconds = 503;
    CountFrame();
    EXPECT_EQ(shell::state.fpsValue, 61u);
    resetClock();
}

namespace {

// DrawFrame on the real framework with a memory display and a world without players.
class FrameOnDisplay : public ShellFrame {
protected:
    void start(u32 width, u32 height) {
        useMemoryPlatform(1024, 768);
        setClockSource(fakeClock);
        shell::state.openDisplay = InitFramework("test");
        ASSERT_NE(shell::state.openDisplay, nullptr);
        ASSERT_EQ(FindMode(shell::state.gameMode, width, height, 24), 1u);
        ASSERT_EQ(SetMode(shell::state.gameMode, 0, 2, 1), 1u);
        shell::state.currentScreen = std::make_unique<ScreenInfo>();
        shell::state.currentScreen->maxX = static_cast<u16>(width - 1);
        shell::state.currentScreen->maxY = static_cast<u16>(height - 1);
        shell::state.gameMenu = std::make_unique<GameMenu>(shell::state.openDisplay);
        shell::state.gameMenu->realisticSky = 0;
        shell::state.gameMenu->inMenu = 0;
        shell::state.statusFont = loadFont("Fonts\\Char16.fnt");
        ASSERT_NE(shell::state.statusFont, nullptr);
    }
    // Black pixels of the counter's text in the top-left corner.
    int counterInk() {
        const DeviceContext& dc = *shell::state.openDisplay->drawTarget;
        int ink = 0;
        for (i32 y = 10; y < 30; ++y)
            for (i32 x = 20; x < 80; ++x) ink += readPixel(dc, x, y) == 0;
        return ink;
    }
};

} // namespace

TEST_F(FrameOnDisplay, TheCounterShowsFromTheSecondSecondOnWhileSwitchedOn) {
    start(640, 480);
    fakeSeconds = 1000;
    shell::state.showFps = 1;
    DrawFrame();
    DrawFrame();
    EXPECT_EQ(counterInk(), 0);
    fakeSeconds = 1001;
    DrawFrame();
    EXPECT_EQ(shell::state.fpsValue, 3u);
    EXPECT_GT(counterInk(), 20);
    shell::state.showFps = 0;
    DrawFrame();
    EXPECT_EQ(counterInk(), 0);
}
