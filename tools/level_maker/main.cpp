// level_maker: turns the level maps into "Levels/*.lvl" in the run directory.
// It reads the run directory's object definitions with the game's own readers,
// so every object is centred in its map square by its real size.
//
//   level_maker <run directory> <maps directory>
#include "tools/level_maker/level_map.hpp"

#include "world/object_definition.hpp"
#include "world/token_reader.hpp"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>

namespace {

// The levels the game knows, by file name.
const char* const levelNames[] = {"Level-A", "Level-B", "Level-C", "Level-D", "test"};

Footprint footprintOf(const std::string& name) {
    static std::map<std::string, Footprint> known;
    if (auto it = known.find(name); it != known.end()) return it->second;
    static const TextureTable noTextures;
    TokenReader reader("Objects\\" + name + ".odf");
    const u32 kind = reader.getint();
    reader.getint(); // smooth
    if (reader.skipBlanks() != '%') throw std::runtime_error(name + ": header not closed by %");
    Footprint f;
    if (kind == 1) {
        known[name] = f; // walls take their corners from the map
        return f;
    }
    // Placed away from 0: a billboard's box reaches below its placement y.
    const auto object = kind == 3 ? readTwoSided(reader, 0, 65536, 0, false, noTextures)
                                  : readMesh(reader, 0, 65536, 0, false, noTextures);
    f.width = object->maxX - object->minX;
    f.depth = object->maxY - object->minY;
    f.billboard = kind == 3;
    if (f.billboard) f.depth = 0; // the game centres a billboard on its placement y
    known[name] = f;
    return f;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: level_maker <run directory> <maps directory>\n");
        return 2;
    }
    const std::filesystem::path maps = std::filesystem::absolute(argv[2]);
    std::filesystem::current_path(argv[1]); // definitions are read by their game names
    try {
        for (const char* name : levelNames) {
            const LevelMap map = readLevelMap((maps / (std::string(name) + ".map")).string());
            const std::string text = formatLevel(map, buildEntries(map, footprintOf));
            const std::string out = std::string("Levels/") + name + ".lvl";
            std::ofstream file(out, std::ios::binary);
            file << text;
            if (!file) throw std::runtime_error("cannot write " + out);
            std::printf("wrote %s\n", out.c_str());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "level_maker: %s\n", e.what());
        return 1;
    }
    return 0;
}
