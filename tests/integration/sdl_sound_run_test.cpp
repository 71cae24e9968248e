// The real game on the real back end: SDL with its display-less video driver
// and its "disk" audio driver, which writes the mixed sound to a file (16-bit
// stereo at 44100 Hz). Keys come from a script, handed to the game as the SDL
// back end would hand them. The file shows a shot heard when it is fired, a
// sound on the right louder in the right channel, and the mute key's silence.
// Without a sound device the same game plays on silently.
#include "framework/framework_state.hpp"
#include "framework/sdl_platform.hpp"
#include "render/view.hpp"
#include "shell/match_sound.hpp"
#include "shell/reset_game.hpp"
#include "shell/sound_bank.hpp"
#include "shell/startup.hpp"
#include "sim/match_events.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr u32 sampleRate = 44100;

// The SDL back end, with key presses of a script added to its messages at chosen
// passes, and the time each pass began and the sound opened.
class ScriptedSdl final : public Platform {
  public:
    std::map<u32, std::vector<PlatformMessage>> script;
    std::map<u32, u32> passStart;     // pass -> milliseconds
    u32 soundOpened = 0;              // milliseconds
    std::map<u32, void (*)()> atPass; // run as the pass begins

    void key(u32 pass, u8 scanCode, bool down) {
        PlatformMessage m;
        m.kind = down ? MessageKind::KeyDown : MessageKind::KeyUp;
        m.scanCode = scanCode;
        script[pass].push_back(m);
    }
    void tap(u32 pass, u8 scanCode) {
        key(pass, scanCode, true);
        key(pass + 1, scanCode, false);
    }

    bool openDisplay(DisplayHardware& hardware) override { return real.openDisplay(hardware); }
    void closeDisplay() override { real.closeDisplay(); }
    bool createWindow(const char* title, bool canMaximise) override {
        return real.createWindow(title, canMaximise);
    }
    void destroyWindow() override { real.destroyWindow(); }
    void setWindowIcon(const WindowIcon& icon) override { real.setWindowIcon(icon); }
    FrameExtent frameExtent() override { return real.frameExtent(); }
    WindowPlace windowPlace() override { return real.windowPlace(); }
    void showWindow(WindowPlace place, u32 width, u32 height) override {
        real.showWindow(place, width, height);
    }
    bool enterFullScreen(u32 width, u32 height) override { return real.enterFullScreen(width, height); }
    void present(const PresentedFrame& frame) override { real.present(frame); }
    void repaint() override { real.repaint(); }
    bool pollMessage(PlatformMessage& message) override {
        auto due = script.find(pass);
        if (due != script.end() && !due->second.empty()) {
            message = due->second.front();
            message.time = real.milliseconds();
            due->second.erase(due->second.begin());
            return true;
        }
        return real.pollMessage(message);
    }
    void waitMessage(u32 ms) override { real.waitMessage(std::min<u32>(ms, 10)); }
    void idle(u32 ms) override { real.idle(std::min<u32>(ms, 10)); }
    void postMessage(const PlatformMessage& message) override { real.postMessage(message); }
    void startPass() override {
        ++pass;
        passStart[pass] = real.milliseconds();
        if (auto hook = atPass.find(pass); hook != atPass.end()) hook->second();
        real.startPass();
    }
    u32 milliseconds() override { return real.milliseconds(); }
    bool askYesNo(const char* text, const char* title) override { return real.askYesNo(text, title); }
    void showError(const char* text, const char* title) override { real.showError(text, title); }
    AudioOutput& audio() override { return sound; }

  private:
    // The real sound output, noting when it opened.
    class NotedAudio final : public AudioOutput {
      public:
        NotedAudio(ScriptedSdl& owner) : owner_(owner) {}
        bool open(std::string& failure) override {
            const bool opened = owner_.real.audio().open(failure);
            owner_.soundOpened = owner_.real.milliseconds();
            return opened;
        }
        void close() override { owner_.real.audio().close(); }
        SoundHandle load(const std::string& name, const std::vector<u8>& wav, std::string& failure) override {
            return owner_.real.audio().load(name, wav, failure);
        }
        void play(SoundHandle s, SoundLane lane, SoundPlace place, u8 volume) override {
            owner_.real.audio().play(s, lane, place, volume);
        }
        void loop(u32 voice, SoundHandle s, SoundPlace place, u8 volume) override {
            owner_.real.audio().loop(voice, s, place, volume);
        }
        void stopAll() override { owner_.real.audio().stopAll(); }

      private:
        ScriptedSdl& owner_;
    };

    SdlPlatform real;
    NotedAudio sound{*this};
    u32 pass = 0;
};

// The mixed output: left and right samples, interleaved.
std::vector<i16> readSamples(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<i16> samples;
    i16 sample = 0;
    while (in.read(reinterpret_cast<char*>(&sample), sizeof sample)) samples.push_back(sample);
    return samples;
}

// Energy of one channel (0 left, 1 right) from `from` to `to` milliseconds.
f64 energy(const std::vector<i16>& samples, u32 channel, f64 fromMs, f64 toMs) {
    const size_t first = static_cast<size_t>(std::max(0.0, fromMs) * sampleRate / 1000);
    const size_t last = std::min(samples.size() / 2, static_cast<size_t>(toMs * sampleRate / 1000));
    f64 sum = 0;
    for (size_t i = first; i < last; ++i)
        sum += static_cast<f64>(samples[2 * i + channel]) * samples[2 * i + channel];
    return sum / std::max<size_t>(1, last - first);
}

f64 both(const std::vector<i16>& samples, f64 fromMs, f64 toMs) {
    return energy(samples, 0, fromMs, toMs) + energy(samples, 1, fromMs, toMs);
}

// A click at the listener: a mark in the file a moment before the shot.
void clickHere() {
    PlayEffect(Effect::MenuMove, SoundLane::Effect, {}, 56);
}

// A shot hitting a car one cell to the right of the human's view.
void hitOnTheRight() {
    const Camera& eye = *world::state.players[0]->camera;
    constexpr f32 cellUnits = 65536.0f;
    const u32 x = static_cast<u32>(static_cast<i64>(eye.x) - truncToInt(eye.cosHeading * cellUnits));
    const u32 y = static_cast<u32>(static_cast<i64>(eye.y) + truncToInt(eye.sinHeading * cellUnits));
    EXPECT_EQ(soundPlaceFrom(eye, x, y).angle, 90);
    tellMatchEvent(matchEventAt(MatchEventKind::ShotHitCar, x, y, 1, 0));
}

class SdlSoundRun : public testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        previousDirectory = fs::current_path();
        output = fs::temp_directory_path() / ("tessaron_disk_" + std::to_string(::getpid()) + ".raw");
        resetGame();
        auto chosen = std::make_unique<ScriptedSdl>();
        machine = chosen.get();
        selectPlatform(std::move(chosen));
        fs::current_path(TESSARON_DATA_DIR);
    }
    void TearDown() override {
        resetGame();
        selectPlatform(nullptr);
        fs::current_path(previousDirectory);
        fs::remove(output);
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
    }
    int run() {
        char name[] = "tessaron3d";
        char* argv[] = {name, nullptr};
        return GameMain(1, argv);
    }
    // Milliseconds into the sound file at which a pass began. The disk driver
    // keeps its own pace (a few per cent off the clock), so the file is read
    // against itself: its first sound is the menu's click at the pass that
    // started the match, and its rate is its length over the time from there to
    // the last pass.
    f64 fileTime(u32 pass, u32 firstPass, u32 lastPass, f64 firstSound, size_t frames) const {
        const f64 span = static_cast<f64>(machine->passStart.at(lastPass)) - machine->passStart.at(firstPass);
        const f64 rate = (static_cast<f64>(frames) * 1000 / sampleRate - firstSound) / span;
        return firstSound +
               (static_cast<f64>(machine->passStart.at(pass)) - machine->passStart.at(firstPass)) * rate;
    }

    ScriptedSdl* machine = nullptr;
    fs::path output;
    fs::path previousDirectory;
};

TEST_F(SdlSoundRun, AShotIsHeardWhenFiredOnTheRightOnTheRightAndNotAtAllWhenMuted) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    constexpr u32 start = 2, mark = 45, fire = 60, right = 100, mute = 130, mutedFire = 140, end = 170;
    machine->tap(start, scanEnter);
    machine->atPass[mark] = clickHere;
    machine->tap(fire, scanSpace);
    machine->atPass[right] = hitOnTheRight;
    machine->tap(mute, scanS);
    machine->tap(mutedFire, scanSpace);
    machine->tap(end, scanEsc);
    testing::internal::CaptureStderr();
    ASSERT_EQ(run(), 0);
    // (SDL itself warns that the disk driver is in use.)
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.find("Sound:"), std::string::npos) << "sound opened and every effect loaded";

    const std::vector<i16> samples = readSamples(output);
    const size_t frames = samples.size() / 2;
    ASSERT_GT(frames, sampleRate * 3u) << "three seconds and more of sound";
    const auto firstNonZero = std::find_if(samples.begin(), samples.end(), [](i16 s) { return s != 0; });
    ASSERT_NE(firstNonZero, samples.end());
    const f64 menuClick = static_cast<f64>(firstNonZero - samples.begin()) / 2 * 1000 / sampleRate;
    const auto at = [&](u32 pass) { return fileTime(pass, start, end, menuClick, frames); };

    // Before the click only the engine idles, the same in both ears. The click
    // and then the shot stand out far above the engine's loudest puff; the shot
    // comes as long after the click as it was fired after it, give or take a few
    // buffers (on a busy machine the disk driver's own pace slips behind the
    // clock by a tenth or more).
    const f64 marked = at(mark);
    EXPECT_GT(both(samples, marked - 700, marked - 300), 0) << "the engine idles";
    EXPECT_EQ(energy(samples, 0, marked - 700, marked - 300), energy(samples, 1, marked - 700, marked - 300));
    f64 loudestPuff = 0;
    for (f64 t = marked - 700; t < marked - 300; t += 5)
        loudestPuff = std::max(loudestPuff, both(samples, t, t + 10));
    const auto onsetAfter = [&](f64 from, f64 to) {
        for (f64 t = from; t < to; t += 5)
            if (both(samples, t, t + 10) > 3 * loudestPuff) return t;
        return -1.0;
    };
    const f64 click = onsetAfter(marked - 300, marked + 300);
    ASSERT_GE(click, 0) << "no click heard near " << marked << " ms";
    const f64 expected = click + static_cast<f64>(machine->passStart.at(fire)) - machine->passStart.at(mark);
    const f64 onset = onsetAfter(click + 250, expected + 400);
    ASSERT_GE(onset, 0) << "no shot heard near " << expected << " ms";
    EXPECT_GT(onset, expected - 150) << "heard before it was fired, at " << expected << " ms";
    EXPECT_LT(onset, expected + 150) << "heard late after " << expected << " ms";

    // The hit on the right: everything else is heard straight ahead or nearly
    // (the shot's end far ahead), about the same in both ears; where the ears
    // differ clearly, it is the right one that hears more.
    f64 firstDifference = -1;
    for (f64 t = 0; t + 10 < at(mute); t += 10) {
        const f64 left = energy(samples, 0, t, t + 10);
        const f64 rightEar = energy(samples, 1, t, t + 10);
        if (std::fabs(rightEar - left) <= 0.5 * (rightEar + left)) continue;
        if (firstDifference < 0) firstDifference = t;
        EXPECT_GT(rightEar, 2 * left) << "at " << t << " ms";
    }
    EXPECT_NEAR(firstDifference, at(right), 300) << "the hit on the right";

    // Muted: nothing at all, not even the shot fired in the silence.
    const size_t from = static_cast<size_t>((at(mute) + 150) * sampleRate / 1000);
    const size_t to = static_cast<size_t>((at(end) - 50) * sampleRate / 1000);
    ASSERT_LT(from + sampleRate / 2, to);
    i32 loudest = 0;
    for (size_t i = 2 * from; i < 2 * to; ++i) loudest = std::max<i32>(loudest, std::abs(samples[i]));
    EXPECT_EQ(loudest, 0);
}

TEST_F(SdlSoundRun, WithoutASoundDeviceTheGameStartsAndPlaysOnWithOneLine) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    machine->tap(2, scanEnter);
    machine->tap(10, scanSpace);
    machine->tap(40, scanEsc);
    testing::internal::CaptureStderr();
    const auto began = std::chrono::steady_clock::now();
    ASSERT_EQ(run(), 0);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind("Sound: ", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("playing on without sound.\n"), std::string::npos) << said;
    // Forty passes at thirty a second: no wait for a device that is not there.
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(5));
    EXPECT_GE(world::state.playerCount, 2) << "the match was played";
}

} // namespace
