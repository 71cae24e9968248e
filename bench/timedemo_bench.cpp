// The game as a player sees it, timed: every shipped demo played with -timedemo
// on the memory platform at 640x480 with the cockpit and at 320x240 without it,
// each frame composed exactly as in play. Each line sets the processor
// milliseconds per composed frame (the whole run, simulation and loading
// included, over the frames shown) beside the time of one plain memory write of
// a frame of that size, measured in the same run; the ratio is the number to
// compare between versions.
//
//   timedemo_bench [--width 640|320] [DEMO...]   (default: both sizes, every demo in data/demos)
#include "base/program_exit.hpp"
#include "framework/memory_platform.hpp"
#include "shell/reset_game.hpp"
#include "shell/startup.hpp"
#include "sim/demo_file.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Processor time of this process in milliseconds: other work on a shared machine
// disturbs it far less than the wall clock.
double processorMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

namespace {

struct Setting {
    const char* name;
    u16 width, height;
    u32 cockpit;
};

constexpr Setting settings[] = {{"640x480 cockpit", 640, 480, 1}, {"320x240 plain", 320, 240, 0}};

// The demo again with other display settings; the match itself is the same.
bool rewriteWith(const Demo& demo, const Setting& s, const fs::path& to) {
    DemoHeader h = demo.header;
    h.width = s.width;
    h.height = s.height;
    h.cockpit = s.cockpit;
    h.windowed = 0;
    DemoWriter w;
    if (!w.open(to.string(), h)) return false;
    for (size_t i = 0; i < demo.steps.size(); ++i) {
        const DemoStep& step = demo.steps[i];
        w.step(step, demo.clockReads.data() + step.firstClockRead, step.clockReads);
        if ((i + 1) % demoCheckInterval == 0) w.check(demo.checks[(i + 1) / demoCheckInterval - 1]);
    }
    if (demo.complete) w.finish(static_cast<u32>(demo.steps.size()), demo.digest);
    return true;
}

// Milliseconds of one write of every byte of a frame, the best of many.
double frameWriteMilliseconds(size_t bytes) {
    std::vector<u8> frame(bytes);
    double best = 1e9;
    for (int round = 0; round < 50; ++round) {
        const auto start = Clock::now();
        for (int i = 0; i < 20; ++i) {
            std::memset(frame.data(), round + i, frame.size());
            asm volatile("" : : "r"(frame.data()) : "memory");
        }
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count() / 20);
    }
    return best;
}

// A demo that ends with a winner ends the game through its exit path; the bench
// sees that end here and goes on with the next demo.
struct GameEnded {
    int code;
};

[[noreturn]] void throwGameEnded(int code) {
    throw GameEnded{code};
}

int runGame(int argc, char** argv) {
    setExitHook(throwGameEnded);
    int code;
    try {
        code = GameMain(argc, argv);
    } catch (const GameEnded& end) {
        code = end.code;
    }
    setExitHook(nullptr);
    return code;
}

} // namespace

int main(int argc, char** argv) {
    const fs::path data = TESSARON_DATA_DIR;
    std::vector<fs::path> demos;
    u16 onlyWidth = 0; // 0: both sizes
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--width") == 0 && i + 1 < argc)
            onlyWidth = static_cast<u16>(std::atoi(argv[++i]));
        else
            demos.push_back(fs::absolute(argv[i]));
    }
    if (demos.empty())
        for (const auto& entry : fs::directory_iterator(data / "demos")) demos.push_back(entry.path());
    std::sort(demos.begin(), demos.end());
    fs::current_path(data);
    const fs::path scratch = fs::temp_directory_path() / "tessaron-timedemo-bench.dem";

    for (const Setting& s : settings) {
        if (onlyWidth != 0 && s.width != onlyWidth) continue;
        const double write = frameWriteMilliseconds(size_t{s.width} * s.height * 3);
        for (const fs::path& path : demos) {
            std::string error;
            const std::optional<Demo> demo = readDemo(path.string(), error);
            if (!demo || !rewriteWith(*demo, s, scratch)) {
                std::fprintf(stderr, "%s\n", demo ? "cannot write the scratch demo" : error.c_str());
                return 1;
            }
            resetGame();
            MemoryPlatform& machine = useMemoryPlatform(1024, 768);
            std::string file = scratch.string();
            char name[] = "tessaron3d", option[] = "-timedemo";
            char* args[] = {name, option, file.data()};
            const double start = processorMilliseconds();
            const int code = runGame(3, args);
            const double ms = processorMilliseconds() - start;
            if (code != 0) return code;
            const double perFrame = ms / machine.framesPresented;
            std::printf("%-16s %-14s %5zu steps %5u frames: %.3f ms per composed frame, %.1f times one "
                        "plain write of the frame (%.4f ms)\n",
                        path.filename().c_str(), s.name, demo->steps.size(), machine.framesPresented,
                        perFrame, perFrame / write, write);
        }
    }
    resetGame();
    fs::remove(scratch);
    return 0;
}
