// The game's sound, heard through the memory platform's sound output: what the
// menu and a match play, the mute key, -nosound, and a game that plays on when
// there is no sound device or an effect cannot be read.
#include "game_run.hpp"

#include "world/world.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class SoundRun : public GameRun {
  protected:
    // The effects played, as "pass name" lines.
    std::vector<std::string> playedNames() const {
        std::vector<std::string> names;
        for (const MemoryAudio::Played& p : machine->sound.played) names.push_back(p.name);
        return names;
    }
    u32 timesPlayed(const std::string& name) const {
        const auto names = playedNames();
        return static_cast<u32>(std::count(names.begin(), names.end(), name));
    }
    // What the engine voices held at the end of a pass.
    void watchLoopsAt(u32 pass) {
        machine->frameObserver = [this, pass](const PresentedFrame&) {
            if (machine->pass() == pass) loopsSeen = machine->sound.loops;
        };
    }
    std::array<MemoryAudio::Loop, loopVoiceCount> loopsSeen;
};

TEST_F(SoundRun, TheMenuAndAMatchPlayAndTheSKeyMutesAndUnmutes) {
    tap(scanDown);
    tap(scanUp);
    startMatch();
    idle(4);
    tap(scanSpace); // the human's own shot: ahead, at the car
    const u32 shotPass = scriptPass - 2;
    idle(4);
    watchLoopsAt(scriptPass);
    idle(2);
    tap(scanS); // mute
    tap(scanSpace);
    idle(2);
    tap(scanS); // unmute
    tap(scanSpace);
    idle(2);
    ASSERT_EQ(run(), 0);

    const auto& played = machine->sound.played;
    ASSERT_GE(played.size(), 5u);
    EXPECT_EQ(played[0].name, "sounds\\menu_move.wav");
    EXPECT_EQ(played[1].name, "sounds\\menu_move.wav");
    EXPECT_EQ(played[2].name, "sounds\\menu_select.wav");
    EXPECT_EQ(played[3].name, "sounds\\shot.wav");
    EXPECT_EQ(played[3].pass, shotPass);
    EXPECT_EQ(played[3].place.angle, 0);
    EXPECT_EQ(played[3].place.distance, 0);
    EXPECT_LE(played[3].volume, fullVolume / 2) << "effects leave headroom";
    EXPECT_EQ(timesPlayed("sounds\\shot.wav"), 2u) << "the shot fired while muted is silent";
    // The human's engine idles while the car stands; the opponent is too far to hear.
    EXPECT_EQ(loopsSeen[0].name, "sounds\\engine_idle.wav");
    EXPECT_GT(loopsSeen[0].volume, 0);
    EXPECT_EQ(loopsSeen[1].name, "");
    EXPECT_EQ(loopsSeen[3].name, "");
    EXPECT_GE(machine->sound.stops, 1u) << "muting stopped everything at once";
    EXPECT_EQ(machine->sound.loops[0].starts, 2u) << "the engine came back after unmuting";
}

TEST_F(SoundRun, NoSoundOnTheCommandLineInAnyCaseOpensNoSound) {
    tap(scanDown);
    tap(scanUp);
    startMatch();
    tap(scanSpace);
    ASSERT_EQ(run({"-novga", "-NoSound"}), 0);
    EXPECT_TRUE(machine->sound.played.empty());
    EXPECT_EQ(machine->sound.loops[0].starts, 0u);
}

TEST_F(SoundRun, WithoutASoundDeviceTheGamePlaysOnSilentlyWithOneLine) {
    machine->sound.deviceAvailable = false;
    startMatch();
    idle(3);
    tap(scanSpace);
    idle(20);
    testing::internal::CaptureStderr();
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Sound: no audio device; playing on without sound.\n");
    EXPECT_TRUE(machine->sound.played.empty());
    EXPECT_GE(machine->framesPresented, 2 * 20u) << "the match went on";
}

// A run directory like the shipped one whose sounds lack one effect and have
// another damaged.
class DamagedSoundRun : public SoundRun {
  protected:
    void SetUp() override {
        SoundRun::SetUp();
        const fs::path shipped = runDirectory;
        runDirectory = fs::temp_directory_path() / ("tessaron_sounds_" + std::to_string(::getpid()));
        fs::remove_all(runDirectory);
        fs::create_directories(runDirectory / "sounds");
        for (const auto& entry : fs::directory_iterator(shipped))
            if (entry.path().filename() != "sounds")
                fs::create_directory_symlink(entry.path(), runDirectory / entry.path().filename());
        fs::remove(runDirectory / "textures.dat");
        fs::create_symlink(shipped / "textures.dat", runDirectory / "textures.dat");
        for (const auto& entry : fs::directory_iterator(shipped / "sounds"))
            fs::create_symlink(entry.path(), runDirectory / "sounds" / entry.path().filename());
        fs::remove(runDirectory / "sounds" / "shot.wav");
        fs::remove(runDirectory / "sounds" / "menu_select.wav");
        std::ofstream(runDirectory / "sounds" / "menu_select.wav") << "RIFF, but then nothing";
    }
    void TearDown() override {
        SoundRun::TearDown();
        fs::remove_all(runDirectory);
    }
};

TEST_F(DamagedSoundRun, AMissingOrDamagedEffectIsSilentWithOneLineEach) {
    tap(scanDown);
    tap(scanUp);
    startMatch();
    idle(3);
    tap(scanSpace);
    idle(3);
    testing::internal::CaptureStderr();
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Sound: sounds\\shot.wav: cannot be read; that effect stays silent.\n"
              "Sound: sounds\\menu_select.wav: not a WAVE file; that effect stays silent.\n");
    EXPECT_EQ(timesPlayed("sounds\\menu_move.wav"), 2u) << "the others play";
    EXPECT_EQ(world::state.playerCount, 2) << "the match started";
    EXPECT_EQ(timesPlayed("sounds\\shot.wav"), 0u);
    EXPECT_EQ(timesPlayed("sounds\\menu_select.wav"), 0u);
}

} // namespace
