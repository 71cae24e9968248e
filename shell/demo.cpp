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
#include "world/player.hpp"
#include "sim/update_frame.hpp"
#include "world/world.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace {

using SteadyClock = std::chrono::steady_clock;

// Clock reads one step may make: two per computer player at most, far below this.
constexpr u32 maxReadsPerStep = 255;

// The demo of this run. One record, reset by resetDemo().
struct DemoSession {
    DemoMode mode = DemoMode::None;
    std::string file;
    u32 stepsDone = 0;  // steps recorded or played
    u64 framesDrawn = 0; // frames composed since the match started

    // Recording.
    std::unique_ptr<DemoWriter> writer;
    DemoStep pending;              // the step now running
    u32 reads[maxReadsPerStep] = {}; // its clock values
    u32 readCount = 0;
    u32 togglesSinceStep = 0;      // DemoToggle bits flipped since the step before
    u32 refillsSinceStep = 0;
    SteadyClock::time_point lastFlush;

    // Playing.
    std::optional<Demo> demo;
    u32 readAt = 0;       // next recorded clock value to hand out
    u32 readEnd = 0;      // one past the step's last value
    u32 lastRead = 0;     // the value handed out last
    u32 firstBadCheck = 0; // number (from 1) of the first check value that differs; 0 none
    bool finished = false; // the last step was played and matched
    SteadyClock::time_point started;
};

DemoSession session;

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
    if (session.readCount < maxReadsPerStep) session.reads[session.readCount++] = now;
    return now;
}

void beginRecording() {
    DemoHeader header;
    header.playerChoice = menu->playerChoice;
    header.width = static_cast<u16>(screen->maxX + 1);
    header.height = static_cast<u16>(screen->maxY + 1);
    header.cockpit = menu->cockpit;
    header.windowed = menu->windowed;
    header.realisticSky = menu->realisticSky;
    header.startSeconds = wholeSeconds();
    const char* level = levelFileName(menu->level);
    header.levelFile = level ? level : "";
    session.writer = std::make_unique<DemoWriter>();
    if (!session.writer->open(session.file, header))
        failDemo("Error: cannot write the demo " + session.file + "!");
    session.lastFlush = SteadyClock::now();
    setMatchClockHook(recordedClock);
}

void recordStepStart() {
    DemoStep& step = session.pending;
    step.controls = world::state.playerCount > 0 ? controlsOf(*world::state.players[0]) : 0;
    step.toggles = static_cast<u8>(session.togglesSinceStep);
    step.refills = static_cast<u8>(session.refillsSinceStep);
    session.togglesSinceStep = 0;
    session.refillsSinceStep = 0;
    session.readCount = 0;
}

void finishRecording() {
    if (!session.writer || !session.writer->isOpen()) return;
    session.writer->finish(session.stepsDone, matchDigest());
}

void recordStepDone() {
    DemoWriter& writer = *session.writer;
    writer.step(session.pending, session.reads, session.readCount);
    ++session.stepsDone;
    if (session.stepsDone % demoCheckInterval == 0) writer.check(matchCheckValue());
    // The winner's frame ends the program: the recording ends with it.
    if (winner != -1) {
        finishRecording();
        return;
    }
    // A recording cut short by a kill keeps all but its last second.
    const SteadyClock::time_point now = SteadyClock::now();
    if (now - session.lastFlush >= std::chrono::milliseconds(500)) {
        writer.flush();
        session.lastFlush = now;
    }
}

// ---- Playing ----

// The match clock while playing: the recorded values, never the real clock. A
// replay that has gone its own way may ask for more than were recorded; it gets
// the last value again, and its check values will tell.
u32 playedClock() {
    if (session.readAt < session.readEnd) session.lastRead = session.demo->clockReads[session.readAt++];
    return session.lastRead;
}

void playStepStart() {
    const DemoStep& step = session.demo->steps[session.stepsDone];
    if (step.toggles & demoToggleFrameCounter) showFps ^= 1;
    if (step.toggles & demoToggleOutline) menu->renderToggle ^= 1;
    if (world::state.playerCount > 0) {
        Player& human = *world::state.players[0];
        for (u8 i = 0; i < step.refills; ++i) refillSupplies(human);
        setControls(human, step.controls);
    }
    session.readAt = step.firstClockRead;
    session.readEnd = step.firstClockRead + step.clockReads;
}

// The steps within which the replay first left the recording: those after the
// last check value that agreed.
std::string differingSteps(u32 lastStep) {
    u32 to = lastStep;
    if (session.firstBadCheck != 0) to = session.firstBadCheck * demoCheckInterval;
    const u32 compared = std::min(static_cast<u32>(session.demo->checks.size()), (to - 1) / demoCheckInterval);
    const u32 from = compared * demoCheckInterval + 1;
    return from == to ? "in step " + std::to_string(to)
                      : "between step " + std::to_string(from) + " and step " + std::to_string(to);
}

void playStepDone() {
    const Demo& demo = *session.demo;
    ++session.stepsDone;
    const u32 step = session.stepsDone;
    if (step % demoCheckInterval == 0 && session.firstBadCheck == 0) {
        const size_t k = step / demoCheckInterval - 1;
        if (k < demo.checks.size() && demo.checks[k] != matchCheckValue())
            session.firstBadCheck = static_cast<u32>(k + 1);
    }
    const bool last = step == demo.steps.size();
    if (!last && winner == -1) return;
    // The recording ended here (at its last step, or with the winner it found).
    const bool same = last && session.firstBadCheck == 0 && (!demo.complete || demo.digest == matchDigest());
    if (!same)
        failDemo("Error: the demo " + session.file + " does not replay as recorded: the match first differs " +
                 differingSteps(step) + "!");
    session.finished = true;
    // Without a winner the program ends after this pass's frames.
    if (winner == -1) RequestQuit();
}

void printTimedemo() {
    const double seconds =
        std::chrono::duration<double>(SteadyClock::now() - session.started).count();
    const double frames = static_cast<double>(session.framesDrawn);
    std::printf("timedemo %s: %u steps, %llu frames, %.3f seconds, %.1f frames per second, "
                "%.3f ms per frame\n",
                session.file.c_str(), session.stepsDone,
                static_cast<unsigned long long>(session.framesDrawn), seconds,
                seconds > 0 ? frames / seconds : 0.0, frames > 0 ? seconds * 1000 / frames : 0.0);
    std::fflush(stdout);
}

} // namespace

void prepareDemo(const DemoRequest& request) {
    session.mode = request.mode;
    session.file = request.file;
    if (request.mode == DemoMode::None) return;
    if (request.mode == DemoMode::Record) {
        // Found out now rather than after a match has been played.
        std::FILE* file = std::fopen(request.file.c_str(), "ab");
        if (!file) failDemo("Error: cannot write the demo " + request.file + "!");
        std::fclose(file);
        return;
    }
    std::string error;
    session.demo = readDemo(request.file, error);
    if (!session.demo) failDemo(error);
    const std::string& level = session.demo->header.levelFile;
    if (std::FILE* file = openDataFile(level)) {
        std::fclose(file);
    } else {
        failDemo("Error: the level " + level + " of the demo " + request.file + " does not exist!");
    }
}

bool demoActive() { return session.mode != DemoMode::None; }

bool demoPlaying() { return session.mode == DemoMode::Play || session.mode == DemoMode::Time; }

const char* demoLevelFile() {
    return demoPlaying() ? session.demo->header.levelFile.c_str() : levelFileName(menu->level);
}

void startDemoMatch() {
    const DemoHeader& h = session.demo->header;
    GameMenu& m = *menu;
    m.playerChoice = h.playerChoice;
    m.highResolution = h.width == 640 ? 1 : 0;
    m.cockpit = h.cockpit;
    m.windowed = h.windowed;
    m.realisticSky = h.realisticSky;
    StartMatch();
}

void beginDemo() {
    session.stepsDone = 0;
    session.framesDrawn = 0;
    if (session.mode == DemoMode::Record) {
        beginRecording();
        return;
    }
    session.lastRead = session.demo->header.startSeconds;
    setMatchClockHook(playedClock);
    if (session.mode == DemoMode::Time) frameSwapWait = 0;
    session.started = SteadyClock::now();
    // A demo without a step has nothing to show.
    session.finished = session.demo->steps.empty();
}

void DemoUpdateFrame() {
    if (demoPlaying()) {
        if (session.finished) { // nothing left to play: the program ends after this pass
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
    ++session.framesDrawn;
    DrawFrame();
}

void DemoDrawFrame() {
    ++session.framesDrawn;
    DrawFrame();
}

void noteRefill() {
    if (session.mode == DemoMode::Record && session.refillsSinceStep < 255) ++session.refillsSinceStep;
}

void noteToggle(u8 demoToggle) {
    if (session.mode == DemoMode::Record) session.togglesSinceStep ^= demoToggle;
}

bool keyboardDrivesHuman() { return !demoPlaying(); }

bool winnerWaitSkipped() { return session.mode == DemoMode::Time; }

bool demoTimed() { return session.mode == DemoMode::Time; }

int endDemo(int code) {
    switch (session.mode) {
    case DemoMode::Record: finishRecording(); break;
    case DemoMode::Time: printTimedemo(); break;
    default: break;
    }
    setMatchClockHook(nullptr);
    return code;
}

u32 demoStepsDone() { return session.stepsDone; }

void resetDemo() {
    session.writer.reset();
    session = DemoSession{};
    setMatchClockHook(nullptr);
}
