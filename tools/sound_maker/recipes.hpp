#pragma once
// The game's sound effects, each made by one recipe from the sound kit.
#include "tools/sound_maker/synth.hpp"

#include <vector>

struct SoundEffect {
    const char* file; // written as <run directory>/sounds/<file>
    bool loops;       // played as a seamless loop (the engine layers)
    Signal (*make)();
};

// Every effect the game plays, in a fixed order.
const std::vector<SoundEffect>& soundEffects();
