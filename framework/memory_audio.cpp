#include "framework/memory_audio.hpp"

#include <cstring>

namespace {

// The four bytes at `at` spell `tag`.
bool hasTag(const std::vector<u8>& bytes, size_t at, const char* tag) {
    return bytes.size() >= at + 4 && std::memcmp(bytes.data() + at, tag, 4) == 0;
}

u32 littleU32(const std::vector<u8>& bytes, size_t at) {
    return u32{bytes[at]} | u32{bytes[at + 1]} << 8 | u32{bytes[at + 2]} << 16 | u32{bytes[at + 3]} << 24;
}

// A RIFF WAVE file whose chunks include a format and a data chunk, lying inside
// the file: what any WAV reader needs before it looks at the samples.
bool looksLikeWave(const std::vector<u8>& bytes) {
    if (!hasTag(bytes, 0, "RIFF") || !hasTag(bytes, 8, "WAVE")) return false;
    bool format = false;
    bool data = false;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const u32 size = littleU32(bytes, at + 4);
        if (size > bytes.size() - at - 8) return false;
        format = format || hasTag(bytes, at, "fmt ");
        data = data || hasTag(bytes, at, "data");
        at += 8 + size + (size & 1);
    }
    return format && data;
}

} // namespace

bool MemoryAudio::open(std::string& failure) {
    if (!deviceAvailable) {
        failure = "no audio device";
        return false;
    }
    isOpen = true;
    return true;
}

void MemoryAudio::close() {
    stopAll();
    names.clear();
    isOpen = false;
}

SoundHandle MemoryAudio::load(const std::string& name, const std::vector<u8>& wav, std::string& failure) {
    if (!isOpen) {
        failure = "no audio device";
        return 0;
    }
    if (!looksLikeWave(wav)) {
        failure = "not a WAVE file";
        return 0;
    }
    names.push_back(name);
    return static_cast<SoundHandle>(names.size());
}

void MemoryAudio::play(SoundHandle sound, SoundLane lane, SoundPlace place, u8 volume) {
    if (!isOpen || sound == 0 || sound > names.size()) return;
    played.push_back({pass, names[sound - 1], lane, place, volume});
}

void MemoryAudio::loop(u32 voice, SoundHandle sound, SoundPlace place, u8 volume) {
    if (!isOpen || voice >= loops.size() || sound > names.size()) return;
    Loop& playing = loops[voice];
    if (sound == 0) {
        playing = Loop{{}, {}, 0, playing.starts};
        return;
    }
    if (playing.name != names[sound - 1]) ++playing.starts;
    playing.name = names[sound - 1];
    playing.place = place;
    playing.volume = volume;
}

void MemoryAudio::stopAll() {
    ++stops;
    for (Loop& playing : loops) playing = Loop{{}, {}, 0, playing.starts};
}
