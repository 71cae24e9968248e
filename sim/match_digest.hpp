#pragma once
// A fingerprint of the whole match state, for demos: equal digests mean the
// replay reached the state the recording reached.
#include "base/types.hpp"

// FNV-1a (64 bits) over every player's position, heading, velocity, turn,
// controls, supplies, scores and carried flag (and a computer player's target
// and pause), every shot in flight, and every object listed in the grid, cell by
// cell, with its type, owner, box and whether it is active: laid mines, flags
// where they lie, pick-ups not yet taken, plants not yet flattened; and the winner.
u64 matchDigest();

// The small check value a demo keeps every 35 steps: both halves of the digest
// folded into 32 bits.
u32 matchCheckValue();
