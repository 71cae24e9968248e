#pragma once
// The computer players: they hunt player 1's flags, bring them home, shoot at
// player 1 when close and lay mines when out of ammunition. Their decisions set
// the same controls the keyboard sets for the human and act in the next frame.
#include "base/types.hpp"

#include <optional>

struct Player;
struct ComputerPlayer;

// After running into something a computer player keeps no target this long.
constexpr i64 aiPauseSeconds = 4;

// The heading a computer player takes toward (tx, ty) from (cx, cy): the one
// whose driving direction points at the target, in single precision and cut to
// 16 bits. Nothing for a target at the player's own place.
std::optional<i32> headingToward(u32 tx, u32 ty, u32 cx, u32 cy);

// One frame of thinking, after the player's own move. `blocked` is that move's
// result; `human` is player 1.
void ThinkComputer(ComputerPlayer& player, u32 blocked, const Player& human);
