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
u32 fakeClock() {
    return fakeSeconds;
}

} // namespace

// Every pixel of the bands and skies is checked against the line-by-line drawing
// in composition_oracle_test; here, that DrawBackground hands it the screen's size
// and the menu's sky: a few pixels of the ground, the fog line and the plain sky.
TEST_F(Background, PlainSkyAndGroundBandsFollowTheScreenSize) {
    const struct {
        i32 width, height, x, y;
        Rgb colour;
    } probes[] = {
        {640, 480, 0, 479, {1, 186, 1}},      {640, 480, 639, 400, {80, 177, 80}},
        {640, 480, 10, 340, {179, 206, 179}}, {640, 480, 5, 100, {100, 100, 240}},
        {640, 480, 5, 0, {0, 0, 240}},        {640, 480, 5, 300, {240, 240, 240}},
        {320, 240, 0, 239, {2, 199, 2}},      {320, 240, 100, 170, {179, 216, 179}},
        {320, 240, 5, 50, {100, 100, 240}},   {320, 240, 319, 160, {240, 240, 240}},
    };
    for (const auto& p : probes) {
        makeFrame(p.width, p.height);
        shell::state.gameMenu->realisticSky = 0;
        DrawBackground();
        EXPECT_EQ(pixel(p.x, p.y), p.colour) << p.width << ": " << p.x << ", " << p.y;
    }
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
        makeScreen(static_cast<i32>(width), static_cast<i32>(height));
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
