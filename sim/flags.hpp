#pragma once
// Pick-ups, flags and the win rule: what a car collects by touching it, carrying
// and dropping flags, scoring them at the own headquarters.
#include "base/types.hpp"

struct Player;
struct WorldObject;

// What the pick-ups give.
constexpr u16 firePakAmmo = 10;
constexpr u16 minePakMines = 3;
constexpr i16 healthPakShields = 4;
constexpr u16 nitroPakFrames = 128;
constexpr i16 fullShields = 8;

// The player gains the pick-up's goods and the pick-up leaves the grid. The
// caller frees it once nothing points at it any more.
void CollectPickup(Player& player, WorldObject& pickup);

// The player takes the flag out of the grid and carries it.
void PickUpFlag(Player& player, WorldObject& flag);

// The player delivers its carried flag (another owner's) at its own headquarters:
// the flag is scored and the win rule is tested. Returns the flag, which has left
// the game, for the caller to free.
WorldObject* CaptureFlag(Player& player, u16 index);

// Whether the player's scores meet the win rule of the match (half the flags
// with two players, two thirds with three).
bool HasWon(const Player& player, u16 index);

// Puts the carried flag down half a cell behind the car where it fits; where it
// does not, the flag stays carried.
void DropFlag(Player& player);

// A dying carrier leaves its flag where it stands, whatever lies there, kept
// whole inside the grid so that it can always be picked up again.
void ReleaseFlag(Player& player);
