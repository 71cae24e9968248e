#pragma once
// A level drawn as text: one character per half cell (32768 world units), the
// top line the far side (largest y). See tools/README.md for the legend.
#include <functional>
#include <string>
#include <utility>
#include <vector>

// An offset in world units (x east, y north) for every object of one symbol,
// for the few that must stand off the centre of their square.
struct Nudge {
    char symbol = 0;
    int dx = 0, dy = 0;
};

struct LevelMap {
    std::string title;                // the level file's first line
    int players = 0;                  // 2 or 3
    std::vector<std::string> colours; // one hexadecimal colour per player
    std::vector<Nudge> nudges;        // "nudge:" lines
    std::vector<std::string> rows;    // all the same length, an even count of each
};

// Reads a map source: "title:", "players:", "colours:" and any "nudge:" lines,
// then "map:" and the rows. Throws std::runtime_error with the reason on a
// malformed source.
LevelMap readLevelMap(const std::string& path);

// One entry of a level file, ready to print.
struct LevelEntry {
    std::string name; // definition name
    unsigned owner = 0;
    unsigned x = 0, y = 0, z = 0;
    bool box = false; // a wall: the second corner follows
    unsigned x2 = 0, y2 = 0, z2 = 0;
};

// The size of a definition's footprint when placed at (0, 0), as the game
// computes it: x and y extents, and for billboards the centre offset along x.
struct Footprint {
    unsigned width = 0, depth = 0;
    bool billboard = false;
};

// Turns the map into entries in drawing-friendly groups (walls, ground
// patches, obstacles, plants, headquarters, flags, cars, pick-ups), each object
// centred in its character's square. `footprintOf` gives a definition's size.
using EntryGroups = std::vector<std::pair<std::string, std::vector<LevelEntry>>>;
EntryGroups buildEntries(const LevelMap& map,
                         const std::function<Footprint(const std::string&)>& footprintOf);

// The level file's text.
std::string formatLevel(const LevelMap& map, const EntryGroups& groups);
