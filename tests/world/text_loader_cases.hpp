#pragma once
// What the text loaders' fuzz targets do with one input, shared with the test
// that replays their findings. Each input is written as a data file into a run
// directory holding copies of the shipped textures and definitions, and loaded
// with the game's own readers. A loader that ends the program on bad data (its
// message and exit code) unwinds back here instead: that is a normal outcome.
// Anything else the checks below find is a fault and aborts.
#include "base/clock.hpp"
#include "base/program_exit.hpp"
#include "sim/match_state.hpp"
#include "sim/update_frame.hpp"
#include "world/object_definition.hpp"
#include "world/player.hpp"
#include "world/texture.hpp"
#include "world/token_reader.hpp"
#include "world/world.hpp"

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace text_fuzz {

// A loader's deliberate end of the program, thrown by the exit hook.
struct ProgramEnded {
    int code;
};
[[noreturn]] inline void unwindProgramEnd(int code) {
    throw ProgramEnded{code};
}

// A fault the loaders must never show, whatever the input.
[[noreturn]] inline void fault(const char* what) {
    std::fprintf(stderr, "fault: %s\n", what);
    std::abort();
}

inline void writeGameFile(std::string gameName, const void* data, size_t size) {
    for (char& c : gameName)
        if (c == '\\') c = '/';
    std::ofstream out(gameName, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}
inline void writeGameFile(const std::string& gameName, const std::string& text) {
    writeGameFile(gameName, text.data(), text.size());
}
inline std::string readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh temporary run directory with the shipped textures, definitions and
// levels, made the current directory, with the exit hook in place and the
// shipped textures loaded. Returns the directory, which the caller removes.
inline std::filesystem::path enterRunDirectory(const std::filesystem::path& shipped) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessaron-text-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) fault("no temporary directory");
    const std::filesystem::path root = pattern;
    std::filesystem::copy_file(shipped / "textures.dat", root / "textures.dat");
    std::filesystem::copy(shipped / "Objects", root / "Objects");
    std::filesystem::copy(shipped / "Levels", root / "Levels");
    std::filesystem::current_path(root);
    setExitHook(unwindProgramEnd);
    loadTextures();
    return root;
}

// Runs one load; a deliberate end of the program counts as done.
template <typename Load> void endsOrLoads(Load load) {
    try {
        load();
    } catch (const ProgramEnded& ended) {
        if (ended.code != 1 && ended.code != -1) fault("a loader ended with an unexpected code");
    }
}

// The token reader: the first byte gives the length of an operation script taken
// from the bytes after it, the rest is the file. The script is played over and
// over until the reader ends the program or the file is used up.
inline void fuzzTokenReader(const u8* data, size_t size) {
    if (size == 0) return;
    const size_t scriptLength = std::min<size_t>(data[0] % 8 + 1, size - 1);
    const u8* script = data + 1;
    const size_t fileStart = 1 + scriptLength;
    writeGameFile("fuzz.txt", data + fileStart, size - fileStart);
    endsOrLoads([&] {
        TokenReader reader("fuzz.txt");
        auto checkLine = [](const TokenString& line) {
            if (line[79] != 0 || tokenText(line).size() > 79) fault("a line past 79 characters");
        };
        int ends = 0;
        for (size_t step = 0; scriptLength > 0 && step < size + 16 && ends < 3; ++step) {
            switch (script[step % scriptLength] % 6) {
            case 0: reader.getint(); break;
            case 1: reader.gethex(); break;
            case 2: {
                const TokenString line = reader.getstring();
                checkLine(line);
                ends += tokenText(line).empty();
                break;
            }
            case 3: ends += reader.skipBlanks() == endOfFile; break;
            case 4: reader.getint(reader.skipBlanks()); break;
            default: checkLine(reader.getstring(reader.skipBlanks())); break;
            }
        }
    });
}

// The texture library: the input is "textures.dat"; every texture that loads is
// sampled at its corners and past its edges.
inline void fuzzTextures(const u8* data, size_t size) {
    writeGameFile("textures.dat", data, size);
    resetTextures();
    endsOrLoads([] {
        loadTextures();
        if (world::state.textureTable.empty() || world::state.textureTable[0] != nullptr)
            fault("entry 0 is not empty");
        u32 sum = 0;
        for (size_t n = 1; n < world::state.textureTable.size(); ++n) {
            const Texture& t = *world::state.textureTable[n];
            if (t.texels.size() != size_t{t.width} * t.height) fault("texels of the wrong count");
            for (u32 u : {0u, 127u, 128u * t.width, 65535u, 4294967295u})
                for (u32 v : {0u, 128u * t.height + 5, 65535u}) sum += texelAt(t, u, v);
        }
        (void)sum;
    });
}

// Whether every car lies inside the grid and every cell under its box lists it.
inline bool carsListedWhereTheyLie() {
    for (const auto& player : world::state.players) {
        const WorldObject& car = *player->vehicle;
        if (car.minX > car.maxX || car.minY > car.maxY) return false;
        if (cellOf(car.maxX) >= world::state.worldGrid.width ||
            cellOf(car.maxY) >= world::state.worldGrid.height)
            return false;
        for (u32 cx = cellOf(car.minX); cx <= cellOf(car.maxX); ++cx)
            for (u32 cy = cellOf(car.minY); cy <= cellOf(car.maxY); ++cy) {
                const CellList* node = world::state.worldGrid.cell(cx, cy);
                while (node && node->object && node->object != &car) node = node->next;
                if (!node || node->object != &car) return false;
            }
    }
    return true;
}

// Object definitions: the first byte chooses the entry's name (so its type and
// the extra work at load), whether the level gives a second corner, and where
// the entry stands; the rest is the definition file. The mine and shot
// templates are read by their own, laxer path.
inline void fuzzDefinition(const u8* data, size_t size, const std::filesystem::path& shipped) {
    if (size == 0) return;
    static const char* const names[] = {"fuzz", "car", "hq", "tree", "flag", "bush", "shot", "mine"};
    static const char* const places[] = {"70000 70000 0", "0 0 0", "500000 500000 0",
                                         "4000000000 5 4000000000"};
    const std::string name = names[data[0] & 7];
    const bool secondCorner = (data[0] & 8) != 0;
    const char* place = places[(data[0] >> 4) & 3];
    // The companions every level needs, as shipped, unless the input replaces one.
    static const std::pair<std::string, std::string> companions[] = {
        {"car", readWholeFile(shipped / "Objects" / "car.odf")},
        {"hq", readWholeFile(shipped / "Objects" / "hq.odf")},
        {"mine", readWholeFile(shipped / "Objects" / "mine.odf")},
        {"shot", readWholeFile(shipped / "Objects" / "shot.odf")},
    };
    for (const auto& [companion, text] : companions) writeGameFile("Objects\\" + companion + ".odf", text);
    writeGameFile("Objects\\" + name + ".odf", data + 1, size - 1);

    // A car or headquarters needs a player, and a player needs both; anything
    // else stands alone in a level without players.
    std::string level = "Definition\n8 8 0\n";
    if (name == "car") level = "Definition\n8 8 1\nFF0000\nhq\n1 400000 100000 0\n";
    if (name == "hq") level = "Definition\n8 8 1\nFF0000\ncar\n1 300000 300000 0\n";
    if (name != "shot" && name != "mine") {
        level += name + "\n1 " + place + (secondCorner ? " 140000 150000 3000\n" : "\n");
    }
    writeGameFile("Levels\\fuzz.lvl", level);
    endsOrLoads([] {
        loadLevelFile("Levels\\fuzz.lvl");
        if (!carsListedWhereTheyLie()) fault("a car outside the grid or listed where it does not lie");
        // Shapes that loaded survive the object operations the simulation uses.
        for (const auto& object : world::state.worldObjects) {
            const std::unique_ptr<WorldObject> copy = clone(*object);
            rotate(*copy, 12345);
            translate(*copy, 65536, 4294967295u);
            computeNormals(*copy);
        }
        rotate(*clone(world::state.shotTemplate), 40000);
    });
    resetWorld();
}

inline u32 fuzzSeconds = 0;
inline u32 fuzzClock() {
    return fuzzSeconds;
}

// Level files: the input is the level, read with the shipped definitions. A
// level that loads is played for a few steps with every player driving, turning
// and firing; its cars must stay listed where they lie, inside the grid.
inline void fuzzLevel(const u8* data, size_t size, int steps = 60) {
    writeGameFile("Levels\\fuzz.lvl", data, size);
    endsOrLoads([steps] {
        loadLevelFile("Levels\\fuzz.lvl");
        // Cameras as the shell gives them: at each car's start, facing +x.
        for (const auto& player : world::state.players)
            player->camera = std::make_unique<Camera>(playerEye(player->startX, player->startY));
        if (!carsListedWhereTheyLie()) fault("a car outside the grid or listed where it does not lie");
        // Play only small fields: the computer players and the check above look
        // at every cell, and large fields are about loading, not playing.
        if (world::state.players.empty() || world::state.worldGrid.cells.size() > 64 * 64) return;
        setClockSource(fuzzClock);
        Player& human = *world::state.players[0];
        for (int step = 0; step < steps; ++step) {
            fuzzSeconds += step % 30 == 0;
            human.accelerate = step % 40 < 30;
            human.turnLeft = step % 50 > 40;
            human.fire |= step % 7 == 0;
            human.layMine |= step % 13 == 0;
            human.dropFlag |= step % 17 == 0;
            UpdateFrame();
            if (!carsListedWhereTheyLie()) fault("a car drove off the grid");
        }
    });
    resetSimulation();
    resetWorld();
    resetClock();
}

} // namespace text_fuzz
