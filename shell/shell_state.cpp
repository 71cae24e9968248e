#include "shell/shell_state.hpp"

#include "gfx/bitmap.hpp"
#include "gfx/font.hpp"
#include "shell/demo.hpp"
#include "shell/game_menu.hpp"
#include "shell/pause.hpp"
#include "shell/settings.hpp"

DriverOptions gameDriverOptions = defaultGameDriverOptions;
FrameworkDisplay* display = nullptr;
ModeEntry gameMode{};
std::unique_ptr<GameMenu> menu;
std::unique_ptr<ScreenInfo> screen;
std::unique_ptr<Font> statusFont;
std::unique_ptr<Font> menuFont;
WinnerFonts winnerFonts;
u32 showFps = 0;
u32 frameCount = 0;
u32 fpsValue = 0;
u32 lastSecond = 0;
u32 frameSwapWait = 2;
ScreenBitmaps screenBitmaps;

void resetShell() {
    gameDriverOptions = defaultGameDriverOptions;
    display = nullptr;
    gameMode = ModeEntry{};
    menu.reset();
    screen.reset();
    statusFont.reset();
    menuFont.reset();
    winnerFonts = WinnerFonts{};
    showFps = frameCount = fpsValue = lastSecond = 0;
    frameSwapWait = 2;
    resetDemo();
    resetPause();
    resetSettings();
    screenBitmaps = ScreenBitmaps{};
}
