// Tries the display on a real screen: opens the game's window, shows a moving test
// pattern and prints the scan code of every key. Esc ends it; Alt+Enter switches
// between the window and full screen.
//
//     display_demo [--fullscreen] [--size 320x240|640x480|...] [--passes N]
#include "framework/framework.hpp"
#include "framework/sdl_platform.hpp"
#include "gfx/gfx_error.hpp"
#include "gfx/primitives.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

u32 pass = 0;         // main-loop passes so far
u32 passLimit = 0;    // end after this many passes; 0 for no limit
ModeEntry demoMode{}; // the mode shown
u32 demoWindowed = 1; // shown in a window

// Eight colour bars, a frame around the edge and a square that travels along the
// diagonal, so scaling, clipping and pacing can all be seen.
void drawPattern() {
    const DeviceContext& dc = *framework::state.frameworkDisplay.drawTarget;
    const i32 width = getMaxX(dc) + 1;
    const i32 height = getMaxY(dc) + 1;
    static constexpr u8 bars[8][3] = {{255, 255, 255}, {255, 255, 0}, {0, 255, 255}, {0, 255, 0},
                                      {255, 0, 255},   {255, 0, 0},   {0, 0, 255},   {0, 0, 0}};
    for (i32 x = 0; x < width; ++x) {
        const u8* c = bars[x * 8 / width];
        setColorRGB(c[0], c[1], c[2]);
        drawLine(x, 0, x, height * 2 / 3 - 1);
    }
    for (i32 y = height * 2 / 3; y < height; ++y) {
        const u8 grey = static_cast<u8>(255 * (y - height * 2 / 3) / (height - height * 2 / 3));
        setColorRGB(grey, grey, grey);
        drawLine(0, y, width - 1, y);
    }
    setColorRGB(255, 128, 0);
    drawLine(0, 0, width - 1, 0);
    drawLine(0, height - 1, width - 1, height - 1);
    drawLine(0, 0, 0, height - 1);
    drawLine(width - 1, 0, width - 1, height - 1);

    const i32 side = height / 6;
    const i32 travel = static_cast<i32>(pass % 240);
    const i32 left = travel * (width - side) / 240;
    const i32 top = travel * (height - side) / 240;
    setColorRGB(20, 20, 20);
    for (i32 y = top; y < top + side; ++y) drawLine(left, y, left + side - 1, y);
}

void onFrame() {
    ++pass;
    drawPattern();
    SwapBuffers(2);
    if (passLimit && pass >= passLimit) RequestQuit();
}

void onKeyDown(Event* e) {
    const u32 character = e->code & 0xFF;
    std::printf("key down: scan %u", e->code >> 8 & 0xFF);
    if (character >= 32 && character < 127) std::printf(" '%c'", static_cast<char>(character));
    std::printf("%s\n", e->modifiers & modAlt ? " with Alt" : "");
    std::fflush(stdout);
    // The event's own scan code: a quick tap may already be released by the time
    // the key table is read.
    if ((e->code >> 8 & 0xFF) == scanEsc) RequestQuit();
}

void onKeyUp(Event* e) {
    std::printf("key up: scan %u\n", e->code >> 8 & 0xFF);
    std::fflush(stdout);
}

void onModeSwitched(const ModeEntry& mode, u32 windowed) {
    std::printf("switched to %ux%u %s\n", mode.width, mode.height, windowed ? "in a window" : "full screen");
    std::fflush(stdout);
}

u32 onSuspend(DeviceContext*, u32 state) {
    std::printf("display %s\n", state == 1 ? "taken away" : "given back");
    std::fflush(stdout);
    return 1;
}

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: display_demo [--fullscreen] [--size WxH] [--passes N]\n");
    std::exit(2);
}

} // namespace

int main(int argc, char** argv) {
    u32 width = 320;
    u32 height = 240;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--fullscreen") == 0) {
            demoWindowed = 0;
        } else if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%ux%u", &width, &height) != 2) usage();
        } else if (std::strcmp(argv[i], "--passes") == 0 && i + 1 < argc) {
            passLimit = static_cast<u32>(std::strtoul(argv[++i], nullptr, 10));
        } else {
            usage();
        }
    }

    selectPlatform(std::make_unique<SdlPlatform>());
    SetDriverOptions({1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 15});
    if (!InitFramework("Tessaron 3d display demo")) FatalError(ErrorMessage(LastError()));
    if (!FindMode(demoMode, width, height, 24)) FatalError("No such mode at 24 bits per pixel");
    SetFrameCallback(onFrame);
    SetKeyDownCallback(onKeyDown);
    SetKeyUpCallback(onKeyUp);
    SetSuspendCallback(onSuspend);
    SetModeSwitchCallback(onModeSwitched);
    if (!SetMode(demoMode, demoWindowed, 2, 1)) FatalError("The mode cannot be set");
    std::printf("showing %ux%u %s on a %ux%u desktop; Esc ends, Alt+Enter switches\n", width, height,
                demoWindowed ? "in a window" : "full screen", framework::state.displayHardware.desktopWidth,
                framework::state.displayHardware.desktopHeight);
    std::fflush(stdout);
    return MainLoop();
}
