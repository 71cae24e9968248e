// Runs the real game without a display: the memory platform plays a key script
// (which key goes down or up at which main-loop pass) and chosen frames are
// written as BMP and PNG. Used for the README's screenshots, for recording the
// shipped demos and for looking at the game from scripts.
//
//   headless_run [--data DIR] [--desktop WxH] [--key PASS:KEY[:down|up|tap]]...
//                [--keys FILE]... [--shot PASS:NAME]... [--max-passes N]
//                [--sound FILE] [-- GAME-ARGUMENTS...]
//
// KEY is a scan code or one of esc, enter, up, down, left, right, space, f, f10,
// f12, d, m, s, p, plus, alt; a tap is down in PASS and up in the next pass. A key
// file holds one PASS:KEY[:ACTION] a line; blank lines and lines starting with #
// are skipped. A shot writes NAME.bmp and NAME.png from the last frame shown in
// that pass. After the last key or shot (or at --max-passes) the runner presses
// Esc and closes the window.
//
// The game runs without sound unless --sound asks for it: then it plays on the
// memory platform's sound output, and every effect it plays is written to FILE,
// one line each: "PASS NAME LANE ANGLE DISTANCE VOLUME" (lane 0 effects, 1 the
// important ones; angle in degrees clockwise from ahead, distance 0 to 255).
//
// The game's own options go after "--", for example "-- -record out.dem" to
// record the scripted match, or "-- -timedemo demos/level-a.dem" to time a demo
// (paths are relative to the data directory, the game's run directory). A demo
// played with -playdemo or -timedemo ends the program by itself; the runner then
// presses nothing unless --max-passes asks it to stop earlier.
#include "framework/events.hpp"
#include "framework/memory_platform.hpp"
#include "gfx/bitmap.hpp"
#include "gfx/bitmap_writer.hpp"
#include "gfx/png_writer.hpp"
#include "shell/reset_game.hpp"
#include "shell/startup.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <strings.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct KeyStep {
    u32 pass;
    u8 scanCode;
    std::string action; // down, up or tap
};

struct KeyName {
    const char* name;
    u8 scanCode;
};

constexpr KeyName keyNames[] = {
    {"esc", scanEsc},   {"enter", scanEnter}, {"up", scanUp},       {"down", scanDown},
    {"left", scanLeft}, {"right", scanRight}, {"space", scanSpace}, {"f", scanF},
    {"f10", scanF10},   {"d", scanD},         {"m", scanM},         {"plus", scanKeypadPlus},
    {"alt", scanAlt},   {"f12", scanF12},     {"s", scanS},         {"p", scanP},
};

[[noreturn]] void usage(const char* why) {
    std::fprintf(stderr,
                 "headless_run: %s\n"
                 "usage: headless_run [--data DIR] [--desktop WxH] [--key PASS:KEY[:down|up|tap]]...\n"
                 "                    [--keys FILE]... [--shot PASS:NAME]... [--max-passes N]\n"
                 "                    [--sound FILE] [-- GAME-ARGUMENTS...]\n",
                 why);
    std::exit(2);
}

u8 parseKey(const std::string& text) {
    for (const KeyName& key : keyNames)
        if (text == key.name) return key.scanCode;
    char* end = nullptr;
    const unsigned long code = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || code == 0 || code > 255) usage(("unknown key: " + text).c_str());
    return static_cast<u8>(code);
}

u32 parsePass(const std::string& text) {
    char* end = nullptr;
    const unsigned long pass = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || pass > 10'000'000) usage(("bad pass: " + text).c_str());
    return static_cast<u32>(pass);
}

// Splits "a:b:c" at the colons.
std::vector<std::string> fields(const std::string& text) {
    std::vector<std::string> out(1);
    for (char c : text) {
        if (c == ':')
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

KeyStep parseKeyStep(const std::string& text) {
    const std::vector<std::string> f = fields(text);
    if (f.size() < 2 || f.size() > 3) usage(("a key takes PASS:KEY[:down|up|tap], not " + text).c_str());
    const std::string action = f.size() == 3 ? f[2] : "tap";
    if (action != "down" && action != "up" && action != "tap") usage("key action must be down, up or tap");
    return {parsePass(f[0]), parseKey(f[1]), action};
}

// The game plays a demo, which ends the program by itself.
bool playsDemo(const std::vector<std::string>& gameArgs) {
    for (const std::string& a : gameArgs)
        if (::strcasecmp(a.c_str(), "-playdemo") == 0 || ::strcasecmp(a.c_str(), "-timedemo") == 0)
            return true;
    return false;
}

std::map<u32, std::string> shots; // pass -> output path without extension

void writeShot(const PresentedFrame& frame, const std::string& path) {
    Bitmap bitmap = makeBitmap(static_cast<i32>(frame.width), static_cast<i32>(frame.height), 24);
    for (u32 y = 0; y < frame.height; ++y)
        std::memcpy(bitmap.row(static_cast<i32>(y)),
                    frame.pixels + static_cast<size_t>(y) * frame.bytesPerLine,
                    static_cast<size_t>(frame.width) * 3);
    if (!saveBitmap(path + ".bmp", bitmap) ||
        !savePng(path + ".png", frame.pixels, frame.width, frame.height, frame.bytesPerLine)) {
        std::fprintf(stderr, "headless_run: cannot write %s\n", path.c_str());
        std::exit(2);
    }
}

// Down in one pass, up in the next: the game reads held keys, and a key that went
// up again within the same pass reads as up.
void pressAndRelease(MemoryPlatform& machine, u32 pass, u8 scanCode) {
    machine.pressKey(pass, scanCode);
    machine.releaseKey(pass + 1, scanCode);
}

} // namespace

int main(int argc, char** argv) {
    fs::path dataDir = TESSARON_DATA_DIR;
    u32 desktopWidth = 1024, desktopHeight = 768;
    u32 maxPasses = 0;
    std::vector<KeyStep> keys;
    std::vector<std::string> gameArgs = {"tessaron3d"};
    std::string soundLog; // where the effects played go; empty: no sound

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) usage(("missing value after " + arg).c_str());
            return argv[++i];
        };
        if (arg == "--data") {
            dataDir = value();
        } else if (arg == "--desktop") {
            if (std::sscanf(value().c_str(), "%ux%u", &desktopWidth, &desktopHeight) != 2)
                usage("--desktop takes WIDTHxHEIGHT");
        } else if (arg == "--key") {
            keys.push_back(parseKeyStep(value()));
        } else if (arg == "--keys") {
            const std::string file = value();
            std::ifstream in(file);
            if (!in) usage(("cannot read the key file " + file).c_str());
            for (std::string line; std::getline(in, line);) {
                while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
                if (line.empty() || line[0] == '#') continue;
                keys.push_back(parseKeyStep(line));
            }
        } else if (arg == "--shot") {
            const std::string text = value();
            const size_t colon = text.find(':');
            if (colon == std::string::npos || colon + 1 == text.size()) usage("--shot takes PASS:NAME");
            shots[parsePass(text.substr(0, colon))] = fs::absolute(text.substr(colon + 1)).string();
        } else if (arg == "--sound") {
            soundLog = fs::absolute(value()).string();
        } else if (arg == "--max-passes") {
            maxPasses = parsePass(value());
        } else if (arg == "--") {
            for (++i; i < argc; ++i) gameArgs.push_back(argv[i]);
        } else {
            usage(("unknown option " + arg).c_str());
        }
    }

    std::FILE* log = nullptr;
    if (soundLog.empty()) {
        gameArgs.insert(gameArgs.begin() + 1, "-nosound");
    } else if (!(log = std::fopen(soundLog.c_str(), "w"))) {
        usage(("cannot write the sound log " + soundLog).c_str());
    }

    std::error_code error;
    fs::current_path(dataDir, error);
    if (error) usage(("cannot enter the data directory " + dataDir.string()).c_str());

    resetGame();
    MemoryPlatform& machine = useMemoryPlatform(desktopWidth, desktopHeight);
    for (const KeyStep& key : keys) {
        if (key.action == "down")
            machine.pressKey(key.pass, key.scanCode);
        else if (key.action == "up")
            machine.releaseKey(key.pass, key.scanCode);
        else
            pressAndRelease(machine, key.pass, key.scanCode);
    }
    u32 last = shots.empty() ? 0 : shots.rbegin()->first;
    for (const KeyStep& key : keys) last = std::max(last, key.pass);
    const bool demoEndsItself = playsDemo(gameArgs) && maxPasses == 0;
    if (maxPasses == 0) maxPasses = last + 1;
    // The end: Esc ends a match, the close box the menu.
    if (!demoEndsItself) {
        pressAndRelease(machine, maxPasses, scanEsc);
        machine.requestClose(maxPasses);
    }

    // Effects played since the last look go to the log (the game may end by
    // itself, from within a frame, so each frame writes what is new).
    size_t logged = 0;
    const auto writeSounds = [&] {
        if (!log) return;
        for (; logged < machine.sound.played.size(); ++logged) {
            const MemoryAudio::Played& p = machine.sound.played[logged];
            std::fprintf(log, "%u %s %d %u %u %u\n", p.pass, p.name.c_str(), static_cast<int>(p.lane),
                         p.place.angle, p.place.distance, p.volume);
        }
        std::fflush(log);
    };
    machine.frameObserver = [&](const PresentedFrame& frame) {
        writeSounds();
        const auto shot = shots.find(machine.pass());
        if (shot != shots.end()) writeShot(frame, shot->second);
        if (!demoEndsItself && machine.pass() > maxPasses + 10) {
            std::fprintf(stderr, "headless_run: the game did not end\n");
            std::exit(1);
        }
    };

    std::vector<char*> args;
    for (std::string& a : gameArgs) args.push_back(a.data());
    const int code = GameMain(static_cast<int>(args.size()), args.data());
    writeSounds();
    if (log) std::fclose(log);
    return code;
}
