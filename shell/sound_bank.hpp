#pragma once
// The game's sound effects: one file each under sounds/, loaded once at start-up
// when the game has sound.
#include "base/types.hpp"
#include "framework/audio_output.hpp"

#include <array>

enum class Effect : u8 {
    EngineIdle, // the engine's three loops, slow to flat out
    EngineMid,
    EngineFast,
    Shot,
    ShotHitCar,
    ShotHitWall,
    PlantFlattened,
    MineLaid,
    MineExplodes,
    CarDestroyed,
    CarRespawn,
    CrateAmmo,
    CrateMines,
    CrateShields,
    CrateNitro,
    FlagPickedUp,
    FlagDropped,
    FlagCaptured,
    CarsBump,
    CarHitsWall,
    NitroOn,
    MatchWon,
    MenuMove,
    MenuSelect,
};
inline constexpr u32 effectCount = 24;

// The data file of an effect ("sounds\shot.wav").
const char* effectFile(Effect effect);

// Every effect's loaded sound; 0 for one that could not be loaded (or no sound).
struct SoundBank {
    std::array<SoundHandle, effectCount> sounds{};
    SoundHandle operator[](Effect effect) const { return sounds[static_cast<u32>(effect)]; }
};

// Loads every effect (LoadSound reports the ones that fail) into the shell's bank.
void LoadSoundBank();

// Plays an effect of the bank once: at the listener, or placed.
void PlayEffect(Effect effect, SoundLane lane, SoundPlace place, u8 volume);
