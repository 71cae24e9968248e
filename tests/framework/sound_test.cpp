// Sound through the platform: the framework's rules (one line and silence when
// there is no device or an effect cannot be read, muting) on the memory back
// end, and the SDL back end's channels on SDL's silent "dummy" audio driver.
#include "framework_fixture.hpp"

#include "framework/sdl_audio.hpp"

#include <SDL_mixer.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

void putU32(std::vector<u8>& out, u32 v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<u8>(v >> (8 * i)));
}
void putU16(std::vector<u8>& out, u16 v) {
    out.push_back(static_cast<u8>(v));
    out.push_back(static_cast<u8>(v >> 8));
}

// A WAV file: 16-bit mono at 22050 Hz, a 440 Hz tone of that many milliseconds.
std::vector<u8> toneWave(u32 milliseconds) {
    const u32 frames = 22050 * milliseconds / 1000;
    std::vector<u8> out = {'R', 'I', 'F', 'F'};
    putU32(out, 36 + 2 * frames);
    for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<u8>(c));
    putU32(out, 16);
    putU16(out, 1);
    putU16(out, 1);
    putU32(out, 22050);
    putU32(out, 44100);
    putU16(out, 2);
    putU16(out, 16);
    for (char c : std::string("data")) out.push_back(static_cast<u8>(c));
    putU32(out, 2 * frames);
    for (u32 i = 0; i < frames; ++i)
        putU16(out, static_cast<u16>(static_cast<i16>(8000 * std::sin(i * 0.1254))));
    return out;
}

class SoundTest : public FrameworkTest {
  protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        folder = fs::temp_directory_path() / ("tessaron_sound_" + std::to_string(::getpid()));
        fs::create_directories(folder);
        const std::vector<u8> tone = toneWave(100);
        std::ofstream(folder / "good.wav", std::ios::binary)
            .write(reinterpret_cast<const char*>(tone.data()), static_cast<std::streamsize>(tone.size()));
        std::ofstream(folder / "bad.wav", std::ios::binary) << "RIFF\x10\0\0\0WAVEdata";
    }
    void TearDown() override {
        FrameworkTest::TearDown();
        fs::remove_all(folder);
    }
    std::string file(const char* name) const { return (folder / name).string(); }
    fs::path folder;
};

TEST_F(SoundTest, WithoutADeviceOneLineThenSilenceAndNothingElseSaysAWord) {
    machine->sound.deviceAvailable = false;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(StartSound());
    EXPECT_EQ(LoadSound(file("good.wav").c_str()), 0u);
    PlaySound(1, SoundLane::Effect, {}, 64);
    LoopSound(0, 1, {}, 64);
    StopSound();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Sound: no audio device; playing on without sound.\n");
    EXPECT_FALSE(SoundStarted());
    EXPECT_TRUE(machine->sound.played.empty());
}

TEST_F(SoundTest, MissingAndDamagedEffectsAreSilentTheRestPlaysMutingSilencesAll) {
    ASSERT_TRUE(StartSound());
    testing::internal::CaptureStderr();
    const SoundHandle good = LoadSound(file("good.wav").c_str());
    const SoundHandle missing = LoadSound(file("none.wav").c_str());
    const SoundHandle damaged = LoadSound(file("bad.wav").c_str());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Sound: " + file("none.wav") + ": cannot be read; that effect stays silent.\n" +
                  "Sound: " + file("bad.wav") + ": not a WAVE file; that effect stays silent.\n");
    EXPECT_NE(good, 0u);
    EXPECT_EQ(missing, 0u);
    EXPECT_EQ(damaged, 0u);

    PlaySound(damaged, SoundLane::Effect, {}, 64);
    PlaySound(good, SoundLane::Important, {90, 100}, 64);
    LoopSound(2, good, {270, 50}, 30);
    ASSERT_EQ(machine->sound.played.size(), 1u);
    EXPECT_EQ(machine->sound.played[0].lane, SoundLane::Important);
    EXPECT_EQ(machine->sound.played[0].place.angle, 90);
    EXPECT_EQ(machine->sound.loops[2].volume, 30);

    MuteSound(true);
    EXPECT_EQ(machine->sound.loops[2].name, "") << "the loop stopped at once";
    PlaySound(good, SoundLane::Effect, {}, 64);
    LoopSound(2, good, {}, 30);
    EXPECT_EQ(machine->sound.played.size(), 1u);
    EXPECT_EQ(machine->sound.loops[2].name, "");
    MuteSound(false);
    PlaySound(good, SoundLane::Effect, {}, 64);
    EXPECT_EQ(machine->sound.played.size(), 2u);

    ShutdownFramework();
    EXPECT_FALSE(SoundStarted());
    EXPECT_FALSE(machine->sound.isOpen);
}

// The SDL back end on its own, on SDL's silent audio driver.
class SdlAudioTest : public testing::Test {
  protected:
    void TearDown() override { unsetenv("SDL_AUDIODRIVER"); }
};

TEST_F(SdlAudioTest, WithoutADriverOpeningFailsAtOnceWithAReason) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SdlAudio audio;
    std::string failure;
    EXPECT_FALSE(audio.open(failure));
    EXPECT_FALSE(failure.empty());
    EXPECT_EQ(audio.load("x", toneWave(10), failure), 0u);
}

TEST_F(SdlAudioTest, ABurstOfEffectsNeverTakesTheImportantLaneOrTheLoops) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SdlAudio audio;
    std::string failure;
    ASSERT_TRUE(audio.open(failure)) << failure;
    const SoundHandle longTone = audio.load("long", toneWave(3000), failure);
    const SoundHandle shortTone = audio.load("short", toneWave(500), failure);
    ASSERT_NE(longTone, 0u);
    ASSERT_NE(shortTone, 0u);
    const std::vector<u8> bad = {'R', 'I', 'F', 'F', 1, 2, 3};
    EXPECT_EQ(audio.load("bad", bad, failure), 0u);

    audio.loop(0, longTone, {}, 40);
    audio.play(longTone, SoundLane::Important, {45, 20}, 64);
    for (int i = 0; i < 3 * static_cast<int>(effectChannelCount); ++i)
        audio.play(shortTone, SoundLane::Effect, {static_cast<u16>(i * 10 % 360), 0}, 64);
    const int important = static_cast<int>(loopVoiceCount);
    EXPECT_EQ(Mix_Playing(0), 1) << "the engine loops on";
    EXPECT_EQ(Mix_Playing(important), 1) << "the capture is heard whole";
    EXPECT_EQ(Mix_Playing(-1), static_cast<int>(1 + 1 + effectChannelCount));

    audio.stopAll();
    EXPECT_EQ(Mix_Playing(-1), 0);
    audio.loop(0, shortTone, {}, 40); // a loop starts again after a stop
    EXPECT_EQ(Mix_Playing(0), 1);
    audio.loop(0, 0, {}, 0);
    EXPECT_EQ(Mix_Playing(0), 0);
    audio.close();
}

} // namespace
