#include "sim/projectile.hpp"

#include "base/arithmetic.hpp"
#include "sim/collision.hpp"
#include "sim/match_events.hpp"
#include "sim/match_state.hpp"
#include "sim/placement.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Mines go down half a cell behind the car; shots leave a quarter cell ahead.
constexpr f32 mineDistance = -32768.0f;
constexpr f32 muzzleDistance = 16384.0f;

// A car hit by a shot: its shields soak up the shot's power, as far as they go.
// Shields already below 0 (a mine leaves -1) go to 0 as well, and the power then
// decreases by a negative amount: it grows, but never past what it can hold.
void hitCar(Player& player, Projectile& shot) {
    if (player.shields >= shot.power) {
        player.shields = static_cast<i16>(player.shields - shot.power);
        shot.power = 0;
    } else {
        const i32 power = i32{shot.power} - player.shields;
        shot.power = static_cast<u16>(std::min<i32>(power, std::numeric_limits<u16>::max()));
        player.shields = 0;
    }
}

// One step of a shot's flight and what it touches there. Returns false when the
// shot would leave the grid, which ends it.
// The index of the player who fired a shot, from the owner number it carries.
u16 shooterOf(const WorldObject& shot) {
    return static_cast<u16>(shot.owner - 1u);
}

bool flyAndHit(Projectile& shot) {
    WorldObject& object = *shot.object;
    const i32 dx = truncToInt(shot.dirX * shot.speed);
    const i32 dy = truncToInt(shot.dirY * shot.speed);
    RemoveFromCells(world::state.worldGrid, cellOf(shot.x), cellOf(shot.y), object);
    if (!boxFitsGrid(world::state.worldGrid, i64{object.minX} + dx, i64{object.minY} + dy,
                     i64{object.maxX} + dx, i64{object.maxY} + dy)) {
        return false;
    }
    shot.x += static_cast<u32>(dx);
    shot.y += static_cast<u32>(dy);
    translate(object, static_cast<u32>(dx), static_cast<u32>(dy));
    object.minX += static_cast<u32>(dx);
    object.maxX += static_cast<u32>(dx);
    object.minY += static_cast<u32>(dy);
    object.maxY += static_cast<u32>(dy);
    CoverCells(world::state.worldGrid, object);

    std::vector<WorldObject*> gone; // mines and plants it clears, freed after the walk
    for (WorldObject* hit : FindTouching(world::state.worldGrid, object)) {
        // Only hits that do something are told: a spent shot still touches.
        const bool live = shot.power > 0;
        switch (hit->type) {
        case ObjectType::Car:
            for (u16 i = 0; i < world::state.playerCount; ++i) {
                if (world::state.players[i]->vehicle == hit) {
                    if (live) {
                        tellMatchEvent(
                            matchEventAt(MatchEventKind::ShotHitCar, shot.x, shot.y, i, shooterOf(object)));
                    }
                    hitCar(*world::state.players[i], shot);
                }
            }
            break;
        case ObjectType::Mine: // cleared; the shot flies on
            RemoveFromCellsUnder(world::state.worldGrid, boxOf(object), *hit);
            gone.push_back(hit);
            tellMatchEvent(matchEventAt(MatchEventKind::MineExploded, centreOf(hit->minX, hit->maxX),
                                        centreOf(hit->minY, hit->maxY), shooterOf(object)));
            break;
        case ObjectType::Plant: // cut down at the cost of one hit
            RemoveFromCellsUnder(world::state.worldGrid, boxOf(object), *hit);
            gone.push_back(hit);
            if (shot.power > 0) {
                --shot.power;
            }
            tellMatchEvent(matchEventAt(MatchEventKind::ShotHitWall, shot.x, shot.y, shooterOf(object)));
            break;
        default:
            shot.power = 0;
            if (live) {
                tellMatchEvent(matchEventAt(MatchEventKind::ShotHitWall, shot.x, shot.y, shooterOf(object)));
            }
            break;
        }
    }
    for (WorldObject* cleared : gone) {
        destroyObject(cleared);
    }
    return true;
}

} // namespace

void LayMine(Player& player, u16 index) {
    if (player.mines == 0) {
        return;
    }
    std::unique_ptr<WorldObject> mine = clone(world::state.mineTemplate);
    mine->owner = static_cast<u16>(index + 1u);
    const auto point = pointAlongHeading(*player.camera, mineDistance);
    const auto place = point ? FreePlace(*player.world, *mine, *point) : std::nullopt;
    if (!place) {
        return; // no room behind the car: the mine is kept
    }
    WorldObject* laid = adoptObject(std::move(mine));
    PlaceObject(*player.world, *laid, *place);
    --player.mines;
    tellMatchEvent(matchEventAt(MatchEventKind::MineLaid, centreOf(place->minX, place->maxX),
                                centreOf(place->minY, place->maxY), index));
}

void Fire(Player& player, u16 index) {
    if (player.ammo == 0) {
        return;
    }
    --player.ammo; // spent even when the muzzle is blocked
    const Camera& camera = *player.camera;
    tellMatchEvent(matchEventAt(MatchEventKind::ShotFired, camera.x, camera.y, index));
    std::unique_ptr<WorldObject> shot = clone(world::state.shotTemplate);
    shot->owner = static_cast<u16>(index + 1u);
    rotate(*shot, static_cast<u16>(-camera.heading)); // point it along the heading
    computeNormals(*shot);
    const auto point = pointAlongHeading(camera, muzzleDistance);
    const auto place = point ? FreePlace(*player.world, *shot, *point) : std::nullopt;
    if (!place) { // it meets what stands at the muzzle at once
        tellMatchEvent(matchEventAt(MatchEventKind::ShotHitWall, point ? point->x : camera.x,
                                    point ? point->y : camera.y, index));
        return;
    }
    PlaceObject(*player.world, *shot, *place);
    const f32 angle = headingRadians(camera.heading);
    sim::match.projectiles.push_back(Projectile{std::move(shot), point->x, point->y, camera.heading,
                                                std::sin(angle), std::cos(angle), shotSpeed, shotPower});
}

void MoveProjectiles() {
    // A shot that ends is taken out of the list and the shots after it move up,
    // so the next one is still moved in this same pass.
    for (size_t i = 0; i < sim::match.projectiles.size();) {
        Projectile& shot = sim::match.projectiles[i];
        if (flyAndHit(shot) && shot.power > 0) {
            ++i;
            continue;
        }
        RemoveFromCells(world::state.worldGrid, cellOf(shot.x), cellOf(shot.y), *shot.object);
        sim::match.projectiles.erase(sim::match.projectiles.begin() + static_cast<std::ptrdiff_t>(i));
    }
}
