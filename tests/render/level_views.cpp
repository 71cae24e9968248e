#include "level_views.hpp"

#include "world/player.hpp"
#include "world/world.hpp"

#include <algorithm>
#include <cmath>

namespace {

// How far a car keeps its eye from anything it collides with: half its width.
constexpr i64 clearance = 2600;
// Distance between views along a drive, in world units.
constexpr f64 driveStep = 12000;
// Headings turn by this much from one view of a drive to the next (about 68
// degrees), so that every direction is seen along every drive.
constexpr u16 headingTurn = 12345;

bool blocksTheEye(const WorldObject& object) {
    switch (object.type) {
    case ObjectType::Block:
    case ObjectType::Hq:
    case ObjectType::Plant:
    case ObjectType::Sea: return true;
    default: return false;
    }
}

bool carCanStand(i64 x, i64 y) {
    for (const auto& object : world::state.worldObjects) {
        if (!object->active || !blocksTheEye(*object)) continue;
        if (x > i64{object->minX} - clearance && x < i64{object->maxX} + clearance &&
            y > i64{object->minY} - clearance && y < i64{object->maxY} + clearance)
            return false;
    }
    return true;
}

struct Place {
    i64 x, y;
};

Place centreOf(const WorldObject& object) {
    return {(i64{object.minX} + object.maxX) / 2, (i64{object.minY} + object.maxY) / 2};
}

} // namespace

std::vector<LevelView> levelViews(u32 driveViews) {
    std::vector<LevelView> views, drives;
    std::vector<Place> goals;
    for (const auto& object : world::state.worldObjects)
        if (object->type == ObjectType::Hq || object->type == ObjectType::Flag)
            goals.push_back(centreOf(*object));

    u16 heading = 0;
    for (const auto& player : world::state.players) {
        for (u32 turn = 0; turn < 16; ++turn)
            views.push_back({player->startX, player->startY, static_cast<u16>(turn * 4096)});
        // Straight drives from the start to every goal, stopping short of it.
        for (const Place& goal : goals) {
            const f64 dx = static_cast<f64>(goal.x - i64{player->startX});
            const f64 dy = static_cast<f64>(goal.y - i64{player->startY});
            const f64 length = std::sqrt(dx * dx + dy * dy);
            for (f64 along = driveStep; along < length; along += driveStep) {
                const i64 x = player->startX + static_cast<i64>(dx * along / length);
                const i64 y = player->startY + static_cast<i64>(dy * along / length);
                if (!carCanStand(x, y)) continue;
                heading = static_cast<u16>(heading + headingTurn);
                drives.push_back({static_cast<u32>(x), static_cast<u32>(y), heading});
            }
        }
    }
    const size_t kept = std::min<size_t>(drives.size(), driveViews);
    for (size_t k = 0; k < kept; ++k) views.push_back(drives[k * drives.size() / kept]);
    return views;
}
