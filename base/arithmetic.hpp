#pragma once
// The arithmetic every subsystem does the game's way: float-to-integer cuts
// toward zero, 16-bit angles in radians, differences and centres of unsigned
// world coordinates.
#include "base/types.hpp"

#include <cmath>

// Pi as the game has always taken it: the 32-bit float 3.1415927.
inline constexpr f32 piF32 = 3.1415927f;
// Radians to degrees, in single precision.
inline constexpr f32 degreesPerRadian = 180.0f / piF32;

// Float-to-integer conversion that cuts toward zero, as every conversion of the
// game does. Values outside the 32-bit range saturate and not-a-number gives 0,
// so that a wild value (an edge seen nearly edge-on) can never make the
// conversion undefined; callers drop non-finite spans and edges before this.
inline i32 truncToInt(f32 value) {
    if (value >= -2147483648.0f && value < 2147483648.0f) {
        return static_cast<i32>(value);
    }
    if (std::isnan(value)) {
        return 0;
    }
    return value > 0 ? 2147483647 : -2147483647 - 1;
}

inline i32 truncToInt(f64 value) {
    if (value >= -2147483648.0 && value < 2147483648.0) {
        return static_cast<i32>(value);
    }
    if (std::isnan(value)) {
        return 0;
    }
    return value > 0 ? 2147483647 : -2147483647 - 1;
}

// The angle of a 16-bit heading (65536 to the turn; only the low 16 bits count)
// in radians, with 2*pi taken as twice piF32. The factor 1/65536 is a power of
// two, so the order of the products does not change the result.
inline f32 headingRadians(u32 heading) {
    constexpr f32 twoPi = 2.0f * piF32;
    return static_cast<f32>(heading & 0xFFFF) * twoPi * (1.0f / 65536.0f);
}

// The exact difference of two unsigned world coordinates, as a float.
inline f32 worldDelta(u32 to, u32 from) {
    return static_cast<f32>(static_cast<i64>(to) - static_cast<i64>(from));
}

// Centre and half-size of a box's extent along one axis. Both ends halve
// before they add, so they never overflow.
inline u32 centreOf(u32 min, u32 max) {
    return (min >> 1) + (max >> 1);
}
inline u32 halfSizeOf(u32 min, u32 max) {
    return (max >> 1) - (min >> 1);
}
