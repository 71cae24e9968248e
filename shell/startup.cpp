#include "shell/startup.hpp"

#include "framework/display.hpp"
#include "framework/main_loop.hpp"
#include "gfx/font.hpp"
#include "gfx/gfx_error.hpp"
#include "shell/command_line.hpp"
#include "shell/game_menu.hpp"
#include "shell/key_bindings.hpp"
#include "shell/screen_resources.hpp"
#include "shell/shell_state.hpp"
#include "world/texture.hpp"

u32 OnSuspend(DeviceContext* /*display*/, u32 /*state*/) { return 1; }

int GameMain(int argc, char** argv) {
    loadTextures();

    gameDriverOptions = defaultGameDriverOptions;
    applyCommandLine(argc, argv, gameDriverOptions);
    SetDriverOptions(gameDriverOptions);

    display = InitFramework("Tessaron 3d");
    if (!display) FatalError(ErrorMessage(LastError()));

    // Until a match starts only a key press changes the screen.
    SetKeyDownCallback(OnKeyDown);
    SetSuspendCallback(OnSuspend);

    // The menu always runs in a 640x480 window.
    FindMode(gameMode, 640, 480, 16);
    if (!SetMode(gameMode, 1, 2, 1))
        FatalError("ups, sorry buddy, but I think we got some problems with ya video mode...");

    menu = std::make_unique<GameMenu>(display);
    LoadScreenResources();
    DrawMenu();
    statusFont = loadFont("Fonts\\Char16.fnt");
    return MainLoop();
}
