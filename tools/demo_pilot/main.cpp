// Writes the key scripts of the shipped demos: drives the human's car through a
// real match on the memory platform, deciding its keys pass by pass from what
// the game shows, and writes every key it pressed as a headless_run key file.
// The recording script (scripts/record_demos.sh) then replays that file with
// "-record"; the file, not this program, is what makes a demo.
//
//   demo_pilot --level N [--high] [--cockpit] [--plain-sky] [--steps N]
//              [--outline FROM:TO]... [--seed N] OUT.keys
//
// The pilot chooses the settings in the menu, starts the match, then goes for
// the nearest flag of another player, brings it home to its own headquarters and
// starts again, finding its way over the grid around everything that stops a
// car. On the way it fires now and then, lays mines, takes one keypad-plus
// refill, and switches to outline drawing between the passes given. It presses
// Esc after --steps steps of match, unless a winner ends the match first.
#include "framework/events.hpp"
#include "framework/memory_platform.hpp"
#include "world/camera.hpp"
#include "shell/reset_game.hpp"
#include "shell/startup.hpp"
#include "sim/match_state.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Options {
    u16 level = 0;
    bool high = false;
    bool cockpit = false;
    bool plainSky = false;
    u32 steps = 2100;
    u32 refillEvery = 900;
    u32 restAfter = 0xFFFFFFFFu; // steps after which the human stays where it is // steps between two keypad-plus refills
    std::vector<std::pair<u32, u32>> outline; // steps with outline drawing
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

// ---- Finding the way ----

constexpr u32 lattice = 16384; // a quarter cell between two points of the way map

bool blocksCar(const WorldObject& o, const WorldObject* ownHq, bool carrying) {
    if (!o.active) return false;
    switch (o.type) {
    case ObjectType::Flag: // one's own would be picked up for nothing; a second stops the car
        return carrying || o.owner == 1;
    case ObjectType::Block:
    case ObjectType::Sea:
    case ObjectType::Sand:
    case ObjectType::Plant:
    case ObjectType::Mine:
        return true;
    case ObjectType::Hq:
        return &o != ownHq;
    default:
        return false;
    }
}

struct WayMap {
    i32 columns = 0, rows = 0;
    std::vector<u8> blocked;
    std::vector<i32> distance; // steps to the target, -1 unreachable
};

bool overlaps(const WorldObject& o, i64 minX, i64 minY, i64 maxX, i64 maxY) {
    return o.minX <= maxX && o.maxX >= minX && o.minY <= maxY && o.maxY >= minY;
}

// Every lattice point where the car's box (with a margin) touches nothing that stops it.
void markBlocked(WayMap& map, const Player& human) {
    const WorldObject& car = *human.vehicle;
    const i64 half = (i64{car.maxX} - car.minX) / 2 + 6000;
    map.columns = world::state.worldGrid.width * 4 + 1;
    map.rows = world::state.worldGrid.height * 4 + 1;
    map.blocked.assign(static_cast<size_t>(map.columns * map.rows), 0);
    for (i32 c = 0; c < map.columns; ++c)
        for (i32 r = 0; r < map.rows; ++r) {
            const i64 x = i64{c} * lattice, y = i64{r} * lattice;
            bool stop = x - half < 0 || y - half < 0 || x + half >= i64{world::state.worldGrid.width} << 16 ||
                        y + half >= i64{world::state.worldGrid.height} << 16;
            for (i64 cx = (x - half) >> 16; !stop && cx <= (x + half) >> 16; ++cx)
                for (i64 cy = (y - half) >> 16; !stop && cy <= (y + half) >> 16; ++cy)
                    for (const CellList* n = world::state.worldGrid.cell(static_cast<u32>(std::max<i64>(cx, 0)),
                                                            static_cast<u32>(std::max<i64>(cy, 0)));
                         n && n->object && !stop; n = n->next)
                        if (blocksCar(*n->object, human.hq, human.carriedFlag != nullptr) &&
                            overlaps(*n->object, x - half, y - half, x + half, y + half))
                            stop = true;
            map.blocked[static_cast<size_t>(r * map.columns + c)] = stop;
        }
}

// Distances from every point whose car box would touch the target's box.
void spreadFrom(WayMap& map, const WorldObject& target, const Player& human) {
    const WorldObject& car = *human.vehicle;
    const i64 half = (i64{car.maxX} - car.minX) / 2;
    map.distance.assign(map.blocked.size(), -1);
    std::deque<i32> queue;
    for (i32 c = 0; c < map.columns; ++c)
        for (i32 r = 0; r < map.rows; ++r) {
            const i64 x = i64{c} * lattice, y = i64{r} * lattice;
            if (overlaps(target, x - half + 2000, y - half + 2000, x + half - 2000, y + half - 2000)) {
                const i32 at = r * map.columns + c;
                map.distance[static_cast<size_t>(at)] = 0;
                queue.push_back(at);
            }
        }
    while (!queue.empty()) {
        const i32 at = queue.front();
        queue.pop_front();
        const i32 c = at % map.columns, r = at / map.columns;
        for (i32 dc = -1; dc <= 1; ++dc)
            for (i32 dr = -1; dr <= 1; ++dr) {
                const i32 nc = c + dc, nr = r + dr;
                if ((dc == 0 && dr == 0) || nc < 0 || nr < 0 || nc >= map.columns || nr >= map.rows) continue;
                // No corner cutting past a blocked point.
                if (dc != 0 && dr != 0 &&
                    (map.blocked[static_cast<size_t>(r * map.columns + nc)] ||
                     map.blocked[static_cast<size_t>(nr * map.columns + c)]))
                    continue;
                const size_t n = static_cast<size_t>(nr * map.columns + nc);
                if (map.blocked[n] || map.distance[n] != -1) continue;
                map.distance[n] = map.distance[static_cast<size_t>(at)] + 1;
                queue.push_back(static_cast<i32>(n));
            }
    }
}

// The nearest flag of another player lying in the grid.
const WorldObject* nearestForeignFlag(const Player& human) {
    const WorldObject* best = nullptr;
    i64 bestDistance = 0;
    for (const auto& o : world::state.worldObjects) {
        if (o->type != ObjectType::Flag || o->owner == 1 || !o->active) continue;
        bool listed = false;
        for (const CellList* n = world::state.worldGrid.cell(o->minX >> 16, o->minY >> 16); n && n->object; n = n->next)
            listed |= n->object == o.get();
        if (!listed) continue; // carried by someone
        const i64 dx = i64{o->minX} - human.camera->x, dy = i64{o->minY} - human.camera->y;
        const i64 d = dx * dx + dy * dy;
        if (!best || d < bestDistance) {
            best = o.get();
            bestDistance = d;
        }
    }
    return best;
}

// ---- Driving ----

struct Pilot {
    WayMap map;
    const WorldObject* target = nullptr;
    u32 mapAge = 0;
    bool up = false, left = false, right = false;
    u32 escapeUntil = 0;
    u32 escapeTurnUntil = 0;
    u32 escapes = 0;
    std::deque<std::pair<u32, u32>> trail; // the last positions, one a pass
    u32 matchStart = 0;
    bool done = false;
};

Pilot pilot;

// What the match showed, for the pilot's closing line.
struct Sights {
    u32 pickups = 0, captures = 0, pauses = 0, deaths = 0;
    const WorldObject* carried = nullptr;
    std::vector<i32> pauseOf;
    i16 shields = 8;
};
Sights sights;

void watch() {
    const Player& human = *world::state.players[0];
    if (human.carriedFlag && human.carriedFlag != sights.carried) ++sights.pickups;
    sights.carried = human.carriedFlag;
    u32 score = 0;
    for (u16 s : human.flagScores) score += s;
    sights.captures = score;
    if (human.shields > sights.shields + 3 && human.shields == 8) ++sights.deaths;
    sights.shields = human.shields;
    sights.pauseOf.resize(world::state.playerCount, 0);
    for (u16 i = 1; i < world::state.playerCount; ++i) {
        const auto& computer = static_cast<const ComputerPlayer&>(*world::state.players[i]);
        if (computer.aiPause != 0 && computer.aiPause != sights.pauseOf[i]) ++sights.pauses;
        sights.pauseOf[i] = computer.aiPause;
    }
}

void report() {
    std::fprintf(stderr, "demo_pilot: flags picked up %u, delivered %u, computer pauses %u, winner %d\n",
                 sights.pickups, sights.captures, sights.pauses, winner);
}

void setHeld(u32 pass, bool& held, bool want, const char* name, u8 scan) {
    if (held == want) return;
    keyAt(pass, name, scan, want);
    held = want;
}

// The heading, 65536 to the turn, that looks from (x, y) toward (tx, ty): 0 along +y.
i32 headingTo(i64 dx, i64 dy) {
    const double a = std::atan2(static_cast<double>(dx), static_cast<double>(dy));
    return static_cast<i32>(std::lround(a * 65536.0 / (2 * 3.14159265358979))) & 0xFFFF;
}

void drive(u32 pass) {
    Player& human = *world::state.players[0];
    const u32 step = pass - pilot.matchStart; // steps of match so far
    const u32 next = pass + 1;

    if (step >= options.steps) {
        setHeld(next, pilot.up, false, "up", scanUp);
        setHeld(next, pilot.left, false, "left", scanLeft);
        setHeld(next, pilot.right, false, "right", scanRight);
        keyAt(next + 1, "esc", scanEsc, true);
        keyAt(next + 2, "esc", scanEsc, false);
        pilot.done = true;
        return;
    }

    // The sights of a match: shots now and then, mines, one refill, outline drawing.
    auto tapAt = [&](const char* name, u8 scan) {
        keyAt(next, name, scan, true);
        keyAt(next + 1, name, scan, false);
    };
    if (step % 97 == 40) tapAt("space", scanSpace);
    if (step % 331 == 200) tapAt("m", scanM);
    if (step % options.refillEvery == options.refillEvery / 2) tapAt("plus", scanKeypadPlus);
    for (const auto& [from, to] : options.outline)
        if (step == from || step == to) tapAt("f10", scanF10);

    if (step >= options.restAfter) { // the computer players may take their time now
        setHeld(next, pilot.up, false, "up", scanUp);
        setHeld(next, pilot.left, false, "left", scanLeft);
        setHeld(next, pilot.right, false, "right", scanRight);
        return;
    }

    // The target: home with a flag, else the nearest foreign flag.
    const WorldObject* want = human.carriedFlag ? human.hq : nearestForeignFlag(human);
    if (!want) {
        setHeld(next, pilot.up, false, "up", scanUp);
        return;
    }
    if (want != pilot.target || pilot.mapAge++ >= 60) {
        pilot.target = want;
        pilot.mapAge = 0;
        markBlocked(pilot.map, human);
        spreadFrom(pilot.map, *want, human);
    }

    const Camera& cam = *human.camera;
    if (human.carriedFlag && human.carriedFlag->owner == 1 && step % 4 == 0) tapAt("d", scanD); // its own: no use
    // Stuck: hardly moved in 40 passes; turn away and drive off.
    pilot.trail.push_back({cam.x, cam.y});
    if (pilot.trail.size() > 40) pilot.trail.pop_front();
    const auto [oldX, oldY] = pilot.trail.front();
    const i64 moved = std::abs(static_cast<i64>(cam.x) - oldX) + std::abs(static_cast<i64>(cam.y) - oldY);
    if (pilot.trail.size() == 40 && moved < 8000 && pass >= pilot.escapeUntil) {
        // Each escape turns a different amount, so that one of them finds a way out.
        ++pilot.escapes;
        pilot.escapeTurnUntil = pass + 6 + (pilot.escapes * 7) % 24;
        pilot.escapeUntil = pilot.escapeTurnUntil + 20;
        pilot.trail.clear();
    }
    if (pass < pilot.escapeUntil) {
        const bool turning = pass < pilot.escapeTurnUntil;
        setHeld(next, pilot.left, false, "left", scanLeft);
        setHeld(next, pilot.right, turning, "right", scanRight);
        setHeld(next, pilot.up, !turning, "up", scanUp);
        return;
    }

    // The way: from the nearest lattice point, a few points down the distances.
    const WayMap& map = pilot.map;
    i32 c = static_cast<i32>((cam.x + lattice / 2) / lattice), r = static_cast<i32>((cam.y + lattice / 2) / lattice);
    c = std::clamp(c, 0, map.columns - 1);
    r = std::clamp(r, 0, map.rows - 1);
    auto dist = [&](i32 cc, i32 rr) { return map.distance[static_cast<size_t>(rr * map.columns + cc)]; };
    if (dist(c, r) < 0) { // off the map's ways: the nearest point that has one
        i32 best = -1;
        for (i32 dc = -2; dc <= 2; ++dc)
            for (i32 dr = -2; dr <= 2; ++dr) {
                const i32 nc = c + dc, nr = r + dr;
                if (nc < 0 || nr < 0 || nc >= map.columns || nr >= map.rows || dist(nc, nr) < 0) continue;
                if (best < 0 || dist(nc, nr) < best) {
                    best = dist(nc, nr);
                    c = nc;
                    r = nr;
                }
            }
    }
    i32 tc = c, tr = r;
    for (int k = 0; k < 3 && dist(tc, tr) > 0; ++k) {
        i32 bc = tc, br = tr;
        for (i32 dc = -1; dc <= 1; ++dc)
            for (i32 dr = -1; dr <= 1; ++dr) {
                const i32 nc = tc + dc, nr = tr + dr;
                if (nc < 0 || nr < 0 || nc >= map.columns || nr >= map.rows || dist(nc, nr) < 0) continue;
                if (dist(nc, nr) < dist(bc, br)) {
                    bc = nc;
                    br = nr;
                }
            }
        tc = bc;
        tr = br;
    }
    i64 dx = i64{tc} * lattice - cam.x, dy = i64{tr} * lattice - cam.y;
    if (dist(tc, tr) == 0 && dist(c, r) == 0) { // there: into the target itself
        dx = (i64{pilot.target->minX} + pilot.target->maxX) / 2 - cam.x;
        dy = (i64{pilot.target->minY} + pilot.target->maxY) / 2 - cam.y;
    }
    const i32 wanted = headingTo(dx, dy);
    if (std::getenv("PILOT_TRACE") && step % 50 == 0)
        std::fprintf(stderr, "step %u at %.2f,%.2f heading %u carrying %d dist %d shields %d\n", step,
                     cam.x / 65536.0, cam.y / 65536.0, cam.heading, human.carriedFlag != nullptr,
                     dist(c, r), human.shields);
    const i32 error = static_cast<i16>(static_cast<u16>(wanted - cam.heading));
    setHeld(next, pilot.left, error > 1800, "left", scanLeft);
    setHeld(next, pilot.right, error < -1800, "right", scanRight);
    setHeld(next, pilot.up, std::abs(error) < 9000, "up", scanUp);
}

[[noreturn]] void usage(const char* why) {
    std::fprintf(stderr,
                 "demo_pilot: %s\nusage: demo_pilot --level N [--high] [--cockpit] [--plain-sky] "
                 "[--steps N] [--outline FROM:TO]... OUT.keys\n",
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
        if (a == "--level") options.level = static_cast<u16>(std::stoi(value()));
        else if (a == "--high") options.high = true;
        else if (a == "--cockpit") options.cockpit = true;
        else if (a == "--plain-sky") options.plainSky = true;
        else if (a == "--steps") options.steps = static_cast<u32>(std::stoul(value()));
        else if (a == "--rest-after") options.restAfter = static_cast<u32>(std::stoul(value()));
        else if (a == "--refill-every") options.refillEvery = std::max(2u, static_cast<u32>(std::stoul(value())));
        else if (a == "--outline") {
            u32 from = 0, to = 0;
            if (std::sscanf(value().c_str(), "%u:%u", &from, &to) != 2) usage("--outline takes FROM:TO");
            options.outline.push_back({from, to});
        } else if (!a.empty() && a[0] != '-') options.out = a;
        else usage(("unknown option " + a).c_str());
    }
    if (options.out.empty() || options.level > 3) usage("a level 0 to 3 and an output file are needed");
    options.out = fs::absolute(options.out).string();

    fs::current_path(TESSARON_DATA_DIR);
    resetGame();
    machine = &useMemoryPlatform(1024, 768);
    chooseSettings();
    pilot.matchStart = menuPass - 2; // the pass of Enter on "Start Game!"

    u32 lastPass = 0;
    machine->frameObserver = [&](const PresentedFrame&) {
        const u32 pass = machine->pass();
        if (winner != -1 && !pilot.done) { // the winner's frame: the program ends after it
            pilot.done = true;
            watch();
            report();
            writeScript();
            std::fprintf(stderr, "demo_pilot: player %d won after %u steps\n", winner + 1,
                         pass - pilot.matchStart + 1);
            return;
        }
        if (pass == lastPass || pilot.done || pass < pilot.matchStart || world::state.playerCount == 0) return;
        lastPass = pass;
        watch();
        drive(pass);
        if (pilot.done) writeScript();
    };
    char name[] = "tessaron3d";
    char* args[] = {name};
    const int code = GameMain(1, args);
    report();
    std::fprintf(stderr, "demo_pilot: %s written, %zu key messages\n", options.out.c_str(), script.size());
    return code;
}
