#pragma once
// A player's eye: position, heading and the view's vertical angles. The
// simulation moves it with the player's car; the renderer draws player 1's.
#include "base/arithmetic.hpp"

struct Camera {
    Camera(u32 x, u32 y, u32 z, u16 heading, u16 angleAbove, u16 angleBelow, u32 nearDepth, u32 farDepth);

    u32 x; // eye position, world units
    u32 y;
    u32 z;          // eye height
    u16 heading;    // 65536 = full turn; 0 looks along +y, 16384 along +x
    u16 angleAbove; // share of the view above the horizon
    u16 angleBelow; // from the horizon down to the bottom edge of the view
    u32 nearDepth;  // depth range of the outline drawing
    u32 farDepth;
    f32 sinHeading; // derived from heading
    f32 cosHeading;
    f32 tanBelow; // derived from angleBelow

    // Adds two signed steps to x and y (wrapping).
    void moveBy(i32 dx, i32 dy);
    // Adds the steps and turns by a signed 16-bit angle, modulo a full turn.
    void moveAndTurn(i32 dx, i32 dy, i16 dHeading);
};

// Every player's eye is made alike: this high above the ground, with these
// shares of the view above and below the horizon, and outlines drawn from the
// eye to two grid cells away.
inline constexpr u32 eyeHeight = 3072;
inline constexpr u16 eyeAngleAbove = 7168;
inline constexpr u16 eyeAngleBelow = 3584;
inline constexpr u32 eyeNearDepth = 0;
inline constexpr u32 eyeFarDepth = 131072;

// Every player starts a match facing +x.
inline constexpr u16 initialHeading = 16384;

// A player's eye at (x, y) looking along `heading`.
Camera playerEye(u32 x, u32 y, u16 heading = initialHeading);
