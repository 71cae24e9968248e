#pragma once
// Moving a vehicle through the world: its turn, the move with its collision
// walk over everything it touches, the bump of two cars, death and respawn.
#include "base/types.hpp"

struct Player;

// A move at this squared speed or more flattens a plant (1792 units per frame).
constexpr f32 flattenSquaredSpeed = 3211264.0f;

// Turns the camera by the player's turn rate and the car's shape with it.
void TurnVehicle(Player& player);

// Moves the player's car by its velocity and resolves what it touches: picks up
// flags and pick-ups, captures, flattens plants, sets off mines, bumps other cars.
// Returns 1 when the move was blocked (the car stays and stops), else 0. A move
// that would take the car off the grid is blocked. `index` is the player's index
// in players.
u32 MoveAndCollide(Player& player, u16 index);

// The bump of car p moving into car q: an exchange between equal masses, in which
// q takes the part of the relative velocity along the line of centres and p keeps
// the part across it. Undefined directions (no relative velocity, or both cars at
// one place) leave both velocities as they are.
void CollideVehicles(Player& p, Player& q);

// Every player whose shields fell below 1 leaves its flag where it stands and
// starts again at its start place with full shields.
void RespawnPlayers();
