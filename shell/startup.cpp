#include "shell/startup.hpp"

#include "framework/display.hpp"
#include "framework/main_loop.hpp"
#include "framework/sound.hpp"
#include "gfx/font.hpp"
#include "gfx/gfx_error.hpp"
#include "base/program_exit.hpp"
#include "shell/command_line.hpp"
#include "shell/demo.hpp"
#include "shell/game_menu.hpp"
#include "shell/key_bindings.hpp"
#include "shell/screen_resources.hpp"
#include "shell/sound_bank.hpp"
#include "shell/shell_state.hpp"
#include "world/texture.hpp"

#include <cstdio>
#include <string>

u32 OnSuspend(DeviceContext* /*display*/, u32 /*state*/) { return 1; }

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

    // Until a match starts only a key press changes the screen.
    SetKeyDownCallback(OnKeyDown);
    SetSuspendCallback(OnSuspend);

    // The menu always runs in a 640x480 window.
    FindMode(shell::state.gameMode, 640, 480, 16);
    if (!SetMode(shell::state.gameMode, 1, 2, 1))
        FatalError("ups, sorry buddy, but I think we got some problems with ya video mode...");

    shell::state.gameMenu = std::make_unique<GameMenu>(shell::state.openDisplay);
    LoadScreenResources();
    // A demo to play skips the menu.
    if (!demoPlaying()) DrawMenu();
    shell::state.statusFont = loadFont("Fonts\\Char16.fnt");
    if (demoPlaying()) startDemoMatch();
    const int code = MainLoop();
    return demoActive() ? endDemo(code) : code;
}
