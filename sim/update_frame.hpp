#pragma once
// One step of the match.
#include "base/types.hpp"

struct Player;

// One player's whole turn of a step: controls, flag drop, mine, shot, friction,
// turn, move, and for a computer player its thinking.
void UpdatePlayer(u16 index);

// Advances the match by one step: every player's turn in index order, the flight
// of every shot, the respawn of the dead, then the frame composition.
void UpdateFrame();
