#include "shell/match_sound.hpp"

#include "base/arithmetic.hpp"
#include "framework/sound.hpp"
#include "render/fog.hpp"
#include "render/view.hpp"
#include "shell/demo.hpp"
#include "shell/shell_state.hpp"
#include "shell/sound_bank.hpp"
#include "sim/driving.hpp"
#include "sim/match_events.hpp"
#include "sim/match_state.hpp"
#include "sim/update_frame.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

#include <algorithm>
#include <cmath>

namespace {

// The mixer's distance at the edge of the fog, where the view ends: a seventh of
// the volume (about -17 dB). Its scale reaches 255, out of hearing, a sixth of a
// cell further.
constexpr f32 fogEdgeDistance = 216.0f;

// Effects mix at half volume or less: the effects are made to peak at -8 to -3
// dBFS, so several at once and the engine stay below full scale.
constexpr u8 loudVolume = 64;
constexpr u8 mediumVolume = 56;
constexpr u8 softVolume = 44;

// Engine loops: the human's three layers (voices 0 to 2) and one voice for each
// opponent (3 and 4).
constexpr u32 humanEngineVoice = 0;
constexpr u32 opponentEngineVoice = 3;
constexpr u8 engineVolumeAtRest = 26;
constexpr u8 engineVolumeFlatOut = 40;
constexpr u8 opponentEngineVolume = 48;

const Camera* humanEye() {
    if (world::state.playerCount == 0 || !world::state.players[0]->camera) return nullptr;
    return world::state.players[0]->camera.get();
}

SoundPlace placeOf(u32 x, u32 y) {
    const Camera* eye = humanEye();
    return eye ? soundPlaceFrom(*eye, x, y) : SoundPlace{};
}

f32 speedOf(const Player& player) {
    return std::sqrt(player.velocityX * player.velocityX + player.velocityY * player.velocityY);
}

// How hard a bump or a wall hit sounds: from soft at a walking pace to loud at
// the top speed.
u8 impactVolume(f32 speed) {
    const f32 share = std::clamp(speed / topSpeed, 0.0f, 1.0f);
    return static_cast<u8>(softVolume / 2 + share * (loudVolume - softVolume / 2));
}

Effect crateEffect(CrateKind crate) {
    switch (crate) {
    case CrateKind::Mines: return Effect::CrateMines;
    case CrateKind::Shields: return Effect::CrateShields;
    case CrateKind::Nitro: return Effect::CrateNitro;
    default: return Effect::CrateAmmo;
    }
}

} // namespace

void silenceEngines() {
    for (u32 voice = 0; voice < loopVoiceCount; ++voice) LoopSound(voice, 0, {}, 0);
}

SoundPlace soundPlaceFrom(const Camera& eye, u32 x, u32 y) {
    const f32 dx = worldDelta(x, eye.x);
    const f32 dy = worldDelta(y, eye.y);
    const f32 distance = std::sqrt(dx * dx + dy * dy);
    if (distance < 1.0f) return {};
    // The screen shows a positive lateral offset on the left: its negative is the
    // share to the right.
    const f32 right = -lateralOf(eye, dx, dy);
    const f32 ahead = depthOf(eye, dx, dy);
    f32 degrees = std::atan2(right, ahead) * degreesPerRadian;
    if (degrees < 0) degrees += 360.0f;
    SoundPlace place;
    place.angle = static_cast<u16>(truncToInt(degrees + 0.5f) % 360);
    place.distance =
        static_cast<u8>(truncToInt(std::min(255.0f, distance / fogDepth * fogEdgeDistance + 0.5f)));
    return place;
}

void OnMatchEvent(const MatchEvent& event) {
    const SoundPlace place = placeOf(event.x, event.y);
    if (place.distance == 255) return; // out of hearing
    const auto effect = [&](Effect which, u8 volume) { PlayEffect(which, SoundLane::Effect, place, volume); };
    const auto important = [&](Effect which, u8 volume) {
        PlayEffect(which, SoundLane::Important, place, volume);
    };
    switch (event.kind) {
    case MatchEventKind::ShotFired: effect(Effect::Shot, mediumVolume); break;
    case MatchEventKind::ShotHitCar: effect(Effect::ShotHitCar, loudVolume); break;
    case MatchEventKind::ShotHitWall: effect(Effect::ShotHitWall, mediumVolume); break;
    case MatchEventKind::PlantFlattened: effect(Effect::PlantFlattened, mediumVolume); break;
    case MatchEventKind::MineLaid: effect(Effect::MineLaid, softVolume); break;
    case MatchEventKind::MineExploded: effect(Effect::MineExplodes, loudVolume); break;
    case MatchEventKind::CarDestroyed: effect(Effect::CarDestroyed, loudVolume); break;
    case MatchEventKind::CarRespawned: effect(Effect::CarRespawn, mediumVolume); break;
    case MatchEventKind::CrateCollected: effect(crateEffect(event.crate), mediumVolume); break;
    case MatchEventKind::FlagPickedUp: important(Effect::FlagPickedUp, loudVolume); break;
    case MatchEventKind::FlagDropped: important(Effect::FlagDropped, mediumVolume); break;
    case MatchEventKind::FlagCaptured: important(Effect::FlagCaptured, loudVolume); break;
    case MatchEventKind::CarsBumped: effect(Effect::CarsBump, impactVolume(event.speed)); break;
    case MatchEventKind::CarHitWall: effect(Effect::CarHitsWall, impactVolume(event.speed)); break;
    case MatchEventKind::NitroOn: effect(Effect::NitroOn, mediumVolume); break;
    case MatchEventKind::MatchWon:
        // The fanfare alone, wherever the winner is: the match is over.
        silenceEngines();
        PlayEffect(Effect::MatchWon, SoundLane::Important, {}, loudVolume);
        break;
    }
}

void UpdateEngineSounds() {
    const Camera* eye = humanEye();
    if (!eye || sim::match.winner != -1) return;
    // The human's engine: idle, cruising and flat-out loops faded into each other
    // by the share of the top speed, with equal power across each fade.
    const Player& human = *world::state.players[0];
    const f32 share = std::clamp(speedOf(human) / topSpeed, 0.0f, 1.0f);
    const f32 weights[3] = {std::max(0.0f, 1 - 2 * share), 1 - std::fabs(2 * share - 1),
                            std::max(0.0f, 2 * share - 1)};
    const f32 level = engineVolumeAtRest + share * (engineVolumeFlatOut - engineVolumeAtRest);
    const Effect layers[3] = {Effect::EngineIdle, Effect::EngineMid, Effect::EngineFast};
    for (u32 i = 0; i < 3; ++i) {
        const u8 volume = static_cast<u8>(truncToInt(level * std::sqrt(weights[i]) + 0.5f));
        LoopSound(humanEngineVoice + i, volume > 0 ? shell::state.soundBank[layers[i]] : 0, {}, volume);
    }
    // The opponents: one loop each, the layer that fits their speed, where they are.
    for (u32 i = 1; i < 1 + loopVoiceCount - opponentEngineVoice; ++i) {
        const u32 voice = opponentEngineVoice + i - 1;
        if (i >= world::state.playerCount || !world::state.players[i]->camera) {
            LoopSound(voice, 0, {}, 0);
            continue;
        }
        const Player& opponent = *world::state.players[i];
        const SoundPlace place = placeOf(opponent.camera->x, opponent.camera->y);
        const f32 pace = speedOf(opponent) / topSpeed;
        const Effect layer = pace < 0.3f    ? Effect::EngineIdle
                             : pace < 0.75f ? Effect::EngineMid
                                            : Effect::EngineFast;
        LoopSound(voice, place.distance < 255 ? shell::state.soundBank[layer] : 0, place,
                  opponentEngineVolume);
    }
}

void SoundingUpdateFrame() {
    if (demoActive())
        DemoUpdateFrame();
    else
        UpdateFrame();
    UpdateEngineSounds();
}

void ToggleMute() {
    MuteSound(!SoundMuted());
}
