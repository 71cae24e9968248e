#pragma once
// A shot in flight: the shot object in the world and where it is going.
#include "base/types.hpp"
#include "world/world_object.hpp"

#include <memory>

struct Player;

struct Projectile {
    std::unique_ptr<WorldObject> object; // the shot as listed in the grid; owned here
    u32 x = 0;                           // centre, world units
    u32 y = 0;
    u32 heading = 0; // flight direction: the firing camera's heading
    f32 dirX = 0;    // sin of the heading
    f32 dirY = 0;    // cos of the heading
    f32 speed = 0;   // world units per frame
    u16 power = 0;   // hits left
};

// Every shot leaves the muzzle at this speed with this many hits in it.
constexpr f32 shotSpeed = 4096.0f;
constexpr u16 shotPower = 2;

// Lays a mine half a cell behind the player where one fits; a mine that does not
// fit is not laid and not spent. `index` is the player's index in players.
void LayMine(Player& player, u16 index);

// Fires a shot a quarter cell ahead of the player. The shot is spent even when
// the muzzle is blocked.
void Fire(Player& player, u16 index);

// Moves every shot in flight one step and resolves what it touches; shots whose
// power is spent end and are freed.
void MoveProjectiles();
