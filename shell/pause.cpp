#include "shell/pause.hpp"

#include "base/clock.hpp"
#include "framework/display.hpp"
#include "framework/main_loop.hpp"
#include "framework/sound.hpp"
#include "gfx/device_context.hpp"
#include "gfx/font.hpp"
#include "gfx/primitives.hpp"
#include "gfx/text.hpp"
#include "shell/demo.hpp"
#include "shell/draw_frame.hpp"
#include "shell/game_menu.hpp"
#include "shell/match_sound.hpp"
#include "shell/shell_state.hpp"
#include "sim/match_state.hpp"
#include "sim/update_frame.hpp"

#include <cstring>
#include <vector>

namespace {

constexpr const char* pausedText = "PAUSED";

i32 heightOf(const DeviceContext& dc) {
    return dc.deviceRect.bottom - dc.deviceRect.top;
}

void keepFrame() {
    const DeviceContext& dc = *shell::state.openDisplay->drawTarget;
    shell::state.pause.frameBytesPerLine = dc.bytesPerLine;
    shell::state.pause.frameHeight = heightOf(dc);
    shell::state.pause.frame.assign(dc.surface, dc.surface + static_cast<size_t>(dc.bytesPerLine) *
                                                                 shell::state.pause.frameHeight);
}

// The kept frame with "PAUSED" in its middle, shown.
void showPausedFrame() {
    FrameworkDisplay* display = shell::state.openDisplay;
    if (!display || !display->drawTarget || !display->drawTarget->surface) return;
    DeviceContext& dc = *display->drawTarget;
    // A new mode of another size cannot take the old rows; it shows the word alone.
    if (dc.bytesPerLine == shell::state.pause.frameBytesPerLine &&
        heightOf(dc) == shell::state.pause.frameHeight)
        std::memcpy(dc.surface, shell::state.pause.frame.data(), shell::state.pause.frame.size());
    std::unique_ptr<Font>& font = shell::state.menuFont;
    if (!font) font = loadFont("Fonts\\Char30b.fnt");
    useFont(font.get());
    const i32 x = (shell::state.currentScreen->maxX + 1 - textWidth(pausedText)) / 2;
    const i32 y = (shell::state.currentScreen->maxY + 1) / 2 - 15;
    // A black shadow keeps the word readable over sky and ground alike.
    setColorRGB(0, 0, 0);
    drawText(x + 2, y + 2, pausedText);
    setColorRGB(255, 255, 255);
    drawText(x, y, pausedText);
    SwapBuffers(2);
}

} // namespace

void setMatchSteps(bool running) {
    const bool demo = demoActive();
    SetDrawCallback(!running ? nullptr : demo ? DemoDrawFrame : DrawFrame);
    // With sound each step also moves the engines; a stopped match falls still.
    if (!running) silenceEngines();
    SetFrameCallback(!running         ? nullptr
                     : SoundStarted() ? SoundingUpdateFrame
                     : demo           ? DemoUpdateFrame
                                      : UpdateFrame);
}

bool matchPaused() {
    return shell::state.pause.paused;
}

void pauseMatch() {
    if (shell::state.pause.paused || !shell::state.gameMenu || shell::state.gameMenu->inMenu == 1 ||
        sim::match.winner != -1 || demoTimed())
        return;
    shell::state.pause.paused = true;
    shell::state.pause.pausedAt = wholeSeconds();
    setMatchSteps(false);
    keepFrame();
    showPausedFrame();
}

void resumeMatch() {
    if (!shell::state.pause.paused) return;
    shell::state.pause.paused = false;
    const u32 now = wholeSeconds();
    if (now > shell::state.pause.pausedAt)
        shell::state.pause.pausedSeconds += now - shell::state.pause.pausedAt;
    // The frame counter starts its second anew rather than count the pause in.
    shell::state.frameCount = 0;
    shell::state.lastSecond = 0;
    setMatchSteps(true);
}

void togglePause() {
    if (shell::state.pause.paused)
        resumeMatch();
    else
        pauseMatch();
}

void redrawPaused() {
    if (shell::state.pause.paused) showPausedFrame();
}

u32 playedSeconds() {
    return wholeSeconds() - shell::state.pause.pausedSeconds;
}

void resetPause() {
    shell::state.pause = PauseState{};
}
