#include "shell/draw_frame.hpp"

#include "base/clock.hpp"
#include "base/program_exit.hpp"
#include "framework/display.hpp"
#include "gfx/bitmap.hpp"
#include "gfx/font.hpp"
#include "gfx/primitives.hpp"
#include "gfx/text.hpp"
#include "render/scene.hpp"
#include "shell/background.hpp"
#include "shell/demo.hpp"
#include "shell/game_menu.hpp"
#include "shell/hud.hpp"
#include "shell/screen_info.hpp"
#include "shell/shell_state.hpp"
#include "sim/match_state.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

#include <cstdio>
#include <cstdlib>

namespace {

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
    const i32 o = shell::state.currentScreen->size == ScreenSize::Size640x480 ? 165 : 0;

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
    if (sim::match.winner >= 0 && sim::match.winner <= 2) {
        setColorRGB(255, 255, 255);
        drawText(o + 77, o + 112, names[sim::match.winner]);
        setColorRGB(0, 0, 0);
        drawText(o + 75, o + 110, names[sim::match.winner]);
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
    GameMenu& m = *shell::state.gameMenu;
    const i32 maxX = shell::state.currentScreen->maxX;
    paintBackground(*shell::state.openDisplay->drawTarget, maxX, m.realisticSky != 0, m.skyBitmap,
                    m.skyScroll);
    if (m.realisticSky) {
        // The sky slides 2 pixels left per frame and wraps after one screen width.
        if (std::abs(m.skyScroll) == maxX + 1) m.skyScroll = 0;
        m.skyScroll -= 2;
    }
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
    Scene& scene = shell::state.frameScene;
    beginPixelAccess();
    if (hasView)
        buildScene(scene, world::state.worldGrid, *world::state.players[0]->camera,
                   shell::state.currentScreen->maxX, shell::state.currentScreen->maxY,
                   world::state.playerColours);
    endPixelAccess();

    DrawBackground();
    drawScene(scene, shell::state.gameMenu->renderToggle);
    if (hasView && world::state.players[0]->isComputer() == 0)
        DrawHud(*world::state.players[0], *shell::state.openDisplay->drawTarget, *shell::state.currentScreen,
                shell::state.gameMenu->cockpit);
    freeScene(scene);

    CountFrame();
    drawFrameRate();
    if (sim::match.winner != -1) drawWinnerScreen();
    SwapBuffers(shell::state.frameSwapWait);
    if (sim::match.winner != -1) endAfterWinner();
}
