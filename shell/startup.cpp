#include "shell/startup.hpp"

#include "base/program_exit.hpp"
#include "framework/display.hpp"
#include "framework/main_loop.hpp"
#include "framework/sound.hpp"
#include "gfx/bitmap.hpp"
#include "gfx/font.hpp"
#include "gfx/gfx_error.hpp"
#include "shell/command_line.hpp"
#include "shell/demo.hpp"
#include "shell/game_menu.hpp"
#include "shell/key_bindings.hpp"
#include "shell/pause.hpp"
#include "shell/screen_resources.hpp"
#include "shell/settings.hpp"
#include "shell/shell_state.hpp"
#include "shell/sound_bank.hpp"
#include "world/texture.hpp"

#include <cstdio>
#include <string>

u32 OnSuspend(DeviceContext* /*display*/, u32 state) {
    // The match stands paused while the display is away, and shows so when it is back.
    if (state == 1)
        pauseMatch();
    else
        redrawPaused();
    return 1;
}

int GameMain(int argc, char** argv) {
    loadTextures();

    shell::state.gameDriverOptions = defaultGameDriverOptions;
    applyCommandLine(argc, argv, shell::state.gameDriverOptions);
    std::string error;
    const DemoRequest demo = demoRequestOf(argc, argv, error);
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        exitProgram(1);
    }
    // A bad demo ends the program before any window opens.
    prepareDemo(demo);
    SetDriverOptions(shell::state.gameDriverOptions);

    shell::state.openDisplay = InitFramework("Tessaron 3d");
    if (!shell::state.openDisplay) FatalError(ErrorMessage(LastError()));
    // Sound unless the command line says no; a timed demo measures the drawing,
    // silently. Without a device the game plays on without it.
    if (soundAllowed(argc, argv) && demo.mode != DemoMode::Time && StartSound()) LoadSoundBank();
    // The window shows the game's icon; without the file it shows the desktop's own.
    SetWindowIcon(loadBitmap("Bitmaps\\icon.bmp", 0).get());

    // Until a match starts only a key press changes the screen.
    SetKeyDownCallback(OnKeyDown);
    SetSuspendCallback(OnSuspend);

    // The menu always runs in a 640x480 window.
    FindMode(shell::state.gameMode, 640, 480, 16);
    if (!SetMode(shell::state.gameMode, 1, 2, 1))
        FatalError("ups, sorry buddy, but I think we got some problems with ya video mode...");

    shell::state.gameMenu = std::make_unique<GameMenu>(shell::state.openDisplay);
    // The choices of the last run; a demo to play sets its own when its match starts.
    loadSettings(*shell::state.gameMenu);
    LoadScreenResources();
    // A demo to play skips the menu.
    if (!demoPlaying()) DrawMenu();
    shell::state.statusFont = loadFont("Fonts\\Char16.fnt");
    if (demoPlaying()) startDemoMatch();
    const int code = MainLoop();
    // A played demo's settings are the demo's, not the player's: they are not kept.
    if (!demoPlaying()) saveSettings(*shell::state.gameMenu);
    return demoActive() ? endDemo(code) : code;
}
