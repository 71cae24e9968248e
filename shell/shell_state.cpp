#include "shell/shell_state.hpp"

#include "gfx/bitmap.hpp"
#include "gfx/font.hpp"
#include "shell/demo.hpp"
#include "shell/game_menu.hpp"

namespace shell {

State state;

} // namespace shell

void resetShell() {
    // The demo's writer closes before the rest goes; the match clock goes back to the real one.
    resetDemo();
    shell::state = shell::State{};
}
