#include "sim/vehicle.hpp"

#include "base/arithmetic.hpp"
#include "sim/collision.hpp"
#include "sim/flags.hpp"
#include "sim/match_events.hpp"
#include "sim/match_state.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

#include <cassert>
#include <cmath>

namespace {

void shiftBox(WorldObject& object, i32 dx, i32 dy) {
    object.minX += static_cast<u32>(dx);
    object.maxX += static_cast<u32>(dx);
    object.minY += static_cast<u32>(dy);
    object.maxY += static_cast<u32>(dy);
}

void stop(Player& player) {
    player.velocityX = 0;
    player.velocityY = 0;
}

// The player whose car carries this owner number, if there is one.
Player* ownerOf(const WorldObject& car) {
    if (car.owner == 0 || car.owner > world::state.players.size()) {
        return nullptr;
    }
    return world::state.players[car.owner - 1u].get();
}

// The direction of a vector as a heading angle in radians: acos of its y share,
// negated when x is negative (a heading a stands for (sin a, cos a)).
f32 directionOf(f32 x, f32 y, f32 length) {
    // Rounding can push the share a hair past 1, where acos has no value.
    const f32 share = std::fmin(1.0f, std::fmax(-1.0f, y / length));
    const f32 angle = std::acos(share);
    return x < 0 ? -angle : angle;
}

// A car stopped at this speed or more has hit what stopped it; slower, it only
// leans against it (world units per frame).
constexpr f32 wallHitSpeed = 256.0f;

f32 speedOf(const Player& player) {
    return std::sqrt(player.velocityX * player.velocityX + player.velocityY * player.velocityY);
}

MatchEvent eventAtObject(MatchEventKind kind, const WorldObject& object, u16 player, u16 other = noPlayer) {
    return matchEventAt(kind, centreOf(object.minX, object.maxX), centreOf(object.minY, object.maxY), player,
                        other);
}

CrateKind crateKindOf(ObjectType type) {
    switch (type) {
    case ObjectType::FirePak: return CrateKind::Ammo;
    case ObjectType::MinePak: return CrateKind::Mines;
    case ObjectType::HealthPak: return CrateKind::Shields;
    case ObjectType::NitroPak: return CrateKind::Nitro;
    default: return CrateKind::None;
    }
}

// A car stopped by something solid: told when it came at speed.
void tellWallHit(const Player& player, u16 index) {
    const f32 speed = speedOf(player);
    if (speed >= wallHitSpeed) {
        MatchEvent event =
            matchEventAt(MatchEventKind::CarHitWall, player.camera->x, player.camera->y, index);
        event.speed = speed;
        tellMatchEvent(event);
    }
}

void push(Player& player, f32 amount, f32 direction) {
    player.velocityX += amount * std::sin(direction);
    player.velocityY += amount * std::cos(direction);
}

// Gives the car its loaded shape, moved to where its box is now and turned to
// the camera's heading. The shape turns against the camera: world angles grow
// clockwise seen from above.
void shapeToHeading(Player& player) {
    WorldObject& car = *player.vehicle;
    car.polygons = player.unturnedShape;
    translate(car, car.minX - player.unturnedMinX, car.minY - player.unturnedMinY);
    rotate(car, static_cast<u16>(player.startHeading - player.camera->heading));
    computeNormals(car);
}

} // namespace

void TurnVehicle(Player& player) {
    player.camera->moveAndTurn(0, 0, static_cast<i16>(player.turnRate));
    shapeToHeading(player);
}

void CollideVehicles(Player& p, Player& q) {
    const f32 dx = worldDelta(q.camera->x, p.camera->x);
    const f32 dy = worldDelta(q.camera->y, p.camera->y);
    const f32 wx = p.velocityX - q.velocityX;
    const f32 wy = p.velocityY - q.velocityY;
    const f32 distance = std::sqrt(dx * dx + dy * dy);
    const f32 w = std::sqrt(wx * wx + wy * wy);
    if (distance == 0 || w == 0 || !std::isfinite(distance) || !std::isfinite(w)) {
        return;
    }
    const f32 phi = directionOf(dx, dy, distance); // from p toward q
    const f32 theta = directionOf(wx, wy, w);      // p's motion as q sees it
    const f32 along = w * std::cos(theta - phi);   // handed on to q
    const f32 across = w * std::sin(theta - phi);  // kept by p
    constexpr f32 quarterTurn = piF32 / 2;
    const f32 qx = q.velocityX;
    const f32 qy = q.velocityY;
    p.velocityX = qx;
    p.velocityY = qy;
    if (across > 0) {
        push(p, across, phi + quarterTurn);
    } else if (across < 0) {
        push(p, -across, phi - quarterTurn);
    }
    if (along > 0) {
        push(q, along, phi);
    } else if (along < 0) {
        push(q, -along, phi + 2 * quarterTurn);
    }
}

u32 MoveAndCollide(Player& player, u16 index) {
    if (player.velocityX == 0 && player.velocityY == 0) {
        return 0;
    }
    WorldObject& car = *player.vehicle;
    WorldGrid& grid = *player.world;
    const i32 dx = truncToInt(player.velocityX);
    const i32 dy = truncToInt(player.velocityY);
    // Nothing may be listed outside the grid: a move off it is blocked before
    // anything is touched.
    if (!boxFitsGrid(grid, i64{car.minX} + dx, i64{car.minY} + dy, i64{car.maxX} + dx, i64{car.maxY} + dy)) {
        tellWallHit(player, index);
        stop(player);
        return 1;
    }
    const Box before = boxOf(car);
    shiftBox(car, dx, dy);
    const std::vector<WorldObject*> hits = FindTouching(grid, car);
    u32 blocked = 0;
    bool bounced = false;
    bool walled = false; // stopped by something solid (not a capture or a flattened plant)
    // Objects that leave the game in this move, freed after the walk.
    std::vector<WorldObject*> gone;
    const u16 ownerNumber = static_cast<u16>(index + 1u);
    for (WorldObject* hit : hits) {
        if (hit->type == ObjectType::Flag && player.carriedFlag == nullptr) {
            PickUpFlag(player, *hit);
            tellMatchEvent(
                eventAtObject(MatchEventKind::FlagPickedUp, *hit, index, static_cast<u16>(hit->owner - 1u)));
        } else if (hit == player.hq && player.carriedFlag != nullptr &&
                   player.carriedFlag->owner != ownerNumber) {
            const i16 winnerBefore = sim::match.winner;
            WorldObject* captured = CaptureFlag(player, index);
            gone.push_back(captured);
            blocked = 1;
            tellMatchEvent(eventAtObject(MatchEventKind::FlagCaptured, *hit, index,
                                         static_cast<u16>(captured->owner - 1u)));
            if (sim::match.winner != winnerBefore) {
                tellMatchEvent(eventAtObject(MatchEventKind::MatchWon, *hit, index));
            }
        } else if (hit->type == ObjectType::Plant &&
                   player.velocityX * player.velocityX + player.velocityY * player.velocityY >=
                       flattenSquaredSpeed) {
            RemoveFromCellsUnder(grid, boxOf(car), *hit);
            gone.push_back(hit);
            blocked = 1; // flattening it still stops the car for this frame
            tellMatchEvent(eventAtObject(MatchEventKind::PlantFlattened, *hit, index));
        } else {
            switch (hit->type) {
            case ObjectType::Mine:
                player.shields = static_cast<i16>(player.shields - 8);
                if (player.shields < 0) {
                    player.shields = -1;
                }
                RemoveFromCellsUnder(grid, boxOf(car), *hit);
                gone.push_back(hit);
                tellMatchEvent(eventAtObject(MatchEventKind::MineExploded, *hit, index));
                break;
            case ObjectType::Car:
                if (Player* other = ownerOf(*hit)) {
                    const f32 relativeX = player.velocityX - other->velocityX;
                    const f32 relativeY = player.velocityY - other->velocityY;
                    CollideVehicles(player, *other);
                    bounced = true;
                    MatchEvent event =
                        matchEventAt(MatchEventKind::CarsBumped, centreOf(player.camera->x, other->camera->x),
                                     centreOf(player.camera->y, other->camera->y), index,
                                     static_cast<u16>(hit->owner - 1u));
                    event.speed = std::sqrt(relativeX * relativeX + relativeY * relativeY);
                    tellMatchEvent(event);
                } else { // a car that belongs to no player is just in the way
                    blocked = 1;
                    walled = true;
                }
                break;
            case ObjectType::FirePak:
            case ObjectType::MinePak:
            case ObjectType::HealthPak:
            case ObjectType::NitroPak: {
                MatchEvent event = eventAtObject(MatchEventKind::CrateCollected, *hit, index);
                event.crate = crateKindOf(hit->type);
                CollectPickup(player, *hit);
                gone.push_back(hit);
                tellMatchEvent(event);
                break;
            }
            case ObjectType::Shot: break;
            default: // walls, sea, sand, another's headquarters, a second flag, a slow plant
                blocked = 1;
                walled = true;
                break;
            }
        }
    }
    if (blocked != 0) {
        setBox(car, before);
        if (walled) {
            tellWallHit(player, index);
        }
        stop(player);
    } else if (bounced) {
        setBox(car, before); // the velocities stay as the bump set them
    } else {
        player.camera->moveBy(dx, dy);
        RemoveFromCells(grid, cellOf(before.minX), cellOf(before.minY), car);
        CoverCells(grid, car);
        translate(car, static_cast<u32>(dx), static_cast<u32>(dy));
    }
    for (WorldObject* object : gone) {
        destroyObject(object);
    }
    return blocked;
}

void RespawnPlayers() {
    assert(world::state.players.size() >= world::state.playerCount);
    for (u16 i = 0; i < world::state.playerCount; ++i) {
        Player& player = *world::state.players[i];
        if (player.shields >= 1) {
            continue;
        }
        WorldObject& car = *player.vehicle;
        WorldGrid& grid = *player.world;
        Camera& camera = *player.camera;
        RemoveFromCells(grid, cellOf(car.minX), cellOf(car.minY), car);
        tellMatchEvent(matchEventAt(MatchEventKind::CarDestroyed, camera.x, camera.y, i));
        if (WorldObject* flag = player.carriedFlag) {
            ReleaseFlag(player);
            tellMatchEvent(
                eventAtObject(MatchEventKind::FlagDropped, *flag, i, static_cast<u16>(flag->owner - 1u)));
        }
        const u32 cx = centreOf(car.minX, car.maxX);
        const u32 cy = centreOf(car.minY, car.maxY);
        const u32 hw = halfSizeOf(car.minX, car.maxX);
        const u32 hh = halfSizeOf(car.minY, car.maxY);
        setBox(car, {player.startX - hw, player.startY - hh, player.startX + hw, player.startY + hh});
        camera.moveAndTurn(static_cast<i32>(player.startX - cx), static_cast<i32>(player.startY - cy),
                           static_cast<i16>(player.startHeading - camera.heading));
        shapeToHeading(player); // back to the shape it started with
        player.velocityX = 0;
        player.velocityY = 0;
        player.turnRate = 0;
        player.shields = fullShields;
        player.nitro = 0;
        if (player.isComputer() == 1) {
            ComputerPlayer& computer = static_cast<ComputerPlayer&>(player);
            computer.aiHeading = -1;
            computer.aiPause = 0;
        }
        CoverCells(grid, car);
        tellMatchEvent(matchEventAt(MatchEventKind::CarRespawned, camera.x, camera.y, i));
    }
}
