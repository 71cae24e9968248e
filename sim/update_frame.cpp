#include "sim/update_frame.hpp"

#include "base/arithmetic.hpp"
#include "sim/computer_player.hpp"
#include "sim/driving.hpp"
#include "sim/flags.hpp"
#include "sim/match_events.hpp"
#include "sim/match_state.hpp"
#include "sim/projectile.hpp"
#include "sim/vehicle.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

#include <cassert>

void UpdatePlayer(u16 index) {
    Player& player = *world::state.players[index];
    // Each control is read afresh: both turn keys may act in one frame, left first.
    if (player.accelerate != 0 && Accelerate(player)) {
        tellMatchEvent(matchEventAt(MatchEventKind::NitroOn, player.camera->x, player.camera->y, index));
    }
    if (player.brake != 0) {
        ApplyFriction(player);
    }
    if (player.turnLeft != 0) {
        Steer(player, SteerLeft);
    }
    if (player.turnRight != 0) {
        Steer(player, SteerRight);
    }
    // The one-shot requests are used up whether or not they could be carried out.
    if (player.dropFlag != 0) {
        WorldObject* const carried = player.carriedFlag;
        DropFlag(player);
        player.dropFlag = 0;
        if (carried != nullptr && player.carriedFlag == nullptr) {
            tellMatchEvent(matchEventAt(MatchEventKind::FlagDropped, centreOf(carried->minX, carried->maxX),
                                        centreOf(carried->minY, carried->maxY), index,
                                        static_cast<u16>(carried->owner - 1u)));
        }
    }
    if (player.layMine != 0) {
        LayMine(player, index);
        player.layMine = 0;
    }
    if (player.fire != 0) {
        Fire(player, index);
        player.fire = 0;
    }
    ApplyFriction(player);
    TurnVehicle(player);
    const u32 blocked = MoveAndCollide(player, index);
    if (player.isComputer() == 1) {
        ThinkComputer(static_cast<ComputerPlayer&>(player), blocked, *world::state.players[0]);
    }
}

void UpdateFrame() {
    assert(world::state.players.size() >= world::state.playerCount);
    for (u16 i = 0; i < world::state.playerCount; ++i) {
        UpdatePlayer(i);
    }
    MoveProjectiles();
    RespawnPlayers();
    if (sim::match.drawFrameHook != nullptr) {
        sim::match.drawFrameHook();
    }
}
