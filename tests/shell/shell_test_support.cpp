#include "shell_test_support.hpp"

#include "base/clock.hpp"
#include "gfx/primitives.hpp"
#include "shell/game_menu.hpp"
#include "shell/reset_game.hpp"
#include "shell/shell_state.hpp"

void PrintTo(const Rgb& rgb, std::ostream* os) {
    *os << "(" << int(rgb.r) << ", " << int(rgb.g) << ", " << int(rgb.b) << ")";
}

void ShellFrame::SetUp() {
    previousDirectory = std::filesystem::current_path();
    std::filesystem::current_path(TESSARON_DATA_DIR);
    resetGame();
}

void ShellFrame::TearDown() {
    resetGame();
    resetClock();
    frame.reset();
    std::filesystem::current_path(previousDirectory);
}

void ShellFrame::makeFrame(i32 width, i32 height) {
    frame = createMemoryContext(width, height, 24);
    makeCurrentContext(frame.get());
    frameDisplay = FrameworkDisplay{frame.get(), frame.get(), nullptr};
    shell::state.openDisplay = &frameDisplay;
    shell::state.currentScreen = std::make_unique<ScreenInfo>();
    shell::state.currentScreen->maxX = static_cast<u16>(width - 1);
    shell::state.currentScreen->maxY = static_cast<u16>(height - 1);
    shell::state.gameMenu = std::make_unique<GameMenu>(shell::state.openDisplay);
}

Rgb ShellFrame::pixel(i32 x, i32 y) const {
    const u32 value = readPixel(*frame, x, y);
    return {static_cast<u8>(value >> 16), static_cast<u8>(value >> 8), static_cast<u8>(value)};
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
