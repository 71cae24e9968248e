#pragma once
// What the game needs of the machine's sound: an output that loads short WAV
// effects and plays them, once or looping, each placed around the listener and
// at its own volume. The back end does the mixing, the channels, the panning
// and the fading with distance; the game only says what, where and how loud.
//
// Two back ends provide it, beside their video: the SDL platform plays through
// SDL2_mixer; the memory platform records what would have been played, for
// tests.
#include "base/types.hpp"

#include <string>
#include <vector>

// A loaded effect; 0 is none, which plays nothing.
using SoundHandle = u32;

// Where a sound is heard from, on the mixer's scales: the angle from straight
// ahead, clockwise in degrees (90 on the right, 270 on the left), and the
// distance from 0 (at the listener, full volume) to 255 (out of hearing).
struct SoundPlace {
    u16 angle = 0;
    u8 distance = 0;
};

// The channel groups. A burst of effects takes the oldest effect's channel when
// all are busy; the important ones have channels of their own that effects
// never take, so a flag's capture is heard whole whatever else goes on.
enum class SoundLane : u8 {
    Effect,
    Important,
};

// Looping voices (the engines), numbered from 0; each plays one loop at a time.
inline constexpr u32 loopVoiceCount = 5;
// Channels of each lane.
inline constexpr u32 effectChannelCount = 16;
inline constexpr u32 importantChannelCount = 4;

// The mixer's volume scale: 128 plays a sound as it was recorded.
inline constexpr u8 fullVolume = 128;

class AudioOutput {
  public:
    virtual ~AudioOutput() = default;

    // Opens the sound device. False, with one line saying why in `failure`, when
    // there is none (no device, a device in use, no driver).
    virtual bool open(std::string& failure) = 0;
    // Stops every sound, frees the effects and lets go of the device.
    virtual void close() = 0;

    // Loads an effect from a WAV file's bytes; 0, with one line in `failure`,
    // when they are no sound it can play. `name` is for records and messages.
    virtual SoundHandle load(const std::string& name, const std::vector<u8>& wav, std::string& failure) = 0;
    // Plays an effect once.
    virtual void play(SoundHandle sound, SoundLane lane, SoundPlace place, u8 volume) = 0;
    // Keeps `sound` looping on a voice, at that place and volume; a new sound
    // starts from its beginning, the same one plays on. Sound 0 stops the voice.
    virtual void loop(u32 voice, SoundHandle sound, SoundPlace place, u8 volume) = 0;
    // Silences everything at once: every effect and every loop.
    virtual void stopAll() = 0;
};
