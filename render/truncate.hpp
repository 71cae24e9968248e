#pragma once
// Float-to-integer conversion that cuts toward zero, as every conversion in the
// renderer does. Values outside the 32-bit range saturate and not-a-number gives
// 0, so that a wild value (an edge seen nearly edge-on) can never make the
// conversion undefined; callers drop non-finite spans and edges before this.
#include "base/types.hpp"

#include <cmath>

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
