#include "world/world.hpp"

#include "world/player.hpp"

#include <algorithm>
#include <cassert>

WorldGrid worldGrid;
std::vector<std::unique_ptr<Player>> players;
std::vector<u32> playerColours;
u16 playerCount = 0;
u16 flagCount = 0;
WorldObject mineTemplate;
WorldObject shotTemplate;
std::vector<std::unique_ptr<WorldObject>> worldObjects;

WorldObject* adoptObject(std::unique_ptr<WorldObject> object) {
    assert(object);
    worldObjects.push_back(std::move(object));
    return worldObjects.back().get();
}

void destroyObject(WorldObject* object) {
    const auto found = std::find_if(worldObjects.begin(), worldObjects.end(),
                                    [object](const auto& owned) { return owned.get() == object; });
    assert(found != worldObjects.end());
    if (found == worldObjects.end()) return;
    // The order of the owners means nothing: swap the last one into the gap.
    std::swap(*found, worldObjects.back());
    worldObjects.pop_back();
}

void placePlayerEyes() {
    for (u16 i = 0; i < playerCount; ++i) {
        Player& player = *players[i];
        const WorldObject& car = *player.vehicle;
        player.camera = std::make_unique<Camera>(
            playerEye((car.minX + car.maxX) >> 1, (car.minY + car.maxY) >> 1));
        player.world = &worldGrid;
    }
}

void resetWorld() {
    // Lists and players point at the objects: let go of them first.
    worldGrid = WorldGrid{};
    players.clear();
    playerColours.clear();
    playerCount = 0;
    flagCount = 0;
    mineTemplate = WorldObject{};
    shotTemplate = WorldObject{};
    worldObjects.clear();
}
