#pragma once
// Distance fog: every channel blends linearly toward light grey, reaching it two
// grid cells away, which is where the background's horizon reaches the same grey.
#include "base/arithmetic.hpp"
#include "base/types.hpp"

inline constexpr f32 fogDepth = 131072.0f; // world units: full fog
inline constexpr f32 fogGrey = 240.0f;     // the fog colour's level in every channel

// One channel c (0..255 for a plain colour, wider when a texel brightens it) fogged
// at camera depth `depth`. Depths outside 0..fogDepth, behind the eye or beyond
// full fog, give the fog grey. The graphics layer takes the low 8 bits.
inline u32 fogChannel(u16 c, f32 depth) {
    if (depth < 0 || depth > fogDepth) {
        return 240;
    }
    return static_cast<u32>(
        truncToInt(((fogDepth - depth) * static_cast<f32>(c) + fogGrey * depth) * (1.0f / fogDepth)));
}
