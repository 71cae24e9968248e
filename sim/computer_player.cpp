#include "sim/computer_player.hpp"

#include "base/arithmetic.hpp"
#include "base/clock.hpp"
#include "sim/collision.hpp"
#include "world/player.hpp"

#include <cassert>
#include <cmath>
#include <cstdlib>

namespace {

// Players come within shooting range at this distance, within mine range at the other.
constexpr f64 shootingRange = 150000.0;
constexpr f64 miningRange = 200000.0;
// How close the heading must be to the wanted one to fire, and to stop turning.
constexpr i32 aimTolerance = 500;
constexpr i32 steerTolerance = 1000;

// One degree as a share of the full circle (1/360), in single precision.
constexpr f32 circlePerDegree = 0.0027777778f;

// Degrees to a 16-bit heading, in single precision as the opponents always did.
i32 headingOfDegrees(f32 degrees) {
    return truncToInt(degrees * 65536.0f * circlePerDegree);
}

// The first flag of player 1 lying in the grid, scanning column by column.
const WorldObject* firstHumanFlag(const WorldGrid& grid) {
    for (u32 column = 0; column < grid.width; ++column) {
        for (u32 row = 0; row < grid.height; ++row) {
            for (const CellList* node = grid.cell(column, row); node != nullptr && node->object != nullptr;
                 node = node->next) {
                const WorldObject& object = *node->object;
                if (object.active && object.type == ObjectType::Flag && object.owner == 1) {
                    return &object;
                }
            }
        }
    }
    return nullptr;
}

// The opponents' way of aiming at player 1 within shooting range: the plain
// arctangent of the slope with its sign flipped, 270 degrees for a level target
// and added to negative angles. From some sides it points straight at player 1,
// from others not; that is their aim.
i32 attackHeading(const Camera& own, const Camera& human) {
    f32 degrees = 180.0f;
    if (own.x != human.x) {
        const f32 rise = worldDelta(own.y, human.y);
        const f32 run = worldDelta(own.x, human.x);
        degrees = std::atan(-rise / run) * degreesPerRadian;
    }
    if (degrees == 0.0f) {
        degrees = 270.0f;
    }
    if (degrees < 0.0f) {
        degrees += 270.0f;
    }
    return headingOfDegrees(degrees);
}

} // namespace

std::optional<i32> headingToward(u32 tx, u32 ty, u32 cx, u32 cy) {
    const i64 east = static_cast<i64>(tx) - cx;
    const i64 north = static_cast<i64>(ty) - cy;
    if (east == 0 && north == 0) {
        return std::nullopt; // already there: no way to face
    }
    // A car drives along (sin h, cos h): the angle is measured from +y toward +x.
    f32 degrees = std::atan2(static_cast<f32>(east), static_cast<f32>(north)) * degreesPerRadian;
    if (degrees < 0.0f) {
        degrees += 360.0f;
    }
    // Just short of a full turn can round up to 360 degrees; that is heading 0.
    return headingOfDegrees(degrees) & 0xFFFF;
}

void ThinkComputer(ComputerPlayer& player, u32 blocked, const Player& human) {
    assert(player.hq != nullptr);
    const Camera& camera = *player.camera;

    // Ran into something: forget the target, turn right and pause the search.
    if (blocked != 0) {
        player.aiHeading = -1;
        player.aiPause = static_cast<i32>(matchClockSeconds());
        player.turnRight = 1;
        player.turnLeft = 0;
        return;
    }

    if (player.aiHeading == -1 && player.aiPause > 0 &&
        i64{matchClockSeconds()} - player.aiPause >= aiPauseSeconds) {
        player.aiPause = 0;
    }

    // Choose a target: player 1's flags, then home with a foreign flag.
    const WorldObject* flag = player.carriedFlag;
    const bool idle = player.aiHeading == -1 && player.aiPause == 0;
    if (flag == nullptr) {
        if (idle) {
            if (const WorldObject* target = firstHumanFlag(*player.world)) {
                player.aiHeading = headingToward(target->minX, target->minY, camera.x, camera.y).value_or(-1);
            }
        }
    } else if (flag->owner != player.hq->owner) {
        if (idle) {
            const WorldObject& hq = *player.hq;
            player.aiHeading =
                headingToward(centreOf(hq.minX, hq.maxX), centreOf(hq.minY, hq.maxY), camera.x, camera.y)
                    .value_or(-1);
        }
    } else {
        player.dropFlag = 1; // its own flag is no use to it
    }

    // Attack player 1 when close: shoot while there is ammunition, else lay mines.
    const Camera& target = *human.camera;
    const f64 dx = static_cast<f64>(static_cast<i64>(target.x) - camera.x);
    const f64 dy = static_cast<f64>(static_cast<i64>(target.y) - camera.y);
    const f64 distance = std::sqrt(dx * dx + dy * dy);
    if (distance <= shootingRange && player.ammo > 0) {
        player.aiHeading = attackHeading(camera, target);
        if (std::abs(player.aiHeading - camera.heading) <= aimTolerance) {
            player.fire = 1;
        }
    } else if (distance <= miningRange && player.ammo == 0) {
        player.layMine = 1;
    }

    // Steer: turn on the spot until the heading is close enough, then drive.
    const i32 heading = camera.heading;
    const i32 wanted = player.aiHeading;
    if (wanted != -1 && std::abs(wanted - heading) > steerTolerance) {
        if (heading - wanted > 0) {
            player.turnRight = 1;
            player.turnLeft = 0;
        } else {
            player.turnLeft = 1;
            player.turnRight = 0;
        }
        player.velocityX = 0;
        player.velocityY = 0;
        return;
    }
    player.turnRate = 0;
    player.turnLeft = 0;
    player.turnRight = 0;
    if (player.fire == 0) {
        player.accelerate = 1;
    }
    player.brake = 0;
}
