#include "sim/flags.hpp"

#include "sim/collision.hpp"
#include "sim/match_state.hpp"
#include "sim/placement.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

#include <algorithm>
#include <cassert>

namespace {

// A flag is dropped half a cell behind the car, where a mine would be laid.
constexpr f32 dropDistance = -32768.0f;

// The score of one owner's flags, 0 for an owner the scores do not count.
u32 scoreFor(const Player& player, u32 owner) {
    return owner < player.flagScores.size() ? player.flagScores[owner] : 0;
}

// Where a box of half-size `half` centred at `centre` lies along an axis of
// `cells` grid cells, moved inward so that it ends inside the grid.
std::pair<u32, u32> keptInside(u32 centre, u32 half, u16 cells) {
    const i64 last = (i64{cells} << 16) - 1;
    i64 low = i64{centre} - half;
    i64 high = i64{centre} + half;
    if (high > last) {
        low -= high - last;
        high = last;
    }
    if (low < 0) {
        high -= low;
        low = 0;
    }
    return {static_cast<u32>(low), static_cast<u32>(high)};
}

} // namespace

void CollectPickup(Player& player, WorldObject& pickup) {
    switch (pickup.type) {
    case ObjectType::FirePak: player.ammo = static_cast<u16>(player.ammo + firePakAmmo); break;
    case ObjectType::MinePak: player.mines = static_cast<u16>(player.mines + minePakMines); break;
    case ObjectType::HealthPak:
        player.shields = std::min<i16>(static_cast<i16>(player.shields + healthPakShields), fullShields);
        break;
    case ObjectType::NitroPak: player.nitro = static_cast<u16>(player.nitro + nitroPakFrames); break;
    default: assert(false && "not a pick-up"); return;
    }
    RemoveFromCells(*player.world, cellOf(pickup.minX), cellOf(pickup.minY), pickup);
}

void PickUpFlag(Player& player, WorldObject& flag) {
    RemoveFromCellsUnder(*player.world, boxOf(*player.vehicle), flag);
    player.carriedFlag = &flag;
    if (player.isComputer() == 1) { // it has what it wanted; now it heads for home
        static_cast<ComputerPlayer&>(player).aiHeading = -1;
    }
}

WorldObject* CaptureFlag(Player& player, u16 index) {
    WorldObject* flag = player.carriedFlag;
    assert(flag != nullptr);
    // A flag of an owner beyond the players has no score to count toward.
    if (flag->owner < player.flagScores.size()) {
        ++player.flagScores[flag->owner];
    }
    player.carriedFlag = nullptr;
    if (HasWon(player, index)) {
        sim::match.winner = static_cast<i16>(index);
    }
    return flag;
}

bool HasWon(const Player& player, u16 index) {
    const u32 own = index + 1u;
    if (sim::match.playerChoice == 2) {
        const u32 other = index == 0 ? 2 : 1;
        return scoreFor(player, other) == (world::state.flagCount >> 1);
    }
    if (sim::match.playerChoice == 3) {
        u32 delivered = 0;
        for (u32 owner = 1; owner <= 3; ++owner) {
            if (owner != own) {
                delivered += scoreFor(player, owner);
            }
        }
        return delivered == 2u * world::state.flagCount / 3u;
    }
    return false;
}

void DropFlag(Player& player) {
    WorldObject* flag = player.carriedFlag;
    if (flag == nullptr) {
        return;
    }
    const auto point = pointAlongHeading(*player.camera, dropDistance);
    if (!point) {
        return;
    }
    // The flag keeps the box it had when it was picked up; only its size counts here.
    const auto place = FreePlace(*player.world, *flag, *point);
    if (!place) {
        return;
    }
    PlaceObject(*player.world, *flag, *place);
    player.carriedFlag = nullptr;
}

void ReleaseFlag(Player& player) {
    WorldObject* flag = player.carriedFlag;
    assert(flag != nullptr);
    WorldGrid& grid = *player.world;
    const auto [minX, maxX] = keptInside(player.camera->x, halfSizeOf(flag->minX, flag->maxX), grid.width);
    const auto [minY, maxY] = keptInside(player.camera->y, halfSizeOf(flag->minY, flag->maxY), grid.height);
    PlaceObject(grid, *flag, {minX, minY, maxX, maxY});
    player.carriedFlag = nullptr;
}
