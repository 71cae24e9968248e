#include "framework/sound.hpp"

#include "base/data_file.hpp"
#include "framework/framework_state.hpp"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The whole file, or nothing when it cannot be read.
bool readDataFile(const char* name, std::vector<u8>& bytes) {
    std::FILE* file = openDataFile(name);
    if (!file) return false;
    u8 buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

} // namespace

bool StartSound() {
    if (framework::state.soundOpen) return true;
    if (!framework::state.platform) return false;
    std::string failure;
    if (!framework::state.platform->audio().open(failure)) {
        std::fprintf(stderr, "Sound: %s; playing on without sound.\n",
                     failure.empty() ? "no audio device" : failure.c_str());
        return false;
    }
    framework::state.soundOpen = true;
    return true;
}

void StopSound() {
    if (framework::state.soundOpen && framework::state.platform) framework::state.platform->audio().close();
    framework::state.soundOpen = false;
}

bool SoundStarted() {
    return framework::state.soundOpen;
}

SoundHandle LoadSound(const char* name) {
    if (!framework::state.soundOpen) return 0;
    std::vector<u8> bytes;
    std::string failure;
    SoundHandle sound = 0;
    if (!readDataFile(name, bytes))
        failure = "cannot be read";
    else
        sound = framework::state.platform->audio().load(name, bytes, failure);
    if (sound == 0)
        std::fprintf(stderr, "Sound: %s: %s; that effect stays silent.\n", name,
                     failure.empty() ? "no sound" : failure.c_str());
    return sound;
}

void PlaySound(SoundHandle sound, SoundLane lane, SoundPlace place, u8 volume) {
    if (!framework::state.soundOpen || framework::state.soundMuted || sound == 0) return;
    framework::state.platform->audio().play(sound, lane, place, volume);
}

void LoopSound(u32 voice, SoundHandle sound, SoundPlace place, u8 volume) {
    if (!framework::state.soundOpen || framework::state.soundMuted) return;
    framework::state.platform->audio().loop(voice, sound, place, volume);
}

void MuteSound(bool muted) {
    if (muted && !framework::state.soundMuted && framework::state.soundOpen)
        framework::state.platform->audio().stopAll();
    framework::state.soundMuted = muted;
}

bool SoundMuted() {
    return framework::state.soundMuted;
}
