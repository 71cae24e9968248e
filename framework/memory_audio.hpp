#pragma once
// The memory platform's sound: no device, only a record of what would have been
// played, with where and how loud, for tests.
#include "base/types.hpp"
#include "framework/audio_output.hpp"

#include <array>
#include <string>
#include <vector>

class MemoryAudio final : public AudioOutput {
  public:
    // ---- Set-up ----
    bool deviceAvailable = true; // false: open fails, as on a machine without sound

    // ---- What was played ----
    struct Played {
        u32 pass = 0;     // the main-loop pass it started in
        std::string name; // the effect's name as loaded
        SoundLane lane = SoundLane::Effect;
        SoundPlace place;
        u8 volume = 0;
    };
    std::vector<Played> played; // every effect played once, in order

    struct Loop {
        std::string name; // empty while the voice is silent
        SoundPlace place;
        u8 volume = 0;
        u32 starts = 0; // times a sound was started on this voice
    };
    std::array<Loop, loopVoiceCount> loops;

    bool isOpen = false;
    u32 stops = 0;                  // calls of stopAll
    std::vector<std::string> names; // loaded effects, handle n at index n - 1
    u32 pass = 0;                   // the platform's current pass

    // ---- AudioOutput ----
    bool open(std::string& failure) override;
    void close() override;
    SoundHandle load(const std::string& name, const std::vector<u8>& wav, std::string& failure) override;
    void play(SoundHandle sound, SoundLane lane, SoundPlace place, u8 volume) override;
    void loop(u32 voice, SoundHandle sound, SoundPlace place, u8 volume) override;
    void stopAll() override;
};
