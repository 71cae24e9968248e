#include "framework/sdl_audio.hpp"

#include <SDL.h>
#include <SDL_mixer.h>

namespace {

// The device's format: CD rate, 16-bit stereo, a buffer of 1024 frames (23 ms):
// short enough that a shot is heard with its flash, long enough not to starve.
constexpr int outputRate = 44100;
constexpr int outputChannels = 2;
constexpr int bufferFrames = 1024;

constexpr int importantFirst = static_cast<int>(loopVoiceCount);
constexpr int effectFirst = importantFirst + static_cast<int>(importantChannelCount);
constexpr int channelCount = effectFirst + static_cast<int>(effectChannelCount);

// Group tags of the two lanes.
constexpr int importantTag = 1;
constexpr int effectTag = 2;

int tagOf(SoundLane lane) {
    return lane == SoundLane::Important ? importantTag : effectTag;
}

} // namespace

SdlAudio::~SdlAudio() {
    close();
}

bool SdlAudio::open(std::string& failure) {
    if (open_) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        failure = SDL_GetError();
        return false;
    }
    if (Mix_OpenAudio(outputRate, AUDIO_S16SYS, outputChannels, bufferFrames) != 0) {
        failure = Mix_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(channelCount);
    // Plays on "any free channel" never land on the loops or the important lane.
    Mix_ReserveChannels(effectFirst);
    Mix_GroupChannels(importantFirst, effectFirst - 1, importantTag);
    Mix_GroupChannels(effectFirst, channelCount - 1, effectTag);
    voices_ = {};
    open_ = true;
    return true;
}

void SdlAudio::close() {
    if (!open_) return;
    Mix_HaltChannel(-1);
    for (Mix_Chunk* chunk : chunks_) Mix_FreeChunk(chunk);
    chunks_.clear();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open_ = false;
}

SoundHandle SdlAudio::load(const std::string& /*name*/, const std::vector<u8>& wav, std::string& failure) {
    if (!open_) {
        failure = "no audio device";
        return 0;
    }
    SDL_RWops* bytes = SDL_RWFromConstMem(wav.data(), static_cast<int>(wav.size()));
    // The chunk is converted to the device's format once, here.
    Mix_Chunk* chunk = bytes ? Mix_LoadWAV_RW(bytes, 1) : nullptr;
    if (!chunk) {
        failure = Mix_GetError();
        return 0;
    }
    chunks_.push_back(chunk);
    return static_cast<SoundHandle>(chunks_.size());
}

void SdlAudio::place(int channel, SoundPlace where, u8 volume) {
    Mix_Volume(channel, volume);
    // Angle 0 at distance 0 (the listener's own sounds) takes the position effect off.
    Mix_SetPosition(channel, static_cast<Sint16>(where.angle), where.distance);
}

void SdlAudio::play(SoundHandle sound, SoundLane lane, SoundPlace where, u8 volume) {
    if (!open_ || sound == 0 || sound > chunks_.size()) return;
    const int tag = tagOf(lane);
    int channel = Mix_GroupAvailable(tag);
    // Every channel of the lane busy: the oldest sound gives way.
    if (channel == -1) channel = Mix_GroupOldest(tag);
    if (channel == -1) return;
    Mix_HaltChannel(channel);
    place(channel, where, volume);
    Mix_PlayChannel(channel, chunks_[sound - 1], 0);
}

void SdlAudio::loop(u32 voice, SoundHandle sound, SoundPlace where, u8 volume) {
    if (!open_ || voice >= voices_.size() || sound > chunks_.size()) return;
    Voice& v = voices_[voice];
    const int channel = static_cast<int>(voice);
    if (sound == 0) {
        if (v.sound != 0) Mix_HaltChannel(channel);
        v = Voice{};
        return;
    }
    if (v.sound != sound || Mix_Playing(channel) == 0) {
        place(channel, where, volume);
        Mix_PlayChannel(channel, chunks_[sound - 1], -1);
    } else if (v.volume != volume || v.place.angle != where.angle || v.place.distance != where.distance) {
        place(channel, where, volume);
    }
    v = Voice{sound, where, volume};
}

void SdlAudio::stopAll() {
    if (!open_) return;
    Mix_HaltChannel(-1);
    voices_ = {};
}
