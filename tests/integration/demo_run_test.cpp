// The shipped demos replayed through the whole game on the memory platform: each
// must reach its recorded digest through its per-step check values, compose the
// recorded frames at fixed steps (at both resolutions, filled and in outline,
// with the settings the demos were recorded with), and show a real match. The
// expected frame hashes are made by scripts/record_demos.sh.
#include "game_run.hpp"

#include "shell/demo.hpp"
#include "shell/game_menu.hpp"
#include "shell/shell_state.hpp"
#include "shell/startup.hpp"
#include "sim/demo_file.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// The steps whose first frame is hashed; 1100 lies in the outline stretch of the
// demos that show one.
constexpr u32 hashedSteps[] = {1, 400, 800, 1100, 1600, 2000};

u64 frameHash(const PresentedFrame& frame) {
    u64 h = 14695981039346656037ull;
    for (u32 y = 0; y < frame.height; ++y) {
        const u8* row = frame.pixels + static_cast<size_t>(y) * frame.bytesPerLine;
        for (u32 i = 0; i < frame.width * 3; ++i) {
            h ^= row[i];
            h *= 1099511628211ull;
        }
    }
    return h;
}

// name -> step -> hash, from tests/integration/demo_frames.txt.
std::map<std::string, std::map<u32, u64>> expectedFrames() {
    std::map<std::string, std::map<u32, u64>> all;
    std::ifstream in(DEMO_FRAMES_FILE);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string name;
        u32 step = 0;
        u64 hash = 0;
        words >> name >> step >> std::hex >> hash;
        all[name][step] = hash;
    }
    return all;
}

// What one replay saw, printed by the child when the program ends.
struct Seen {
    u32 framesChecked = 0;
    u32 framesDiffering = 0;
    bool flag = false, shot = false, mine = false, outline = false;
    u32 lastHashedStep = 0;
    u16 ammo = 0, mines = 0;
};
Seen seen;

void printSeen() {
    std::fprintf(stderr,
                 "frames checked %u, differing %u; flag picked up %s, shots %s, mines %s, outline %s\n",
                 seen.framesChecked, seen.framesDiffering, seen.flag ? "yes" : "no", seen.shot ? "yes" : "no",
                 seen.mine ? "yes" : "no", seen.outline ? "yes" : "no");
}

// The first `steps` steps of a shipped demo, as a recording cut short there.
fs::path cutCopy(const std::string& name, size_t steps, u32 flipStep = 0) {
    std::string error;
    std::optional<Demo> demo = readDemo(std::string(TESSARON_DATA_DIR) + "/demos/" + name + ".dem", error);
    EXPECT_TRUE(demo) << error;
    if (!demo) return {};
    if (flipStep != 0) demo->steps[flipStep - 1].controls ^= demoTurnLeft;
    const fs::path to = fs::temp_directory_path() / ("tessaron-cut-" + std::to_string(::getpid()) + ".dem");
    DemoWriter w;
    EXPECT_TRUE(w.open(to.string(), demo->header));
    for (size_t i = 0; i < steps && i < demo->steps.size(); ++i) {
        const DemoStep& s = demo->steps[i];
        w.step(s, demo->clockReads.data() + s.firstClockRead, s.clockReads);
        if ((i + 1) % demoCheckInterval == 0) w.check(demo->checks[(i + 1) / demoCheckInterval - 1]);
    }
    w.flush();
    return to;
}

class ShippedDemo : public GameRun, public testing::WithParamInterface<const char*> {
  protected:
    // Plays the demo through GameMain and ends the process with its exit code.
    [[noreturn]] void play(const std::string& option, const std::string& file) {
        useRunDirectory();
        std::vector<std::string> words = {"tessaron3d", option, file};
        std::vector<char*> argv;
        for (std::string& w : words) argv.push_back(w.data());
        std::exit(GameMain(static_cast<int>(argv.size()), argv.data()));
    }
};

} // namespace

TEST_P(ShippedDemo, ReplaysToItsDigestWithTheRecordedFrames) {
    const std::string name = GetParam();
    const char* writeTo = std::getenv("TESSARON_WRITE_DEMO_FRAMES");
    const auto expected = expectedFrames();
    if (!writeTo) {
        ASSERT_EQ(expected.count(name), 1u) << "no frame hashes for " << name << " in " << DEMO_FRAMES_FILE;
    }

    machine->frameObserver = [&](const PresentedFrame& frame) {
        if (world::state.playerCount == 0) return;
        const Player& human = *world::state.players[0];
        seen.flag |= human.carriedFlag != nullptr;
        seen.shot |= human.ammo < seen.ammo;
        seen.mine |= human.mines < seen.mines;
        seen.ammo = human.ammo;
        seen.mines = human.mines;
        const u32 step = demoStepsDone();
        if (step == seen.lastHashedStep ||
            std::find(std::begin(hashedSteps), std::end(hashedSteps), step) == std::end(hashedSteps))
            return;
        seen.lastHashedStep = step;
        seen.outline |= step == 1100 && shell::state.gameMenu->renderToggle == 1;
        const u64 hash = frameHash(frame);
        ++seen.framesChecked;
        if (writeTo) {
            std::ofstream(writeTo, std::ios::app) << name << ' ' << step << ' ' << std::hex << hash << '\n';
            return;
        }
        const auto& steps = expected.at(name);
        const auto want = steps.find(step);
        if (want == steps.end() || want->second != hash) {
            ++seen.framesDiffering;
            std::fprintf(stderr, "the frame of step %u differs: %016llx\n", step,
                         static_cast<unsigned long long>(hash));
        }
    };
    EXPECT_EXIT(
        {
            seen = Seen{};
            seen.ammo = 0xFFFF;
            seen.mines = 0xFFFF;
            std::atexit(printSeen);
            play("-playdemo", "demos/" + name + ".dem");
        },
        testing::ExitedWithCode(0),
        "^frames checked 6, differing 0; flag picked up yes, shots yes, mines yes, outline (yes|no)\n$");
}

// The timing's line, of a stretch of one demo (bench/ times them all).
TEST_F(ShippedDemo, TimesItsPlaybackAndPrintsOneLine) {
    const fs::path cut = cutCopy("level-a", 105);
    const fs::path out = fs::temp_directory_path() / ("tessaron-timedemo-" + std::to_string(::getpid()));
    EXPECT_EXIT(
        {
            static fs::path saved;
            saved = out;
            std::freopen(out.c_str(), "w", stdout);
            std::atexit([] {
                std::fflush(stdout);
                std::ifstream in(saved);
                std::string line;
                std::getline(in, line);
                std::fprintf(stderr, "%s\n", line.c_str());
            });
            play("-timedemo", cut.string());
        },
        testing::ExitedWithCode(0),
        "^timedemo .*tessaron-cut-[0-9]+\\.dem: 105 steps, 210 frames, [0-9]+\\.[0-9]{3} seconds, "
        "[0-9]+\\.[0-9] frames per second, [0-9]+\\.[0-9]{3} ms per frame\n$");
    fs::remove(out);
    fs::remove(cut);
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, ShippedDemo,
                         testing::Values("level-a", "level-b", "level-c", "level-d"));

// A step changed in a copy of a shipped demo: the replay leaves the recording
// there, and the check values name the 35 steps in which it did.
TEST_F(GameRun, AReplayThatGoesItsOwnWayIsFoundAndTheStepsNamed) {
    const fs::path changed = cutCopy("level-a", 80, 50); // step 50 turns left as well
    useRunDirectory();
    std::vector<std::string> words = {"tessaron3d", "-TimeDemo", changed.string()};
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    EXPECT_EXIT(std::exit(GameMain(static_cast<int>(argv.size()), argv.data())), testing::ExitedWithCode(1),
                "^Error: the demo .*tessaron-cut-[0-9]+\\.dem does not replay as recorded: the match first "
                "differs between step 36 and step 70!\n$");
    fs::remove(changed);
}

namespace {

// Width and height from a PNG file's header; 0 x 0 when it is no PNG.
std::pair<u32, u32> pngSize(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    u8 head[24] = {};
    in.read(reinterpret_cast<char*>(head), sizeof head);
    if (!in || head[0] != 0x89 || head[1] != 'P' || head[12] != 'I') return {0, 0};
    auto big = [&](int at) {
        return u32{head[at]} << 24 | u32{head[at + 1]} << 16 | u32{head[at + 2]} << 8 | head[at + 3];
    };
    return {big(16), big(20)};
}

} // namespace

TEST_F(GameRun, F12WritesTheFrameOnShowAsAPngAndAFailureLetsTheGameGoOn) {
    const fs::path home = fs::temp_directory_path() / ("tessaron-shots-" + std::to_string(::getpid()));
    fs::remove_all(home);
    ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    tap(scanF12); // the menu, 640x480
    startMatch(); // 320x240 by default
    idle(3);
    tap(scanF12);
    testing::internal::CaptureStdout();
    ASSERT_EQ(run(), 0);
    const std::string printed = testing::internal::GetCapturedStdout();
    const fs::path folder = home / "tessaron3d" / "screenshots";
    EXPECT_EQ(printed, (folder / "shot0001.png").string() + "\n" + (folder / "shot0002.png").string() + "\n");
    EXPECT_EQ(pngSize(folder / "shot0001.png"), std::make_pair(640u, 480u));
    EXPECT_EQ(pngSize(folder / "shot0002.png"), std::make_pair(320u, 240u));

    // A folder that cannot be made: one line, and the match plays on to its Esc.
    TearDown();
    SetUp();
    scriptPass = 1;
    std::ofstream(home / "file") << "in the way";
    ::setenv("XDG_DATA_HOME", (home / "file").c_str(), 1);
    startMatch();
    tap(scanF12);
    idle(3);
    testing::internal::CaptureStderr();
    ASSERT_EQ(run(), 0);
    const std::string complaint = testing::internal::GetCapturedStderr();
    EXPECT_EQ(complaint.rfind("Screenshot not saved: cannot make the folder ", 0), 0u) << complaint;
    EXPECT_EQ(std::count(complaint.begin(), complaint.end(), '\n'), 1);
    EXPECT_GT(machine->pass(), 6u);
    ::unsetenv("XDG_DATA_HOME");
    fs::remove_all(home);
}
