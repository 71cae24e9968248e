#include "sim/driving.hpp"

#include "base/arithmetic.hpp"
#include "world/player.hpp"

namespace {

// The velocity's component along the camera's heading.
f32 forwardSpeed(const Player& player) {
    return player.camera->sinHeading * player.velocityX + player.camera->cosHeading * player.velocityY;
}

// A turn rate scaled by a factor, cut toward zero and kept as a 16-bit angle:
// negative results wrap to the right-hand half of the circle.
u16 scaledTurn(i32 turn, f64 factor) {
    return static_cast<u16>(truncToInt(turn * factor));
}

} // namespace

bool Accelerate(Player& player) {
    const Camera& camera = *player.camera;
    f32 s = forwardSpeed(player);
    const bool belowTop = s <= topSpeed;
    f32 limit = topSpeed;
    if (player.nitro > 0) { // nitro burns only while accelerating
        --player.nitro;
        limit = nitroTopSpeed;
    }
    if (s < 16.0f) { // a push from standstill (or crawling) is a fixed 16
        player.velocityX += 16.0f * camera.sinHeading;
        player.velocityY += 16.0f * camera.cosHeading;
        return false;
    }
    if (s < limit) { // the forward component grows to 2.5 times; sideways stays
        player.velocityX = static_cast<f32>(player.velocityX + 1.5 * s * camera.sinHeading);
        player.velocityY = static_cast<f32>(player.velocityY + 1.5 * s * camera.cosHeading);
        s = forwardSpeed(player);
    }
    // Compared with the plain top speed even under nitro, so that nitro lifts any
    // speed above it straight to the nitro limit.
    if (s > topSpeed) {
        player.velocityX -= (s - limit) * camera.sinHeading;
        player.velocityY -= (s - limit) * camera.cosHeading;
        return belowTop && limit == nitroTopSpeed;
    }
    return false;
}

// Each step keeps this share of the velocity: it is divided by 1.1.
constexpr f64 velocityKept = 0.9090909090909091;
// And this share of a turn, in either direction.
constexpr f64 turnKept = 0.8;

void ApplyFriction(Player& player) {
    player.velocityX = static_cast<f32>(player.velocityX * velocityKept);
    player.velocityY = static_cast<f32>(player.velocityY * velocityKept);
    if (player.turnRate < 16 || player.turnRate > 65520) {
        player.turnRate = 0;
    }
    if (player.turnRate <= 32768) {
        player.turnRate = scaledTurn(player.turnRate, turnKept);
    } else {
        player.turnRate = scaledTurn(65536 - player.turnRate, -turnKept);
    }
}

void Steer(Player& player, u32 direction) {
    u16& turn = player.turnRate;
    if (direction == SteerLeft) {
        if (turn < 16 || turn > 65520) {
            turn = 16;
        }
        if (turn >= 32768) { // turning right: ease off first
            turn = scaledTurn(65536 - turn, -0.8);
        }
        if (turn >= 16 && turn < maxTurnLeft) {
            turn = scaledTurn(turn, 3.0);
            if (turn < 32768 && turn > maxTurnLeft) {
                turn = maxTurnLeft;
            }
        }
    } else {
        if (turn < 16 || turn > 65520) {
            turn = 65520;
        }
        if (turn < 32768) { // turning left: ease off first
            turn = scaledTurn(turn, 0.8);
        }
        if (turn > maxTurnRight && turn <= 65520) {
            turn = scaledTurn(65536 - turn, -3.0);
            if (turn >= 32768 && turn < maxTurnRight) {
                turn = maxTurnRight;
            }
        }
    }
}
