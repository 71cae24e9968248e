#include "shell/pause.hpp"

#include "base/clock.hpp"
#include "framework/display.hpp"
#include "framework/main_loop.hpp"
#include "gfx/device_context.hpp"
#include "gfx/font.hpp"
#include "gfx/primitives.hpp"
#include "gfx/text.hpp"
#include "shell/demo.hpp"
#include "shell/draw_frame.hpp"
#include "shell/game_menu.hpp"
#include "shell/shell_state.hpp"
#include "sim/match_state.hpp"
#include "sim/update_frame.hpp"

#include <cstring>
#include <vector>

namespace {

// The pause of this run. One record, reset by resetPause().
struct PauseState {
    bool paused = false;
    u32 pausedAt = 0;     // whole seconds of the calendar when the pause began
    u32 pausedSeconds = 0; // whole seconds of every pause so far, left out of the match clock
    // The frame on show when the pause began (the draw target's rows), drawn again
    // under "PAUSED" whenever the paused frame must be shown anew.
    std::vector<u8> frame;
    i32 frameBytesPerLine = 0;
    i32 frameHeight = 0;
};

PauseState pausing;

constexpr const char* pausedText = "PAUSED";

i32 heightOf(const DeviceContext& dc) { return dc.deviceRect.bottom - dc.deviceRect.top; }

void keepFrame() {
    const DeviceContext& dc = *display->drawTarget;
    pausing.frameBytesPerLine = dc.bytesPerLine;
    pausing.frameHeight = heightOf(dc);
    pausing.frame.assign(dc.surface, dc.surface + static_cast<size_t>(dc.bytesPerLine) * pausing.frameHeight);
}

// The kept frame with "PAUSED" in its middle, shown.
void showPausedFrame() {
    if (!display || !display->drawTarget || !display->drawTarget->surface) return;
    DeviceContext& dc = *display->drawTarget;
    // A new mode of another size cannot take the old rows; it shows the word alone.
    if (dc.bytesPerLine == pausing.frameBytesPerLine && heightOf(dc) == pausing.frameHeight)
        std::memcpy(dc.surface, pausing.frame.data(), pausing.frame.size());
    if (!menuFont) menuFont = loadFont("Fonts\\Char30b.fnt");
    useFont(menuFont.get());
    const i32 x = (screen->maxX + 1 - textWidth(pausedText)) / 2;
    const i32 y = (screen->maxY + 1) / 2 - 15;
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
    SetFrameCallback(!running ? nullptr : demo ? DemoUpdateFrame : UpdateFrame);
}

bool matchPaused() { return pausing.paused; }

void pauseMatch() {
    if (pausing.paused || !menu || menu->inMenu == 1 || winner != -1 || demoTimed()) return;
    pausing.paused = true;
    pausing.pausedAt = wholeSeconds();
    setMatchSteps(false);
    keepFrame();
    showPausedFrame();
}

void resumeMatch() {
    if (!pausing.paused) return;
    pausing.paused = false;
    const u32 now = wholeSeconds();
    if (now > pausing.pausedAt) pausing.pausedSeconds += now - pausing.pausedAt;
    // The frame counter starts its second anew rather than count the pause in.
    frameCount = 0;
    lastSecond = 0;
    setMatchSteps(true);
}

void togglePause() {
    if (pausing.paused)
        resumeMatch();
    else
        pauseMatch();
}

void redrawPaused() {
    if (pausing.paused) showPausedFrame();
}

u32 playedSeconds() { return wholeSeconds() - pausing.pausedSeconds; }

void resetPause() { pausing = PauseState{}; }
