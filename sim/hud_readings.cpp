#include "sim/hud_readings.hpp"

#include "world/player.hpp"

#include <cmath>

namespace {

CarriedFlag carriedFlag(const Player& player) {
    if (!player.carriedFlag) return CarriedFlag::None;
    return player.carriedFlag->owner == player.vehicle->owner ? CarriedFlag::Own : CarriedFlag::Foreign;
}

} // namespace

HudReadings hudReadings(const Player& player) {
    HudReadings r;
    r.speed = std::sqrt(player.velocityX * player.velocityX + player.velocityY * player.velocityY);
    r.heading = player.camera->heading;
    r.ammo = player.ammo;
    r.mines = player.mines;
    r.flag = carriedFlag(player);
    r.nitro = player.nitro > 0;
    r.shields = player.shields;
    return r;
}
