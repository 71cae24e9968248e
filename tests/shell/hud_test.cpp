// The HUD's instruments at their places and in their colours.
#include "shell_test_support.hpp"

#include "gfx/bitmap.hpp"
#include "shell/hud.hpp"
#include "shell/screen_info.hpp"
#include "shell/shell_state.hpp"
#include "world/camera.hpp"
#include "world/player.hpp"
#include "world/world_object.hpp"

namespace {

constexpr Rgb white{255, 255, 255};
constexpr Rgb black{0, 0, 0};
constexpr Rgb barH{1, 2, 3};    // the horizontal segment bitmap's colour
constexpr Rgb barV{4, 5, 6};    // the vertical one's
constexpr Rgb green{0, 200, 0}; // the green lamp
constexpr Rgb blue{0, 0, 200};  // the blue lamp

Bitmap solidBitmap(i32 width, i32 height, Rgb colour) {
    Bitmap bitmap = makeBitmap(width, height, 24);
    for (i32 y = 0; y < height; ++y)
        for (i32 x = 0; x < width; ++x) {
            u8* p = bitmap.row(y) + 3 * x;
            p[0] = colour.b;
            p[1] = colour.g;
            p[2] = colour.r;
        }
    return bitmap;
}

class Hud : public ShellFrame {
  protected:
    void SetUp() override {
        ShellFrame::SetUp();
        human.camera = std::make_unique<Camera>(playerEye(100000, 100000));
        car.owner = 1;
        human.vehicle = &car;
    }

    // A frame of that size filled white, with the test's segment and lamp bitmaps.
    void frameOf(i32 width, i32 height) {
        makeFrame(width, height);
        fill(white);
        shell::state.currentScreen->segmentHBitmap = &segmentH;
        shell::state.currentScreen->segmentVBitmap = &segmentV;
        shell::state.currentScreen->greenLightBitmap = &greenLight;
        shell::state.currentScreen->blueLightBitmap = &blueLight;
    }
    void draw(u32 cockpit) { DrawHud(human, *frame, *shell::state.currentScreen, cockpit); }

    struct Probe {
        i32 x, y;
        Rgb colour;
    };
    void expectPixels(std::initializer_list<Probe> probes) const {
        for (const Probe& p : probes) EXPECT_EQ(pixel(p.x, p.y), p.colour) << p.x << ", " << p.y;
    }

    HumanPlayer human{2, 0xFF0000};
    WorldObject car;
    Bitmap segmentH = solidBitmap(10, 2, barH);
    Bitmap segmentV = solidBitmap(2, 9, barV);
    Bitmap greenLight = solidBitmap(16, 16, green);
    Bitmap blueLight = solidBitmap(16, 16, blue);
};

} // namespace

TEST_F(Hud, PlainLayoutSpeedBarCompassShieldsAndCross) {
    frameOf(320, 240);
    human.velocityX = 600; // speed 1000: a bar of 20 columns
    human.velocityY = 800;
    human.shields = 3;
    draw(0);
    const i32 maxY = 239;
    expectPixels({
        // Bar columns x = i - 60 for i = 100..119 in red i - 30; its black frame around it.
        {41, maxY - 20, {71, 0, 0}},
        {59, maxY - 20, {89, 0, 0}},
        {60, maxY - 20, white},
        {40, maxY - 20, black},
        {129, maxY - 20, black},
        // Compass at heading 16384: straight up from (15, maxY - 15), 13 long.
        {15, maxY - 28, black},
        {15, maxY - 22, black},
        // Shield bars: point i at x 259 + 7i, 4 wide, from the base up by 4, 6, 8, ...
        {259, maxY - 15, {195, 0, 0}},
        {276, maxY - 16, {171, 84, 0}},
        {273, maxY - 15 - 8, {141, 54, 0}},
        {273, maxY - 15 - 9, white},
        {280, maxY - 15, white}, // no fourth bar
        // The panel frame.
        {321, maxY - 30, black},
        {200, maxY - 47, black},
        // The aiming cross: X = 159, Y = 119, the bar at row trunc(119 x 1.35) = 160,
        // the upright from trunc(114 x 1.35) = 153 to trunc(124 x 1.35) = 167.
        {152, 160, black},
        {166, 160, black},
        {167, 160, white},
        {159, 153, black},
        {159, 167, black},
        {159, 168, white},
        {159, 152, white},
    });
}

TEST_F(Hud, NoSpeedNoShieldsDrawNoBars) {
    frameOf(640, 480);
    human.shields = 0;
    draw(0); // 640x480 without the cockpit: the plain layout against the bottom
    EXPECT_EQ(pixel(41, 479 - 20), white);
    EXPECT_EQ(pixel(259, 479 - 15), white);
    EXPECT_EQ(pixel(40, 479 - 20), black);
}

TEST_F(Hud, Cockpit640SpeedBarIsCutAtItsLastColumn) {
    frameOf(640, 480);
    human.velocityX = 5000;
    draw(1);
    // i from 100 while i < 100 + 5000 x 0.04 = 300, column i - 8 up to 257, red i - 50.
    EXPECT_EQ(pixel(92, 449), (Rgb{50, 0, 0}));
    EXPECT_EQ(pixel(257, 449), (Rgb{215, 0, 0}));
    EXPECT_EQ(pixel(258, 449), white);
    // The compass in the cockpit: centre (39, 442), radius 30.
    EXPECT_EQ(pixel(39, 412), black);
}

TEST_F(Hud, Cockpit640SevenSegmentDigits) {
    frameOf(640, 480);
    human.ammo = 7;
    human.mines = 123; // tens 12: every segment but the lower left
    draw(1);
    expectPixels({
        // Ammo tens 0 at x 291..: top, bottom and four verticals but no middle.
        {293, 441, barH},
        {292, 451, white},
        {293, 463, barH},
        {291, 442, barV},
        {303, 442, barV},
        {291, 454, barV},
        {303, 454, barV},
        // Ammo units 7, 18 to the right: top, upper right and lower right only.
        {311, 441, barH},
        {310, 451, white},
        {311, 463, white},
        {309, 442, white},
        {321, 442, barV},
        {309, 454, white},
        {321, 454, barV},
        // Mines tens 12 at x 361..: all but the lower left.
        {363, 441, barH},
        {363, 451, barH},
        {363, 463, barH},
        {361, 442, barV},
        {361, 454, white},
        // Mines units 3: no left verticals.
        {379, 442, white},
        {391, 442, barV},
        {381, 451, barH},
    });
}

TEST_F(Hud, LampsShowNitroAndWhoseFlagIsCarried) {
    WorldObject foreignFlag, ownFlag;
    foreignFlag.owner = 2;
    ownFlag.owner = 1;

    frameOf(640, 480);
    human.nitro = 1;
    human.carriedFlag = &foreignFlag;
    draw(1);
    EXPECT_EQ(pixel(19, 365), green);
    EXPECT_EQ(pixel(448, 453), green);

    frameOf(320, 240);
    human.nitro = 0;
    human.carriedFlag = &ownFlag;
    draw(1);
    EXPECT_EQ(pixel(11, 176), white); // no nitro, no lamp
    EXPECT_EQ(pixel(226, 228), blue);
}

TEST_F(Hud, Cockpit320ShieldBars) {
    frameOf(320, 240);
    human.shields = 8;
    draw(1);
    // Point 7 at x 259 + 49, 32 high from y 233, colour (10j - 27*7 - 61, 10j + 189).
    EXPECT_EQ(pixel(308, 233), (Rgb{6, 189, 0}));
    EXPECT_EQ(pixel(311, 233 - 32), (Rgb{36, 219, 0}));
    EXPECT_EQ(pixel(311, 233 - 33), white);
}

TEST_F(Hud, TheCockpitBitmapLeavesItsWhiteOut) {
    frameOf(320, 240);
    fill(Rgb{9, 9, 9});
    Bitmap cockpitPicture = solidBitmap(320, 240, white);
    for (i32 x = 0; x < 320; ++x) { // a dark band along the bottom row
        u8* p = cockpitPicture.row(239) + 3 * x;
        p[0] = p[1] = p[2] = 20;
    }
    shell::state.currentScreen->cockpitBitmap = &cockpitPicture;
    draw(1);
    EXPECT_EQ(pixel(160, 100), (Rgb{9, 9, 9}));
    EXPECT_EQ(pixel(300, 239), (Rgb{20, 20, 20}));
}
