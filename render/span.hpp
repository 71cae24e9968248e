#pragma once
// The records of one row's span as the fillers pass them from the span search to
// the pixel loop.
#include "base/types.hpp"

// Values at one end of a row's span.
struct SpanEnd {
    f32 x = 0;     // screen column
    f32 depth = 0; // camera depth
    f32 shade = 1;
    f32 u = 0, v = 0; // texture coordinates
};

struct Span {
    SpanEnd left, right;
};

// Everything the pixel loop of one span needs: its columns, and the colour
// channels C0 (blue), C1 (green), C2 (red), depth and texture coordinates at the
// first pixel with their steps per column.
struct SpanPixels {
    i32 firstColumn = 0; // trunc(left end)
    f32 lastX = 0;       // pixels run while the column is at most this
    f32 channel[3] = {}, channelStep[3] = {};
    f32 depth = 0, depthStep = 0;
    f32 u = 0, v = 0, uStep = 0, vStep = 0;
};
