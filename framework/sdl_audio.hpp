#pragma once
// The SDL platform's sound: SDL2_mixer on SDL's audio device, which mixes the
// channels, pans them and fades them with distance. Part of the one SDL back end:
// only it and sdl_platform.* talk to SDL.
//
// Channels: the loop voices first (one engine each), then the important lane's,
// then the effects'. The first two groups are reserved, so nothing but the game's
// own choice ever plays on them.
#include "base/types.hpp"
#include "framework/audio_output.hpp"

#include <array>
#include <vector>

struct Mix_Chunk;

class SdlAudio final : public AudioOutput {
  public:
    SdlAudio() = default;
    ~SdlAudio() override;
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    bool open(std::string& failure) override;
    void close() override;
    SoundHandle load(const std::string& name, const std::vector<u8>& wav, std::string& failure) override;
    void play(SoundHandle sound, SoundLane lane, SoundPlace place, u8 volume) override;
    void loop(u32 voice, SoundHandle sound, SoundPlace place, u8 volume) override;
    void stopAll() override;

  private:
    // Sets a channel's volume and place (only what changed for a loop voice).
    void place(int channel, SoundPlace where, u8 volume);

    bool open_ = false;
    std::vector<Mix_Chunk*> chunks_; // handle n at index n - 1
    struct Voice {
        SoundHandle sound = 0;
        SoundPlace place;
        u8 volume = 0;
    };
    std::array<Voice, loopVoiceCount> voices_;
};
