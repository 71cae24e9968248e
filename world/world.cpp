#include "world/world.hpp"

#include "world/player.hpp"

#include <algorithm>
#include <cassert>

world::State world::state;

WorldObject* adoptObject(std::unique_ptr<WorldObject> object) {
    assert(object);
    world::state.worldObjects.push_back(std::move(object));
    return world::state.worldObjects.back().get();
}

void destroyObject(WorldObject* object) {
    const auto found = std::find_if(world::state.worldObjects.begin(), world::state.worldObjects.end(),
                                    [object](const auto& owned) { return owned.get() == object; });
    assert(found != world::state.worldObjects.end());
    if (found == world::state.worldObjects.end()) return;
    // The order of the owners means nothing: swap the last one into the gap.
    std::swap(*found, world::state.worldObjects.back());
    world::state.worldObjects.pop_back();
}

void placePlayerEyes() {
    for (u16 i = 0; i < world::state.playerCount; ++i) {
        Player& player = *world::state.players[i];
        const WorldObject& car = *player.vehicle;
        player.camera =
            std::make_unique<Camera>(playerEye((car.minX + car.maxX) >> 1, (car.minY + car.maxY) >> 1));
        player.world = &world::state.worldGrid;
    }
}

void resetWorld() {
    // The lists and the players, which point at the objects, are let go of
    // before the objects (in the record's order); the textures stay.
    TextureTable textures = std::move(world::state.textureTable);
    world::state = world::State{};
    world::state.textureTable = std::move(textures);
}

void resetTextures() {
    world::state.textureTable = TextureTable{};
}
