#include "shell/hud.hpp"

#include "base/arithmetic.hpp"
#include "gfx/bitmap.hpp"
#include "gfx/font.hpp"
#include "gfx/primitives.hpp"
#include "gfx/text.hpp"
#include "shell/screen_info.hpp"
#include "shell/shell_state.hpp"
#include "sim/hud_readings.hpp"

#include <array>
#include <cmath>
#include <cstdio>

namespace {

// Where one layout puts its instruments. The plain layout's rows follow maxY.
struct HudLayout {
    f64 speedScale;        // pixels of speed bar per world unit per frame
    i32 speedShift;        // bar column = i - speedShift for i from 100
    i32 speedLastX;        // the bar is cut at this column
    i32 speedColourOffset; // red = i - offset
    i32 speedTop, speedBottom;
    i32 compassX, compassY, compassRadius;
    i32 shieldX, shieldStep, shieldWidth, shieldBase;
    std::array<i32, 8> shieldHeights;
};

// Seven-segment digits of the cockpit layouts: where one counter's segments go.
struct DigitLayout {
    i32 pitch;                  // the units digit stands this far right of the tens
    i32 topX, middleX, bottomX; // horizontal bars
    i32 leftX, rightX;          // vertical bars
    i32 topY, middleY, bottomY;
    i32 upperY, lowerY;
};

struct CockpitLayout {
    HudLayout hud;
    i32 nitroX, nitroY;
    i32 flagX, flagY;
    DigitLayout ammo, mines;
};

// Layout tables: one instrument per line reads best.
// clang-format off
constexpr CockpitLayout cockpit640{
    .hud = {.speedScale = 0.04, .speedShift = 8, .speedLastX = 257, .speedColourOffset = 50,
            .speedTop = 439, .speedBottom = 459,
            .compassX = 39, .compassY = 442, .compassRadius = 30,
            .shieldX = 517, .shieldStep = 13, .shieldWidth = 7, .shieldBase = 463,
            .shieldHeights = {8, 11, 15, 20, 25, 37, 48, 64}},
    .nitroX = 19, .nitroY = 365,
    .flagX = 448, .flagY = 453,
    .ammo = {.pitch = 18, .topX = 293, .middleX = 292, .bottomX = 293, .leftX = 291, .rightX = 303,
             .topY = 441, .middleY = 451, .bottomY = 463, .upperY = 442, .lowerY = 454},
    .mines = {.pitch = 18, .topX = 363, .middleX = 363, .bottomX = 363, .leftX = 361, .rightX = 373,
              .topY = 441, .middleY = 451, .bottomY = 463, .upperY = 442, .lowerY = 454},
};

constexpr CockpitLayout cockpit320{
    .hud = {.speedScale = 0.02, .speedShift = 54, .speedLastX = 129, .speedColourOffset = 30,
            .speedTop = 221, .speedBottom = 231,
            .compassX = 19, .compassY = 222, .compassRadius = 15,
            .shieldX = 259, .shieldStep = 7, .shieldWidth = 4, .shieldBase = 233,
            .shieldHeights = {4, 6, 8, 10, 13, 20, 24, 32}},
    .nitroX = 11, .nitroY = 176,
    .flagX = 226, .flagY = 228,
    .ammo = {.pitch = 11, .topX = 147, .middleX = 147, .bottomX = 147, .leftX = 145, .rightX = 152,
             .topY = 222, .middleY = 227, .bottomY = 233, .upperY = 223, .lowerY = 229},
    .mines = {.pitch = 11, .topX = 181, .middleX = 181, .bottomX = 181, .leftX = 179, .rightX = 186,
              .topY = 222, .middleY = 227, .bottomY = 233, .upperY = 223, .lowerY = 229},
};
// clang-format on

HudLayout plainLayout(i32 maxY) {
    return {.speedScale = 0.02,
            .speedShift = 60,
            .speedLastX = 129,
            .speedColourOffset = 30,
            .speedTop = maxY - 25,
            .speedBottom = maxY - 15,
            .compassX = 15,
            .compassY = maxY - 15,
            .compassRadius = 13,
            .shieldX = 259,
            .shieldStep = 7,
            .shieldWidth = 4,
            .shieldBase = maxY - 15,
            .shieldHeights = {4, 6, 8, 10, 13, 20, 24, 29}};
}

// The bar grows by speed x scale pixels from its left end; its red brightens to the right.
void drawSpeedBar(const HudLayout& l, f32 speed) {
    // Columns past the last one are not drawn, so the loop stops there.
    const f64 end = 100 + speed * l.speedScale;
    for (i32 i = 100; i < end && i - l.speedShift <= l.speedLastX; ++i) {
        setColorRGB(static_cast<u8>(i - l.speedColourOffset), 0, 0);
        const i32 x = i - l.speedShift;
        drawLine(x, l.speedTop, x, l.speedBottom);
    }
}

void drawCompass(const HudLayout& l, u16 heading) {
    const f32 a = headingRadians(heading);
    setColorRGB(0, 0, 0);
    drawLine(l.compassX, l.compassY, l.compassX + truncToInt(static_cast<f32>(l.compassRadius) * std::cos(a)),
             l.compassY - truncToInt(static_cast<f32>(l.compassRadius) * std::sin(a)));
}

// One bar per shield point, stepping right and growing taller, red toward green.
void drawShieldBars(const HudLayout& l, i16 shields) {
    for (i32 i = 0; i < shields; ++i) {
        const i32 x0 = l.shieldX + l.shieldStep * i;
        const i32 height = l.shieldHeights[i < 8 ? i : 7];
        for (i32 j = 0; j < l.shieldWidth; ++j) {
            setColorRGB(static_cast<u8>(10 * j - 27 * i - 61), static_cast<u8>(10 * j + 27 * i), 0);
            drawLine(x0 + j, l.shieldBase, x0 + j, l.shieldBase - height);
        }
    }
}

// Segment masks: which digits leave a segment out. A tens value of 10 or more is
// listed nowhere and so shows every segment but the lower left.
bool digitIn(u32 digit, std::initializer_list<u32> digits) {
    for (u32 d : digits)
        if (d == digit) return true;
    return false;
}

void drawDigit(DeviceContext& dc, const ScreenInfo& screen, const DigitLayout& l, i32 shift, u32 digit) {
    const Bitmap* h = screen.segmentHBitmap;
    const Bitmap* v = screen.segmentVBitmap;
    if (!digitIn(digit, {1, 4})) putBitmap(dc, l.topX + shift, l.topY, h, writeReplace);
    if (!digitIn(digit, {0, 1, 7})) putBitmap(dc, l.middleX + shift, l.middleY, h, writeReplace);
    if (!digitIn(digit, {1, 4, 7, 9})) putBitmap(dc, l.bottomX + shift, l.bottomY, h, writeReplace);
    if (!digitIn(digit, {1, 2, 3, 7})) putBitmap(dc, l.leftX + shift, l.upperY, v, writeReplace);
    if (!digitIn(digit, {5, 6})) putBitmap(dc, l.rightX + shift, l.upperY, v, writeReplace);
    if (digitIn(digit, {0, 2, 6, 8})) putBitmap(dc, l.leftX + shift, l.lowerY, v, writeReplace);
    if (!digitIn(digit, {2})) putBitmap(dc, l.rightX + shift, l.lowerY, v, writeReplace);
}

void drawCounter(DeviceContext& dc, const ScreenInfo& screen, const DigitLayout& l, u32 value) {
    drawDigit(dc, screen, l, 0, value / 10);
    drawDigit(dc, screen, l, l.pitch, value % 10);
}

void drawCockpitLayout(const HudReadings& r, DeviceContext& dc, const ScreenInfo& screen,
                       const CockpitLayout& l) {
    if (r.nitro) putBitmap(dc, l.nitroX, l.nitroY, screen.greenLightBitmap, writeReplace);
    drawSpeedBar(l.hud, r.speed);
    drawCompass(l.hud, r.heading);
    switch (r.flag) {
    case CarriedFlag::Foreign: putBitmap(dc, l.flagX, l.flagY, screen.greenLightBitmap, writeReplace); break;
    case CarriedFlag::Own: putBitmap(dc, l.flagX, l.flagY, screen.blueLightBitmap, writeReplace); break;
    case CarriedFlag::None: break;
    }
    drawCounter(dc, screen, l.ammo, r.ammo);
    drawCounter(dc, screen, l.mines, r.mines);
    drawShieldBars(l.hud, r.shields);
}

void drawNumber(i32 x, i32 y, u32 value) {
    char text[16];
    std::snprintf(text, sizeof text, "%u", value);
    drawText(x, y, text);
}

void drawPlainLayout(const HudReadings& r, const ScreenInfo& screen) {
    const i32 maxY = screen.maxY;
    const HudLayout l = plainLayout(maxY);

    // The panel's frame in the lower left corner.
    setColorRGB(0, 0, 0);
    drawLine(0, maxY - 47, 321, maxY - 47);
    drawLine(321, maxY - 47, 321, maxY);
    drawText(5, maxY - 41, "View");
    drawText(40, maxY - 11, "Velocity");
    drawText(135, maxY - 41, "Ammo");
    drawText(180, maxY - 11, "Mines");
    drawText(220, maxY - 41, "Flag");
    drawText(265, maxY - 11, "Shields");

    setColorRGB(255, 0, 0);
    drawNumber(149, maxY - 25, r.ammo);
    drawNumber(193, maxY - 25, r.mines);
    drawText(218, maxY - 25,
             r.flag == CarriedFlag::None      ? "none"
             : r.flag == CarriedFlag::Foreign ? "Yep!"
                                              : "Bad1");

    drawSpeedBar(l, r.speed);
    setColorRGB(0, 0, 0);
    drawLine(40, maxY - 26, 129, maxY - 26);
    drawLine(129, maxY - 26, 129, maxY - 14);
    drawLine(129, maxY - 14, 40, maxY - 14);
    drawLine(40, maxY - 14, 40, maxY - 26);

    drawCompass(l, r.heading);
    drawShieldBars(l, r.shields);

    // The aiming cross sits a little below the middle of the view: its rows are
    // those about the middle row, stretched by this much downward.
    constexpr f64 crossDrop = 1.35;
    const i32 x = screen.maxX / 2;
    const i32 y = screen.maxY / 2;
    setColorRGB(0, 0, 0);
    drawLine(x - 7, static_cast<i32>(y * crossDrop), x + 7, static_cast<i32>(y * crossDrop));
    drawLine(x, static_cast<i32>((y - 5) * crossDrop), x, static_cast<i32>((y + 5) * crossDrop));
}

} // namespace

void DrawHud(const Player& player, DeviceContext& target, const ScreenInfo& screen, u32 cockpit) {
    const HudReadings readings = hudReadings(player);
    setColorRGB(0, 0, 0);
    if (!shell::state.hudFont) shell::state.hudFont = loadFont("Fonts\\Char16bi.fnt");
    useFont(shell::state.hudFont.get());
    if (cockpit) {
        if (screen.cockpitRuns && screen.cockpitRuns->bitmap == screen.cockpitBitmap)
            putOpaqueRuns(target, 0, 0, *screen.cockpitRuns);
        else
            putBitmapTransparent(target, 0, 0, screen.cockpitBitmap, cockpitWhite, 1);
    }

    if (cockpit && screen.size == ScreenSize::Size640x480)
        drawCockpitLayout(readings, target, screen, cockpit640);
    else if (cockpit && screen.size == ScreenSize::Size320x240)
        drawCockpitLayout(readings, target, screen, cockpit320);
    else
        drawPlainLayout(readings, screen);
}

void resetHud() {
    shell::state.hudFont.reset();
}
