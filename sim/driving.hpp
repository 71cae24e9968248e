#pragma once
// The driving model: acceleration along the heading, friction and steering. All
// rates are per frame; there is no time step.
#include "base/types.hpp"

struct Player;

// Forward speed limits, world units per frame.
constexpr f32 topSpeed = 3072.0f;
constexpr f32 nitroTopSpeed = 6144.0f;
// Largest turn per frame either way (64000 is -1536 as a 16-bit angle).
constexpr u16 maxTurnLeft = 1536;
constexpr u16 maxTurnRight = 64000;

enum SteerDirection : u32 { SteerLeft = 0, SteerRight = 1 };

// One frame of the accelerate key: a push along the heading, more the faster the
// car already goes, up to the top speed (twice that while nitro lasts). Returns
// true when nitro lifted the car past the plain top speed in this frame from at
// most that speed: the moment the boost kicks in.
bool Accelerate(Player& player);

// Slows the car by a tenth of its speed and takes a fifth off its turn. Runs
// every frame, and once more while braking.
void ApplyFriction(Player& player);

// One frame of a turn key: starts a turn at 16 and triples it up to 1536, or
// first takes a fifth off a turn the other way.
void Steer(Player& player, u32 direction);
