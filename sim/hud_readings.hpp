#pragma once
// The numbers the head-up display shows of a player. The simulation reads them
// off the match; the shell draws them (shell/hud.hpp).
#include "base/types.hpp"

struct Player;

// Whose flag the player carries: none, its own, or another player's.
enum class CarriedFlag : u8 { None, Own, Foreign };

struct HudReadings {
    f32 speed = 0;   // length of the velocity, world units per frame
    u16 heading = 0; // the eye's heading: where the compass points
    u16 ammo = 0;    // shots left
    u16 mines = 0;   // mines left
    CarriedFlag flag = CarriedFlag::None;
    bool nitro = false; // frames of nitro are left
    i16 shields = 0;
};

HudReadings hudReadings(const Player& player);
