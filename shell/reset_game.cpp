#include "shell/reset_game.hpp"

#include "base/fatal.hpp"
#include "framework/framework_state.hpp"
#include "gfx/gfx_state.hpp"
#include "shell/shell_state.hpp"
#include "sim/match_state.hpp"
#include "world/texture.hpp"
#include "world/world.hpp"

void resetGame() {
    // The framework first: it lets go of the contexts that fonts and bitmaps are drawn into.
    resetFramework();
    resetShell();
    resetSimulation();
    resetWorld();
    resetTextures();
    resetGfx();
    resetFatalHook();
}
