// Builds the world of a match from a level file: the players from its header,
// then one object per entry from its definition file, typed by its name and
// listed in every grid cell its box touches, then the mine and shot templates.
//
// Loading costs in proportion to the file and to the cell entries it asks for:
// every cell's list is filled from its last node. A level whose objects would
// need more than 4,000,000 cell entries (the shipped levels need a few
// thousand) is refused before any entry is made, as is a car whose box would
// start outside the grid, where it could neither move nor be listed.
#include "world/world.hpp"

#include "base/arithmetic.hpp"
#include "base/program_exit.hpp"
#include "world/object_definition.hpp"
#include "world/player.hpp"
#include "world/texture.hpp"
#include "world/token_reader.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

// The largest field a level may ask for. The shipped levels are 16 to 32 cells
// a side; the limit only keeps a damaged header from asking for gigabytes.
constexpr u64 maxGridCells = u64{1} << 20;
// The most players a level may name; every player keeps a score per player.
constexpr u32 maxPlayers = 255;
// The most cell entries a level's objects may need, all objects together.
constexpr u64 maxCellEntries = 4'000'000;

// A level that later code cannot play ends the program with one line naming it.
template <typename... Args> [[noreturn]] void refuseLevel(const char* format, Args... args) {
    std::fprintf(stderr, format, args...);
    exitProgram(1);
}

struct NamedType {
    const char* name;
    ObjectType type;
};

// Names the game knows, compared case-sensitively; any other name is a block.
constexpr NamedType objectNames[] = {
    {"stone1", ObjectType::Block},
    {"stone2", ObjectType::Block},
    {"stone3", ObjectType::Block},
    {"brickwall", ObjectType::Block},
    {"oldbrickwall", ObjectType::Block},
    {"woodwall", ObjectType::Block},
    {"car", ObjectType::Car},
    {"flag", ObjectType::Flag},
    {"hq", ObjectType::Hq},
    {"mine", ObjectType::Mine},
    {"sea", ObjectType::Sea},
    {"sand", ObjectType::Sand},
    {"firepak", ObjectType::FirePak},
    {"minepak", ObjectType::MinePak},
    {"healthpak", ObjectType::HealthPak},
    {"nitropak", ObjectType::NitroPak},
    {"bush", ObjectType::Plant},
    {"tree", ObjectType::Plant},
};

ObjectType typeOfName(std::string_view name) {
    for (const NamedType& entry : objectNames)
        if (name == entry.name) return entry.type;
    return ObjectType::Block;
}

// Reads the definition named by a level entry and builds its object at the
// entry's place; null for a kind that defines nothing. A box definition takes
// its second corner from the level file.
std::unique_ptr<WorldObject> readDefinition(TokenReader& level, const std::string& name, u16 owner, u32 x,
                                            u32 y, u32 z) {
    TokenReader definition("Objects\\" + name + ".odf");
    const u32 kind = definition.getint();
    const bool smooth = definition.getint() != 0;
    if (definition.skipBlanks() != '%') {
        std::fputs("Error: header too long in $s!\n", stderr); // sic: the game's own text
        exitProgram(1);
    }
    switch (kind) {
    case static_cast<u32>(ShapeKind::Mesh):
        return readMesh(definition, x, y, owner, smooth, world::state.textureTable);
    case static_cast<u32>(ShapeKind::Box): {
        const u32 x2 = level.getint();
        const u32 y2 = level.getint();
        const u32 z2 = level.getint();
        return readBox(definition, x, y, z, x2, y2, z2, owner, smooth, world::state.textureTable);
    }
    case static_cast<u32>(ShapeKind::TwoSided): {
        auto object = readTwoSided(definition, x, y, owner, smooth, world::state.textureTable);
        if (name == "tree") {
            // A tree is hit only near its trunk, whatever the width of its crown.
            const u32 cx = centreOf(object->minX, object->maxX);
            const u32 cy = centreOf(object->minY, object->maxY);
            object->minX = cx - 1024;
            object->maxX = cx + 1024;
            object->minY = cy - 1024;
            object->maxY = cy + 1024;
        }
        return object;
    }
    default: return nullptr;
    }
}

// A car's box becomes the square around its circumscribed circle, so that it
// holds the car at any heading. Returns its centre, where the player starts.
std::pair<u32, u32> recentreCar(WorldObject& car) {
    const u32 hx = halfSizeOf(car.minX, car.maxX);
    const u32 hy = halfSizeOf(car.minY, car.maxY);
    const u32 cx = centreOf(car.minX, car.maxX);
    const u32 cy = centreOf(car.minY, car.maxY);
    // In double the square root of a sum below 2^52 truncates to the exact
    // integer root; the clamp only matters for a box wrapped around the world.
    const double root = std::sqrt(static_cast<double>(hx) * hx + static_cast<double>(hy) * hy);
    const u32 r = root < 4294967295.0 ? static_cast<u32>(root) : 4294967295u;
    car.minX = cx - r;
    car.maxX = cx + r;
    car.minY = cy - r;
    car.maxY = cy + r;
    return {cx, cy};
}

// The player that a car or headquarters entry names by its owner number.
Player& ownerOf(const WorldObject& object, const char* what, const std::string& levelName) {
    if (object.owner < 1 || object.owner > world::state.playerCount)
        refuseLevel("Error: %s of owner %u in %s has no player!\n", what, static_cast<unsigned>(object.owner),
                    levelName.c_str());
    return *world::state.players[object.owner - 1];
}

// The mine and shot templates: meshes at (0, 0) without an owner, read without
// the check of the header's "%".
WorldObject loadTemplate(const char* fileName, ObjectType type) {
    TokenReader reader(fileName);
    reader.getint(); // the kind: always a mesh
    const bool smooth = reader.getint() != 0;
    reader.skipBlanks();
    auto object = readMesh(reader, 0, 0, 0, smooth, world::state.textureTable);
    object->active = true;
    object->type = type;
    computeNormals(*object);
    return std::move(*object);
}

} // namespace

const char* levelFileName(u16 level) {
    static constexpr const char* names[] = {
        "Levels\\Level-A.lvl", "Levels\\Level-B.lvl", "Levels\\Level-C.lvl",
        "Levels\\Level-D.lvl", "Levels\\test.lvl",
    };
    return level < std::size(names) ? names[level] : nullptr;
}

void loadLevel(u16 level) {
    // A number without a level reads like a missing level file.
    const char* name = levelFileName(level);
    loadLevelFile(name ? name : "");
}

void loadLevelFile(std::string_view fileName) {
    resetWorld();
    const std::string levelName(fileName);
    TokenReader level(levelName);

    level.getstring(); // the title
    const u16 width = static_cast<u16>(level.getint());
    const u16 height = static_cast<u16>(level.getint());
    world::state.playerCount = static_cast<u16>(level.getint());
    if (world::state.playerCount > maxPlayers)
        refuseLevel("Error: %u players in %s are too many!\n",
                    static_cast<unsigned>(world::state.playerCount), levelName.c_str());

    for (u32 i = 0; i < world::state.playerCount; ++i) {
        const u32 colour = level.gethex();
        world::state.playerColours.push_back(colour);
        std::unique_ptr<Player> player;
        if (i == 0)
            player = std::make_unique<HumanPlayer>(world::state.playerCount, colour);
        else
            player = std::make_unique<ComputerPlayer>(world::state.playerCount, colour);
        player->world = &world::state.worldGrid;
        world::state.players.push_back(std::move(player));
    }

    if (u64{width} * height > maxGridCells)
        refuseLevel("Error: grid of %u x %u cells in %s is too large!\n", static_cast<unsigned>(width),
                    static_cast<unsigned>(height), levelName.c_str());
    world::state.worldGrid.resize(width, height);

    // The objects are listed in the grid once the whole file is read and the
    // entries they need are known to be within the limit.
    std::vector<WorldObject*> entered;
    u64 cellEntries = 0;
    for (TokenString entry = level.getstring(); !tokenText(entry).empty(); entry = level.getstring()) {
        const std::string name(tokenText(entry));
        const u16 owner = static_cast<u16>(level.getint());
        const u32 x = level.getint();
        const u32 y = level.getint();
        const u32 z = level.getint();
        std::unique_ptr<WorldObject> built = readDefinition(level, name, owner, x, y, z);
        if (!built) continue;
        computeNormals(*built);
        WorldObject* object = adoptObject(std::move(built));
        object->type = typeOfName(name);
        switch (object->type) {
        case ObjectType::Car: {
            const auto [cx, cy] = recentreCar(*object);
            Player& player = ownerOf(*object, "car", levelName);
            if (!boxFitsGrid(world::state.worldGrid, object->minX, object->minY, object->maxX, object->maxY))
                refuseLevel("Error: car of owner %u in %s lies outside the grid!\n",
                            static_cast<unsigned>(object->owner), levelName.c_str());
            player.vehicle = object;
            player.keepUnturnedShape();
            player.startX = cx;
            player.startY = cy;
            player.startHeading = initialHeading;
            break;
        }
        case ObjectType::Hq: ownerOf(*object, "hq", levelName).hq = object; break;
        case ObjectType::Flag: ++world::state.flagCount; break;
        default: break;
        }
        cellEntries += cellsUnder(world::state.worldGrid, boxOf(*object)).count();
        if (cellEntries > maxCellEntries)
            refuseLevel("Error: objects in %s need more than %u cell entries!\n", levelName.c_str(),
                        static_cast<unsigned>(maxCellEntries));
        entered.push_back(object);
    }
    CoverCellsInOrder(world::state.worldGrid, entered);

    // Every player drives a car and delivers flags somewhere; the match reads both.
    for (u32 i = 0; i < world::state.playerCount; ++i) {
        if (!world::state.players[i]->vehicle)
            refuseLevel("Error: player %u has no car in %s!\n", i + 1, levelName.c_str());
        if (!world::state.players[i]->hq)
            refuseLevel("Error: player %u has no hq in %s!\n", i + 1, levelName.c_str());
    }

    world::state.mineTemplate = loadTemplate("Objects\\mine.odf", ObjectType::Mine);
    world::state.shotTemplate = loadTemplate("Objects\\shot.odf", ObjectType::Shot);
}
