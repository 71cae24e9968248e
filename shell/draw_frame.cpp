#include "shell/draw_frame.hpp"

#include "base/clock.hpp"
#include "base/program_exit.hpp"
#include "framework/display.hpp"
#include "gfx/bitmap.hpp"
#include "gfx/font.hpp"
#include "gfx/primitives.hpp"
#include "gfx/text.hpp"
#include "render/scene.hpp"
#include "shell/demo.hpp"
#include "shell/game_menu.hpp"
#include "shell/shell_state.hpp"
#include "shell/hud.hpp"
#include "sim/match_state.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

#include <cstdio>
#include <cstdlib>

namespace {

// A full-width row of the current colour.
void drawRow(i32 y) { drawLine(0, y, shell::state.currentScreen->maxX + 1, y); }

// 1 at 640x480, 2 at 320x240: the bands are laid out for 480 rows.
i32 screenScale() { return shell::state.currentScreen->maxX == 639 ? 1 : 2; }

void drawGround() {
    const i32 s = screenScale();
    // Far ground: dark green near the bottom, brightening toward the horizon.
    for (i32 y = 480 / s; y >= 360 / s; --y) {
        const i32 r = (480 / s - y) * s;
        const i32 g = static_cast<i32>(y * 0.125 + (s == 1 ? 127 : 170));
        setColorRGB(static_cast<u8>(r), static_cast<u8>(g), static_cast<u8>(r));
        drawRow(y);
    }
    // Near the horizon the ground fades into the fog colour (240, 240, 240).
    for (i32 y = 360 / s; y >= 320 / s; --y) {
        const i32 r = static_cast<i32>(s == 1 ? 1216 - 3.05 * y : 1216 - 6.1 * y);
        const i32 g = static_cast<i32>(s == 1 ? 784 - 1.7 * y : 624 - 2.4 * y);
        setColorRGB(static_cast<u8>(r), static_cast<u8>(g), static_cast<u8>(r));
        drawRow(y);
    }
}

void drawSky() {
    GameMenu& m = *shell::state.gameMenu;
    if (m.realisticSky) {
        // The sky slides 2 pixels left per frame and wraps after one screen width.
        putBitmap(*shell::state.openDisplay->drawTarget, m.skyScroll, 0, m.skyBitmap, writeReplace);
        if (std::abs(m.skyScroll) == shell::state.currentScreen->maxX + 1) m.skyScroll = 0;
        m.skyScroll -= 2;
        return;
    }
    const i32 s = screenScale();
    setColorRGB(240, 240, 240);
    for (i32 y = (shell::state.currentScreen->maxX + 1) / 2; y >= 240 / s + 1; --y) drawRow(y);
    // Deep blue at the top, fading to the fog colour; at 320x240 each row keeps
    // the colour of the smaller v.
    for (i32 v = 240; v >= 0; --v) {
        setColorRGB(static_cast<u8>(v), static_cast<u8>(v), 240);
        drawRow(v / s);
    }
}

void drawFrameRate() {
    setColorRGB(0, 0, 0);
    useFont(shell::state.statusFont.get());
    if (shell::state.fpsValue != 0 && shell::state.showFps == 1) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%u", shell::state.fpsValue);
        drawText(20, 10, "FPS:");
        drawText(50, 10, digits);
    }
}

// The winner's congratulations over the last view of the match, placed from (0, 0)
// at 320x240 and 165 pixels right and down at 640x480.
void drawWinnerScreen() {
    const i32 o = shell::state.currentScreen->maxX == 639 ? 165 : 0;

    shell::state.winnerFonts.title = loadFont("Fonts\\Lucs27bi.fnt");
    useFont(shell::state.winnerFonts.title.get());
    setColorRGB(255, 0, 0);
    drawText(o + 30, o + 30, "We have a Winner!");
    drawText(o + 35, o + 80, " Congratulations");
    setColorRGB(255, 255, 255);
    drawText(o + 28, o + 28, "We have a Winner!");
    drawText(o + 33, o + 78, " Congratulations");

    shell::state.winnerFonts.name = loadFont("Fonts\\Lucs40bi.fnt");
    useFont(shell::state.winnerFonts.name.get());
    const char* const names[] = {"Player 1", "Player 2", "Player 3"};
    if (winner >= 0 && winner <= 2) {
        setColorRGB(255, 255, 255);
        drawText(o + 77, o + 112, names[winner]);
        setColorRGB(0, 0, 0);
        drawText(o + 75, o + 110, names[winner]);
    }

    shell::state.winnerFonts.footer = loadFont("Fonts\\Char16bi.fnt");
    useFont(shell::state.winnerFonts.footer.get());
    const char* footer = "Hope you enjoyed the game! See you next time!";
    // A black outline: the text at the eight neighbouring positions, then white on top.
    const i32 outline[8][2] = {{6, 175}, {8, 175}, {7, 174}, {7, 176},
                               {6, 174}, {8, 174}, {6, 176}, {8, 176}};
    setColorRGB(0, 0, 0);
    for (const auto& at : outline) drawText(o + at[0], o + at[1], footer);
    setColorRGB(255, 255, 255);
    drawText(o + 7, o + 175, footer);
}

// Ten seconds of the winner screen, then the end of the program (a timed demo
// ends at once).
[[noreturn]] void endAfterWinner() {
    if (!winnerWaitSkipped()) {
        const u32 start = wholeSeconds();
        while (wholeSeconds() < start + 10) sleepMilliseconds(100);
    }
    exitProgram(endDemo(0));
}

} // namespace

void DrawBackground() {
    setBackColor(16777215);
    clearDevice();
    drawGround();
    drawSky();
}

void CountFrame() {
    ++shell::state.frameCount;
    const u32 now = wholeSeconds();
    if (shell::state.lastSecond == 0) {
        shell::state.lastSecond = now;
    } else if (now - shell::state.lastSecond >= 1) {
        shell::state.lastSecond = now;
        shell::state.fpsValue = shell::state.frameCount;
        shell::state.frameCount = 0;
    }
}

void DrawFrame() {
    setColorIndex(0);

    const bool hasView = world::state.playerCount > 0 && world::state.players[0]->camera;
    Scene scene;
    beginPixelAccess();
    if (hasView)
        scene = buildScene(world::state.worldGrid, *world::state.players[0]->camera, shell::state.currentScreen->maxX, shell::state.currentScreen->maxY, world::state.playerColours);
    endPixelAccess();

    DrawBackground();
    drawScene(scene, shell::state.gameMenu->renderToggle);
    if (hasView && world::state.players[0]->isComputer() == 0)
        DrawHud(*world::state.players[0], *shell::state.openDisplay->drawTarget, *shell::state.currentScreen, shell::state.gameMenu->cockpit);
    freeScene(scene);

    CountFrame();
    drawFrameRate();
    if (winner != -1) drawWinnerScreen();
    SwapBuffers(shell::state.frameSwapWait);
    if (winner != -1) endAfterWinner();
}
