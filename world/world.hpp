#pragma once
// The world model of a match, built by the level loader and shared by the
// renderer and the simulation, and the texture library it is drawn with: one
// record, world::state. Tests start clean with resetWorld() and resetTextures().
#include "base/types.hpp"
#include "world/texture.hpp"
#include "world/world_grid.hpp"
#include "world/world_object.hpp"

#include <memory>
#include <string_view>
#include <vector>

struct Player;

namespace world {

struct State {
    // The game's textures, loaded once at start-up from "textures.dat"; a new
    // level keeps them.
    TextureTable textureTable;
    WorldGrid worldGrid;                          // the level's grid of cell lists
    std::vector<std::unique_ptr<Player>> players; // index = owner - 1; entry 0 is the human
    std::vector<u32> playerColours;               // 0x00RRGGBB per player, from the level header
    u16 playerCount = 0;                          // number of entries of players
    u16 flagCount = 0;                            // flags placed by the level; never changes
    WorldObject mineTemplate;                     // cloned for every laid mine
    WorldObject shotTemplate;                     // cloned for every fired shot
    // Level objects, and laid mines, belong to the world until they leave the game.
    std::vector<std::unique_ptr<WorldObject>> worldObjects;
    // Nodes stepped over by CellList::add and appendAfter since the world was
    // reset, so that tests can tell what building the grid's lists costs.
    u64 cellListSteps = 0;
};

extern State state;

} // namespace world

// Takes ownership of an object; returns it for listing in the grid.
WorldObject* adoptObject(std::unique_ptr<WorldObject> object);
// Frees an object that adoptObject took (a collected pick-up, a captured flag, a
// cleared mine). The object must be out of every cell list first.
void destroyObject(WorldObject* object);

// The level files by number: 0..3 "Levels\Level-A.lvl" to "Levels\Level-D.lvl",
// 4 "Levels\test.lvl"; null for any other number.
const char* levelFileName(u16 level);

// Builds the world from the level of that number (see levelFileName), starting
// from an empty world. Errors in the level or its definitions end the program
// with their messages, as does a level that cannot be played: a car or
// headquarters of no player, a player without either, a car whose box would
// start outside the grid, a grid too large, objects needing more than 4,000,000
// cell entries.
// Players are made without cameras; the shell gives them theirs (placePlayerEyes).
void loadLevel(u16 level);
// The same from a level file named directly.
void loadLevelFile(std::string_view fileName);

// Gives every player of the level a new eye at the centre of its car's box (the
// unsigned sums of its ends halved), facing the start heading, and the grid for
// its queries.
void placePlayerEyes();

// Frees the level's world model and returns it to its start values; the
// texture library stays.
void resetWorld();

// Empties the texture library (tests).
void resetTextures();
