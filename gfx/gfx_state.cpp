#include "gfx/gfx_state.hpp"

gfx::State gfx::state;

void resetGfx() {
    gfx::state = gfx::State{};
}
