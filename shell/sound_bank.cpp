#include "shell/sound_bank.hpp"

#include "framework/sound.hpp"
#include "shell/shell_state.hpp"

namespace {

// In the order of Effect.
constexpr const char* effectFiles[effectCount] = {
    "sounds\\engine_idle.wav",     "sounds\\engine_mid.wav",
    "sounds\\engine_fast.wav",     "sounds\\shot.wav",
    "sounds\\shot_hit_car.wav",    "sounds\\shot_hit_wall.wav",
    "sounds\\plant_flattened.wav", "sounds\\mine_laid.wav",
    "sounds\\mine_explodes.wav",   "sounds\\car_destroyed.wav",
    "sounds\\car_respawn.wav",     "sounds\\crate_ammo.wav",
    "sounds\\crate_mines.wav",     "sounds\\crate_shields.wav",
    "sounds\\crate_nitro.wav",     "sounds\\flag_picked_up.wav",
    "sounds\\flag_dropped.wav",    "sounds\\flag_captured.wav",
    "sounds\\cars_bump.wav",       "sounds\\car_hits_wall.wav",
    "sounds\\nitro_on.wav",        "sounds\\match_won.wav",
    "sounds\\menu_move.wav",       "sounds\\menu_select.wav",
};

} // namespace

const char* effectFile(Effect effect) {
    return effectFiles[static_cast<u32>(effect)];
}

void LoadSoundBank() {
    for (u32 i = 0; i < effectCount; ++i) shell::state.soundBank.sounds[i] = LoadSound(effectFiles[i]);
}

void PlayEffect(Effect effect, SoundLane lane, SoundPlace place, u8 volume) {
    PlaySound(shell::state.soundBank[effect], lane, place, volume);
}
