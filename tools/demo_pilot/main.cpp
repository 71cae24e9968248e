// Writes the key scripts of the shipped demos: drives the human's car through a
// real match on the memory platform, deciding its keys step by step from what
// the game shows, and writes every key it pressed as a headless_run key file.
// The recording script (scripts/record_demos.sh) then replays that file with
// "-record"; the file, not this program, is what makes a demo.
//
//   demo_pilot --level N [--high] [--cockpit] [--plain-sky] [--steps N]
//              [--to-the-end] [--least-steps N] [--refill-every N]
//              [--outline FROM:TO]... [--data DIR] OUT.keys
//
// The pilot chooses the settings in the menu and starts the match; then the
// flag runner (tools/common/flag_runner.hpp) decides each step which of Up,
// Down, Left and Right to hold, fetching opponent flags and bringing them home,
// and the pilot presses and releases the keys to match. On the way it fires at
// computer players in front of it and now and then, lays mines where they leave
// its ways open, takes a keypad-plus refill every --refill-every steps, and
// switches to outline drawing between the steps given. It never makes the
// winning capture before --least-steps steps: it waits by its headquarters
// instead. It presses Esc after --steps steps of match, unless a winner ends
// the match first; with --to-the-end the match runs on to its winner and
// --steps is only a cap.
#include "framework/events.hpp"
#include "framework/memory_platform.hpp"
#include "shell/reset_game.hpp"
#include "shell/startup.hpp"
#include "sim/match_state.hpp"
#include "sim/placement.hpp"
#include "tools/common/flag_runner.hpp"
#include "world/camera.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Options {
    u16 level = 0;
    bool high = false;
    bool cockpit = false;
    bool plainSky = false;
    u32 steps = 2200;                         // Esc after these, or the cap with --to-the-end
    bool toTheEnd = false;                    // play on to the winner
    u32 leastSteps = 2100;                    // no winning capture before
    u32 refillEvery = 700;                    // steps between two keypad-plus refills
    std::vector<std::pair<u32, u32>> outline; // steps with outline drawing
    std::string data = TESSARON_DATA_DIR;     // the run directory
    std::string out;
};

// One key message of the script.
struct Key {
    u32 pass;
    const char* name;
    u8 scan;
    bool down;
};

std::vector<Key> script;
MemoryPlatform* machine = nullptr;
Options options;

void keyAt(u32 pass, const char* name, u8 scan, bool down) {
    script.push_back({pass, name, scan, down});
    if (down)
        machine->pressKey(pass, scan);
    else
        machine->releaseKey(pass, scan);
}

void writeScript() {
    std::FILE* f = std::fopen(options.out.c_str(), "w");
    if (!f) {
        std::fprintf(stderr, "demo_pilot: cannot write %s\n", options.out.c_str());
        std::exit(2);
    }
    std::fprintf(f, "# Made by demo_pilot for level %u; see tools/README.md.\n", options.level);
    for (const Key& k : script) std::fprintf(f, "%u:%s:%s\n", k.pass, k.name, k.down ? "down" : "up");
    std::fclose(f);
}

// ---- The menu: the same presses a player makes from the start-up settings ----

u32 menuPass = 1;
void tap(const char* name, u8 scan) {
    keyAt(menuPass, name, scan, true);
    keyAt(menuPass + 1, name, scan, false);
    menuPass += 2;
}

void chooseSettings() {
    tap("down", scanDown);
    tap("enter", scanEnter); // the graphics page, on "Cockpit: On"
    if (!options.cockpit) tap("enter", scanEnter);
    tap("down", scanDown);
    if (options.high) tap("enter", scanEnter);
    tap("down", scanDown);
    tap("down", scanDown);
    if (options.plainSky) tap("enter", scanEnter);
    tap("down", scanDown);
    tap("enter", scanEnter); // "Go Back"
    tap("down", scanDown);
    tap("down", scanDown);
    if (options.level >= 2) tap("enter", scanEnter); // "Players: 3", Level-C
    tap("down", scanDown);
    if (options.level == 1 || options.level == 3) tap("enter", scanEnter);
    tap("up", scanUp);
    tap("up", scanUp);
    tap("up", scanUp);
    tap("enter", scanEnter); // "Start Game!"
}

// ---- The keys of the match ----

// Every key-down tests every bound key, so a key held down acts again when
// another goes down. The four driving keys are meant to be held; every other
// key goes down for one pass only, and keypad plus and F10 (which would refill
// or flip again) only in a pass where no other key goes down.
struct Keys {
    struct Held {
        const char* name;
        u8 scan;
        bool down = false;
    };
    Held up{"up", scanUp}, down{"down", scanDown}, left{"left", scanLeft}, right{"right", scanRight};

    struct Tapped {
        const char* name;
        u8 scan;
        u32 lastPass = 0; // pass of its last key-down
    };
    Tapped space{"space", scanSpace}, mine{"m", scanM}, drop{"d", scanD};
    Tapped plus{"plus", scanKeypadPlus}, outline{"f10", scanF10};
    std::vector<Tapped*> waiting; // keypad plus and F10, in the order asked for

    u32 downsAt = 0, downs = 0; // key-downs in that pass

    void hold(u32 pass, Held& key, bool want) {
        if (key.down == want) return;
        keyAt(pass, key.name, key.scan, want);
        key.down = want;
        if (want) countDown(pass);
    }

    // Down in this pass, up in the next; false when it went down only a pass
    // ago and is still on its way up.
    bool tap(u32 pass, Tapped& key) {
        if (key.lastPass != 0 && pass < key.lastPass + 2) return false;
        keyAt(pass, key.name, key.scan, true);
        keyAt(pass + 1, key.name, key.scan, false);
        key.lastPass = pass;
        countDown(pass);
        return true;
    }

    // Keypad plus or F10, pressed alone as soon as a pass allows.
    void tapAlone(Tapped& key) { waiting.push_back(&key); }
    void pressWaiting(u32 pass) {
        if (waiting.empty() || (downsAt == pass && downs > 0)) return;
        tap(pass, *waiting.front());
        waiting.erase(waiting.begin());
    }

    void countDown(u32 pass) {
        if (downsAt != pass) downsAt = pass, downs = 0;
        ++downs;
    }
};

// ---- What the match showed, for the pilot's closing line ----

struct Sights {
    u32 steps = 0;
    u32 pickups = 0, captures = 0, pauses = 0, shots = 0, mines = 0, refills = 0;
    const WorldObject* carried = nullptr;
    std::vector<i32> pauseOf;
    u16 ammo = 0, minesLeft = 0;
};
Sights sights;

void watch() {
    const Player& human = *world::state.players[0];
    if (human.carriedFlag && human.carriedFlag != sights.carried) ++sights.pickups;
    sights.carried = human.carriedFlag;
    u32 score = 0;
    for (u16 s : human.flagScores) score += s;
    sights.captures = score;
    if (human.ammo < sights.ammo) ++sights.shots;
    if (human.mines < sights.minesLeft) ++sights.mines;
    sights.ammo = human.ammo;
    sights.minesLeft = human.mines;
    sights.pauseOf.resize(world::state.playerCount, 0);
    for (u16 i = 1; i < world::state.playerCount; ++i) {
        const auto& computer = static_cast<const ComputerPlayer&>(*world::state.players[i]);
        if (computer.aiPause != 0 && computer.aiPause != sights.pauseOf[i]) ++sights.pauses;
        sights.pauseOf[i] = computer.aiPause;
    }
}

void report() {
    std::fprintf(stderr,
                 "demo_pilot: level %u, %u steps, flags picked up %u, delivered %u, shots %u, mines %u, "
                 "refills %u, computer pauses %u, winner %s\n",
                 options.level, sights.steps, sights.pickups, sights.captures, sights.shots, sights.mines,
                 sights.refills, sights.pauses,
                 sim::match.winner == -1  ? "none"
                 : sim::match.winner == 0 ? "the human"
                                          : "a computer player");
}

// ---- Driving ----

struct Pilot {
    std::optional<FlagRunner> runner;
    Keys keys;
    u32 matchStart = 0;
    bool wantMine = false;
    u32 lastAimedShot = 0; // step
    bool done = false;
};
Pilot pilot;

// True when the flag it carries would win the match on delivery.
bool carryingTheWinningFlag(const Player& human) {
    if (human.carriedFlag == nullptr || human.carriedFlag->owner == human.vehicle->owner) return false;
    u32 delivered = 0;
    for (u16 s : human.flagScores) delivered += s;
    const u32 needed =
        sim::match.playerChoice == 2 ? world::state.flagCount >> 1 : 2u * world::state.flagCount / 3u;
    return delivered + 1 == needed;
}

// Something in front worth a shot, near enough to hit: a computer player's car,
// or a mine lying in the way.
bool targetInSight(const Player& human) {
    const Camera& eye = *human.camera;
    auto inFront = [&](u32 x, u32 y, f64 range, f64 width) {
        const f64 dx = static_cast<f64>(x) - eye.x, dy = static_cast<f64>(y) - eye.y;
        const f64 ahead = dx * eye.sinHeading + dy * eye.cosHeading;
        const f64 aside = dx * eye.cosHeading - dy * eye.sinHeading;
        return ahead > 0 && ahead < range && std::abs(aside) < width;
    };
    for (u16 i = 1; i < world::state.playerCount; ++i)
        if (inFront(world::state.players[i]->camera->x, world::state.players[i]->camera->y, 5 * 65536.0,
                    12000))
            return true;
    for (const auto& o : world::state.worldObjects)
        if (o->type == ObjectType::Mine && FlagRunner::isLying(*o) &&
            inFront(centreOf(o->minX, o->maxX), centreOf(o->minY, o->maxY), 3 * 65536.0, 6000))
            return true;
    return false;
}

// Where a mine laid now would lie, when it would lie anywhere.
std::optional<Box> mineBoxBehind(const Player& human) {
    const auto point = pointAlongHeading(*human.camera, -32768.0f);
    return point ? FreePlace(world::state.worldGrid, world::state.mineTemplate, *point) : std::nullopt;
}

void pressEsc(u32 next) {
    Keys& k = pilot.keys;
    for (Keys::Held* key : {&k.up, &k.down, &k.left, &k.right}) k.hold(next, *key, false);
    keyAt(next + 1, "esc", scanEsc, true);
    keyAt(next + 2, "esc", scanEsc, false);
    pilot.done = true;
}

// Decides the keys of the coming pass, `next`, after `step` steps of match.
void drive(u32 step, u32 next) {
    Player& human = *world::state.players[0];
    Keys& keys = pilot.keys;
    if (step >= options.steps) return pressEsc(next);
    if (!pilot.runner) pilot.runner.emplace(human);
    FlagRunner& runner = *pilot.runner;

    RunnerControls c = runner.decide();
    // The winning capture waits for the demo's length: braking short of the door.
    if (step < options.leastSteps && carryingTheWinningFlag(human) && runner.stepsToTarget() >= 0 &&
        runner.stepsToTarget() <= 40)
        c = RunnerControls{.brake = true};
    keys.hold(next, keys.up, c.accelerate);
    keys.hold(next, keys.down, c.brake);
    keys.hold(next, keys.left, c.turnLeft);
    keys.hold(next, keys.right, c.turnRight);
    if (c.dropFlag) keys.tap(next, keys.drop);

    const bool aimed = targetInSight(human) && step >= pilot.lastAimedShot + 6;
    if (human.ammo > 0 && (aimed || step % 97 == 40) && keys.tap(next, keys.space) && aimed)
        pilot.lastAimedShot = step;
    if (step % 331 == 200) pilot.wantMine = true;
    if (pilot.wantMine && human.mines > 0 && c.accelerate) {
        const std::optional<Box> box = mineBoxBehind(human);
        if (box && runner.leavesWaysOpen(*box) && keys.tap(next, keys.mine)) pilot.wantMine = false;
    }
    if (step % options.refillEvery == options.refillEvery / 2) {
        keys.tapAlone(keys.plus);
        ++sights.refills;
    }
    for (const auto& [from, to] : options.outline)
        if (step == from || step == to) keys.tapAlone(keys.outline);
    keys.pressWaiting(next);
}

[[noreturn]] void usage(const char* why) {
    std::fprintf(
        stderr,
        "demo_pilot: %s\nusage: demo_pilot --level N [--high] [--cockpit] [--plain-sky] [--steps N] "
        "[--to-the-end] [--least-steps N] [--refill-every N] [--outline FROM:TO]... [--data DIR] OUT.keys\n",
        why);
    std::exit(2);
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) usage(("missing value after " + a).c_str());
            return argv[++i];
        };
        if (a == "--level")
            options.level = static_cast<u16>(std::stoi(value()));
        else if (a == "--data")
            options.data = value();
        else if (a == "--high")
            options.high = true;
        else if (a == "--cockpit")
            options.cockpit = true;
        else if (a == "--plain-sky")
            options.plainSky = true;
        else if (a == "--steps")
            options.steps = static_cast<u32>(std::stoul(value()));
        else if (a == "--to-the-end")
            options.toTheEnd = true;
        else if (a == "--least-steps")
            options.leastSteps = static_cast<u32>(std::stoul(value()));
        else if (a == "--refill-every")
            options.refillEvery = std::max(2u, static_cast<u32>(std::stoul(value())));
        else if (a == "--outline") {
            u32 from = 0, to = 0;
            if (std::sscanf(value().c_str(), "%u:%u", &from, &to) != 2) usage("--outline takes FROM:TO");
            options.outline.push_back({from, to});
        } else if (!a.empty() && a[0] != '-')
            options.out = a;
        else
            usage(("unknown option " + a).c_str());
    }
    if (options.out.empty() || options.level > 3) usage("a level 0 to 3 and an output file are needed");
    options.out = fs::absolute(options.out).string();

    fs::current_path(options.data);
    resetGame();
    machine = &useMemoryPlatform(1024, 768);
    chooseSettings();
    pilot.matchStart = menuPass - 2; // the pass of Enter on "Start Game!"

    u32 lastPass = 0;
    machine->frameObserver = [&](const PresentedFrame&) {
        const u32 pass = machine->pass();
        if (pass == lastPass || pilot.done || pass < pilot.matchStart || world::state.playerCount == 0)
            return;
        lastPass = pass;
        sights.steps = pass - pilot.matchStart + 1; // the match takes its first step in its first pass
        watch();
        if (sim::match.winner != -1) { // the winner's frame: the program ends in this pass
            // The runner presses Esc after a script's last key; this one comes after
            // the end, so that Esc cannot cut the match short of its winner.
            keyAt(pass + 1, "esc", scanEsc, true);
            keyAt(pass + 2, "esc", scanEsc, false);
            pilot.done = true;
            writeScript();
            return;
        }
        drive(sights.steps, pass + 1);
        if (pilot.done) writeScript();
    };
    // The game may end the program itself (after the winner's screen).
    std::atexit([] {
        report();
        std::fprintf(stderr, "demo_pilot: %s written, %zu key messages\n", options.out.c_str(),
                     script.size());
    });
    char name[] = "tessaron3d";
    char* args[] = {name};
    return GameMain(1, args);
}
