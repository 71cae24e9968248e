#include "sim_world.hpp"

#include "base/clock.hpp"
#include "sim/match_state.hpp"
#include "world/world.hpp"

#include <algorithm>

namespace {

std::unique_ptr<WorldObject> makeBox(ObjectType type, u16 owner, u32 minX, u32 minY, u32 maxX,
                                     u32 maxY) {
    auto object = std::make_unique<WorldObject>();
    Polygon top;
    constexpr u32 z = 1000;
    top.vertices = {{minX, minY, z}, {maxX, minY, z}, {maxX, maxY, z}, {minX, maxY, z}};
    object->polygons.push_back(top);
    object->minX = minX;
    object->minY = minY;
    object->maxX = maxX;
    object->maxY = maxY;
    object->height = z;
    object->owner = owner;
    object->type = type;
    object->active = true;
    computeNormals(*object);
    return object;
}

} // namespace

void startWorld(u16 width, u16 height) {
    resetSimulation();
    resetWorld();
    resetClock();
    worldGrid.resize(width, height);
    mineTemplate = *makeBox(ObjectType::Mine, 0, 0, 0, 8192, 8192);
    shotTemplate = *makeBox(ObjectType::Shot, 0, 0, 0, 4096, 4096);
}

void endWorld() {
    resetSimulation();
    resetWorld();
    resetClock();
}

WorldObject* placeBox(ObjectType type, u16 owner, u32 minX, u32 minY, u32 maxX, u32 maxY) {
    WorldObject* object = adoptObject(makeBox(type, owner, minX, minY, maxX, maxY));
    CoverCells(*object, worldGrid);
    if (type == ObjectType::Flag) {
        ++flagCount;
    }
    return object;
}

WorldObject* placeAround(ObjectType type, u16 owner, u32 x, u32 y, u32 half) {
    return placeBox(type, owner, x - half, y - half, x + half, y + half);
}

Player& addPlayer(u32 x, u32 y, u16 heading, u32 half) {
    const u16 owner = static_cast<u16>(players.size() + 1);
    std::unique_ptr<Player> player;
    if (players.empty()) {
        player = std::make_unique<HumanPlayer>(3, 0x00FF0000);
    } else {
        player = std::make_unique<ComputerPlayer>(3, 0x0000FF00);
    }
    player->vehicle = placeAround(ObjectType::Car, owner, x, y, half);
    player->camera = std::make_unique<Camera>(x, y, 3072, heading, 7168, 3584, 0, 131072);
    player->startX = x;
    player->startY = y;
    player->world = &worldGrid;
    // Cars turn their shapes against the camera from the start heading on.
    rotate(*player->vehicle, static_cast<u16>(player->startHeading - heading));
    players.push_back(std::move(player));
    playerCount = static_cast<u16>(players.size());
    playerColours.push_back(players.back()->colour);
    return *players.back();
}

ComputerPlayer& computer(u16 index) { return static_cast<ComputerPlayer&>(*players.at(index)); }

std::vector<std::pair<u32, u32>> cellsHolding(const WorldObject& object) {
    std::vector<std::pair<u32, u32>> found;
    for (u32 cx = 0; cx < worldGrid.width; ++cx) {
        for (u32 cy = 0; cy < worldGrid.height; ++cy) {
            const CellList* list = worldGrid.cell(cx, cy);
            if (list != nullptr && listHolds(*list, object)) {
                found.emplace_back(cx, cy);
            }
        }
    }
    return found;
}

std::vector<std::pair<u32, u32>> cellsCovered(const Box& box) {
    std::vector<std::pair<u32, u32>> covered;
    const CellRange range = cellsUnder(box, worldGrid);
    if (range.empty()) {
        return covered;
    }
    for (u32 cx = range.firstX; cx <= range.lastX; ++cx) {
        for (u32 cy = range.firstY; cy <= range.lastY; ++cy) {
            covered.emplace_back(cx, cy);
        }
    }
    return covered;
}

::testing::AssertionResult listedWhereItLies(const WorldObject& object) {
    const auto holding = cellsHolding(object);
    const auto covered = cellsCovered(boxOf(object));
    if (holding == covered && !covered.empty()) {
        return ::testing::AssertionSuccess();
    }
    auto result = ::testing::AssertionFailure();
    result << "box (" << object.minX << ", " << object.minY << ")-(" << object.maxX << ", "
           << object.maxY << ") covers " << covered.size() << " cells, listed in "
           << holding.size() << ":";
    for (const auto& [cx, cy] : holding) {
        result << " (" << cx << "," << cy << ")";
    }
    return result;
}

bool worldOwns(const WorldObject* object) {
    return std::any_of(worldObjects.begin(), worldObjects.end(),
                       [object](const auto& owned) { return owned.get() == object; });
}
