#include "shell/demo.hpp"

#include "base/clock.hpp"
#include "base/data_file.hpp"
#include "base/program_exit.hpp"
#include "framework/main_loop.hpp"
#include "shell/draw_frame.hpp"
#include "shell/game_menu.hpp"
#include "shell/key_bindings.hpp"
#include "shell/pause.hpp"
#include "shell/shell_state.hpp"
#include "sim/demo_file.hpp"
#include "sim/match_digest.hpp"
#include "sim/match_state.hpp"
#include "sim/update_frame.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace {

[[noreturn]] void failDemo(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    exitProgram(1);
}

u8 controlsOf(const Player& p) {
    return static_cast<u8>((p.accelerate ? demoAccelerate : 0) | (p.brake ? demoBrake : 0) |
                           (p.turnLeft ? demoTurnLeft : 0) | (p.turnRight ? demoTurnRight : 0) |
                           (p.dropFlag ? demoDropFlag : 0) | (p.layMine ? demoLayMine : 0) |
                           (p.fire ? demoFire : 0));
}

void setControls(Player& p, u8 controls) {
    p.accelerate = (controls & demoAccelerate) ? 1 : 0;
    p.brake = (controls & demoBrake) ? 1 : 0;
    p.turnLeft = (controls & demoTurnLeft) ? 1 : 0;
    p.turnRight = (controls & demoTurnRight) ? 1 : 0;
    p.dropFlag = (controls & demoDropFlag) ? 1 : 0;
    p.layMine = (controls & demoLayMine) ? 1 : 0;
    p.fire = (controls & demoFire) ? 1 : 0;
}

// ---- Recording ----

// The match clock while recording: the played seconds (the real clock without
// the pauses), every value noted.
u32 recordedClock() {
    const u32 now = playedSeconds();
    if (shell::state.demo.readCount < maxReadsPerStep)
        shell::state.demo.reads[shell::state.demo.readCount++] = now;
    return now;
}

void beginRecording() {
    DemoHeader header;
    header.playerChoice = shell::state.gameMenu->playerChoice;
    header.width = static_cast<u16>(shell::state.currentScreen->maxX + 1);
    header.height = static_cast<u16>(shell::state.currentScreen->maxY + 1);
    header.cockpit = shell::state.gameMenu->cockpit;
    header.windowed = shell::state.gameMenu->windowed;
    header.realisticSky = shell::state.gameMenu->realisticSky;
    header.startSeconds = wholeSeconds();
    const char* level = levelFileName(shell::state.gameMenu->level);
    header.levelFile = level ? level : "";
    shell::state.demo.writer = std::make_unique<DemoWriter>();
    if (!shell::state.demo.writer->open(shell::state.demo.file, header))
        failDemo("Error: cannot write the demo " + shell::state.demo.file + "!");
    shell::state.demo.lastFlush = SteadyClock::now();
    setMatchClockHook(recordedClock);
}

void recordStepStart() {
    DemoStep& step = shell::state.demo.pending;
    step.controls = world::state.playerCount > 0 ? controlsOf(*world::state.players[0]) : 0;
    step.toggles = static_cast<u8>(shell::state.demo.togglesSinceStep);
    step.refills = static_cast<u8>(shell::state.demo.refillsSinceStep);
    shell::state.demo.togglesSinceStep = 0;
    shell::state.demo.refillsSinceStep = 0;
    shell::state.demo.readCount = 0;
}

void finishRecording() {
    if (!shell::state.demo.writer || !shell::state.demo.writer->isOpen()) return;
    shell::state.demo.writer->finish(shell::state.demo.stepsDone, matchDigest());
}

void recordStepDone() {
    DemoWriter& writer = *shell::state.demo.writer;
    writer.step(shell::state.demo.pending, shell::state.demo.reads, shell::state.demo.readCount);
    ++shell::state.demo.stepsDone;
    if (shell::state.demo.stepsDone % demoCheckInterval == 0) writer.check(matchCheckValue());
    // The winner's frame ends the program: the recording ends with it.
    if (sim::match.winner != -1) {
        finishRecording();
        return;
    }
    // A recording cut short by a kill keeps all but its last second.
    const SteadyClock::time_point now = SteadyClock::now();
    if (now - shell::state.demo.lastFlush >= std::chrono::milliseconds(500)) {
        writer.flush();
        shell::state.demo.lastFlush = now;
    }
}

// ---- Playing ----

// The match clock while playing: the recorded values, never the real clock. A
// replay that has gone its own way may ask for more than were recorded; it gets
// the last value again, and its check values will tell.
u32 playedClock() {
    if (shell::state.demo.readAt < shell::state.demo.readEnd)
        shell::state.demo.lastRead = shell::state.demo.demo->clockReads[shell::state.demo.readAt++];
    return shell::state.demo.lastRead;
}

void playStepStart() {
    const DemoStep& step = shell::state.demo.demo->steps[shell::state.demo.stepsDone];
    if (step.toggles & demoToggleFrameCounter) shell::state.showFps ^= 1;
    if (step.toggles & demoToggleOutline) shell::state.gameMenu->renderToggle ^= 1;
    if (world::state.playerCount > 0) {
        Player& human = *world::state.players[0];
        for (u8 i = 0; i < step.refills; ++i) refillSupplies(human);
        setControls(human, step.controls);
    }
    shell::state.demo.readAt = step.firstClockRead;
    shell::state.demo.readEnd = step.firstClockRead + step.clockReads;
}

// The steps within which the replay first left the recording: those after the
// last check value that agreed.
std::string differingSteps(u32 lastStep) {
    u32 to = lastStep;
    if (shell::state.demo.firstBadCheck != 0) to = shell::state.demo.firstBadCheck * demoCheckInterval;
    const u32 compared =
        std::min(static_cast<u32>(shell::state.demo.demo->checks.size()), (to - 1) / demoCheckInterval);
    const u32 from = compared * demoCheckInterval + 1;
    return from == to ? "in step " + std::to_string(to)
                      : "between step " + std::to_string(from) + " and step " + std::to_string(to);
}

void playStepDone() {
    const Demo& demo = *shell::state.demo.demo;
    ++shell::state.demo.stepsDone;
    const u32 step = shell::state.demo.stepsDone;
    if (step % demoCheckInterval == 0 && shell::state.demo.firstBadCheck == 0) {
        const size_t k = step / demoCheckInterval - 1;
        if (k < demo.checks.size() && demo.checks[k] != matchCheckValue())
            shell::state.demo.firstBadCheck = static_cast<u32>(k + 1);
    }
    const bool last = step == demo.steps.size();
    if (!last && sim::match.winner == -1) return;
    // The recording ended here (at its last step, or with the winner it found).
    const bool same =
        last && shell::state.demo.firstBadCheck == 0 && (!demo.complete || demo.digest == matchDigest());
    if (!same)
        failDemo("Error: the demo " + shell::state.demo.file +
                 " does not replay as recorded: the match first differs " + differingSteps(step) + "!");
    shell::state.demo.finished = true;
    // Without a winner the program ends after this pass's frames.
    if (sim::match.winner == -1) RequestQuit();
}

void printTimedemo() {
    const double seconds =
        std::chrono::duration<double>(SteadyClock::now() - shell::state.demo.started).count();
    const double frames = static_cast<double>(shell::state.demo.framesDrawn);
    std::printf("timedemo %s: %u steps, %llu frames, %.3f seconds, %.1f frames per second, "
                "%.3f ms per frame\n",
                shell::state.demo.file.c_str(), shell::state.demo.stepsDone,
                static_cast<unsigned long long>(shell::state.demo.framesDrawn), seconds,
                seconds > 0 ? frames / seconds : 0.0, frames > 0 ? seconds * 1000 / frames : 0.0);
    std::fflush(stdout);
}

} // namespace

void prepareDemo(const DemoRequest& request) {
    shell::state.demo.mode = request.mode;
    shell::state.demo.file = request.file;
    if (request.mode == DemoMode::None) return;
    if (request.mode == DemoMode::Record) {
        // Found out now rather than after a match has been played.
        std::FILE* file = std::fopen(request.file.c_str(), "ab");
        if (!file) failDemo("Error: cannot write the demo " + request.file + "!");
        std::fclose(file);
        return;
    }
    std::string error;
    shell::state.demo.demo = readDemo(request.file, error);
    if (!shell::state.demo.demo) failDemo(error);
    const std::string& level = shell::state.demo.demo->header.levelFile;
    if (std::FILE* file = openDataFile(level)) {
        std::fclose(file);
    } else {
        failDemo("Error: the level " + level + " of the demo " + request.file + " does not exist!");
    }
}

bool demoActive() {
    return shell::state.demo.mode != DemoMode::None;
}

bool demoPlaying() {
    return shell::state.demo.mode == DemoMode::Play || shell::state.demo.mode == DemoMode::Time;
}

const char* demoLevelFile() {
    return demoPlaying() ? shell::state.demo.demo->header.levelFile.c_str()
                         : levelFileName(shell::state.gameMenu->level);
}

void startDemoMatch() {
    const DemoHeader& h = shell::state.demo.demo->header;
    GameMenu& m = *shell::state.gameMenu;
    m.playerChoice = h.playerChoice;
    m.highResolution = h.width == 640 ? 1 : 0;
    m.cockpit = h.cockpit;
    m.windowed = h.windowed;
    m.realisticSky = h.realisticSky;
    StartMatch();
}

void beginDemo() {
    shell::state.demo.stepsDone = 0;
    shell::state.demo.framesDrawn = 0;
    if (shell::state.demo.mode == DemoMode::Record) {
        beginRecording();
        return;
    }
    shell::state.demo.lastRead = shell::state.demo.demo->header.startSeconds;
    setMatchClockHook(playedClock);
    if (shell::state.demo.mode == DemoMode::Time) shell::state.frameSwapWait = 0;
    shell::state.demo.started = SteadyClock::now();
    // A demo without a step has nothing to show.
    shell::state.demo.finished = shell::state.demo.demo->steps.empty();
}

void DemoUpdateFrame() {
    if (demoPlaying()) {
        if (shell::state.demo.finished) { // nothing left to play: the program ends after this pass
            RequestQuit();
            return;
        }
        playStepStart();
    } else {
        recordStepStart();
    }
    UpdateFrame();
}

void DemoStepDone() {
    if (demoPlaying())
        playStepDone();
    else
        recordStepDone();
    ++shell::state.demo.framesDrawn;
    DrawFrame();
}

void DemoDrawFrame() {
    ++shell::state.demo.framesDrawn;
    DrawFrame();
}

void noteRefill() {
    if (shell::state.demo.mode == DemoMode::Record && shell::state.demo.refillsSinceStep < 255)
        ++shell::state.demo.refillsSinceStep;
}

void noteToggle(u8 demoToggle) {
    if (shell::state.demo.mode == DemoMode::Record) shell::state.demo.togglesSinceStep ^= demoToggle;
}

bool keyboardDrivesHuman() {
    return !demoPlaying();
}

bool winnerWaitSkipped() {
    return shell::state.demo.mode == DemoMode::Time;
}

bool demoTimed() {
    return shell::state.demo.mode == DemoMode::Time;
}

int endDemo(int code) {
    switch (shell::state.demo.mode) {
    case DemoMode::Record: finishRecording(); break;
    case DemoMode::Time: printTimedemo(); break;
    default: break;
    }
    setMatchClockHook(nullptr);
    return code;
}

u32 demoStepsDone() {
    return shell::state.demo.stepsDone;
}

void resetDemo() {
    shell::state.demo.writer.reset();
    shell::state.demo = DemoSession{};
    setMatchClockHook(nullptr);
}
