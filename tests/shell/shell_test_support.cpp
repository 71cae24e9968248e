#include "shell_test_support.hpp"

#include "base/clock.hpp"
#include "gfx/primitives.hpp"
#include "shell/game_menu.hpp"
#include "shell/reset_game.hpp"
#include "shell/shell_state.hpp"

void ShellFrame::SetUp() {
    resetGame();
}

void ShellFrame::TearDown() {
    resetGame();
    resetClock();
    frame.reset();
}

void ShellFrame::makeFrame(i32 width, i32 height) {
    frame = createMemoryContext(width, height, 24);
    makeCurrentContext(frame.get());
    frameDisplay = FrameworkDisplay{frame.get(), frame.get(), nullptr};
    shell::state.openDisplay = &frameDisplay;
    makeScreen(width, height);
}

void ShellFrame::makeScreen(i32 width, i32 height) {
    auto screen = std::make_unique<ScreenInfo>();
    screen->maxX = static_cast<u16>(width - 1);
    screen->maxY = static_cast<u16>(height - 1);
    screen->size = screenSizeOf(screen->maxX, screen->maxY);
    shell::state.currentScreen = std::move(screen);
    shell::state.gameMenu = std::make_unique<GameMenu>(shell::state.openDisplay);
}

Rgb ShellFrame::pixel(i32 x, i32 y) const {
    return pixelAt(*frame, x, y);
}

bool ShellFrame::allPixels(i32 left, i32 top, i32 right, i32 bottom, Rgb colour) const {
    for (i32 y = top; y < bottom; ++y)
        for (i32 x = left; x < right; ++x)
            if (!(pixel(x, y) == colour)) return false;
    return true;
}

void ShellFrame::fill(Rgb colour) {
    setBackColor(packColor(*frame, colour.r, colour.g, colour.b));
    clearDevice();
}
