#pragma once
// The size of a test frame as the renderer is handed it: its largest column and
// row (639 and 479 at 640x480).
#include "base/types.hpp"

struct FrameBounds {
    i32 maxX = 0;
    i32 maxY = 0;
};

inline FrameBounds boundsOf(i32 width, i32 height) {
    return {width - 1, height - 1};
}
