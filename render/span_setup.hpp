#pragma once
// The span search and set-up of the game's filler, inline so that its row loop
// (fast_fill.cpp) keeps their values in registers instead of passing spans
// through memory. The same single-precision operations in the same order
// wherever they are compiled.
#include "base/arithmetic.hpp"
#include "base/types.hpp"
#include "render/scene.hpp"
#include "render/span.hpp"

#include <algorithm>
#include <cmath>
#include <span>

// Helpers of the two below.
namespace span_setup {

// The screen row of a row coordinate, cut toward zero (kept as a float so that
// no value can overflow an integer).
inline f32 rowOf(f32 sy) {
    return std::trunc(sy);
}

// The values of an edge's end that a span interpolates.
inline SpanEnd spanValues(const EdgeEnd& end) {
    return {end.sx, end.depth, end.shade, end.texU, end.texV};
}

inline f32 lerp(f32 a, f32 b, f32 t) {
    return a + (b - a) * t;
}

inline bool finiteEnd(const SpanEnd& end) {
    return std::isfinite(end.x) && std::isfinite(end.depth) && std::isfinite(end.shade) &&
           std::isfinite(end.u) && std::isfinite(end.v);
}

// A channel of the span's colour at one end: lightened toward white by the shade,
// halfway at shade 0.
inline f32 shadedChannel(f32 channel, f32 shade) {
    const f32 k = 0.5f + 0.5f * shade;
    return channel * k + 255.0f * (1.0f - k);
}

// Moves the ends of a span that reach past column 0 or lastColumn back onto
// them, by the span's steps per column over its whole width (a span of zero
// width draws one pixel with the left values and needs no steps).
inline void clipSpan(SpanEnd& left, SpanEnd& right, f32 lastColumn) {
    const f32 width = right.x - left.x;
    const f32 k = width != 0 ? 1.0f / width : 0.0f;
    const f32 dDepth = (right.depth - left.depth) * k;
    const f32 dShade = (right.shade - left.shade) * k;
    const f32 dU = (right.u - left.u) * k;
    const f32 dV = (right.v - left.v) * k;
    if (left.x < 0) {
        left.depth -= left.x * dDepth;
        left.shade -= left.x * dShade;
        left.u -= left.x * dU;
        left.v -= left.x * dV;
        left.x = 0;
    }
    if (right.x > lastColumn) {
        const f32 beyond = right.x - lastColumn;
        right.depth -= beyond * dDepth;
        right.shade -= beyond * dShade;
        right.u -= beyond * dU;
        right.v -= beyond * dV;
        right.x = lastColumn;
    }
}

} // namespace span_setup

// The leftmost and rightmost crossing of row y by the active edges, with depth,
// shade and texture coordinates interpolated linearly. `active` is not empty.
inline Span spanAtRow(std::span<const ScreenEdge> active, i32 y) {
    using namespace span_setup;
    Span span;
    bool first = true;
    for (const ScreenEdge& edge : active) {
        // A is the end with the smaller column (the second end when they are equal).
        const bool firstIsLeft = edge.first.sx < edge.second.sx;
        const EdgeEnd a = firstIsLeft ? edge.first : edge.second;
        const EdgeEnd b = firstIsLeft ? edge.second : edge.first;
        const SpanEnd av = spanValues(a), bv = spanValues(b);

        if (rowOf(a.sy) == rowOf(b.sy)) {
            // A level edge spans from one end to the other.
            if (first) {
                span.left = av;
                span.right = bv;
            } else {
                if (av.x < span.left.x) span.left = av;
                if (bv.x > span.right.x) span.right = bv;
            }
            first = false;
            continue;
        }

        // The crossing with the row; t may lie outside 0..1 on the rows around an
        // endpoint, where the ends of the edge limit x.
        const f32 t = (static_cast<f32>(y) - a.sy) / (b.sy - a.sy);
        SpanEnd crossing;
        crossing.x = lerp(av.x, bv.x, t);
        crossing.depth = lerp(av.depth, bv.depth, t);
        crossing.shade = lerp(av.shade, bv.shade, t);
        crossing.u = lerp(av.u, bv.u, t);
        crossing.v = lerp(av.v, bv.v, t);

        if (first) {
            span.left = crossing;
            span.right = crossing;
            span.left.x = std::max(crossing.x, av.x);
            span.right.x = std::min(crossing.x, bv.x);
        } else {
            f32 x = crossing.x;
            if (x < span.left.x) {
                x = std::max(x, av.x);
                span.left = crossing;
                span.left.x = x;
            }
            if (x > span.right.x) {
                span.right = crossing;
                span.right.x = std::min(x, bv.x);
            }
        }
        first = false;
    }
    return span;
}

// Clips the span to columns 0..maxX and sets up its colour (smooth shade at the
// ends) and steps. False when it cannot be drawn: some value is not finite.
inline bool setUpSpan(const ScenePolygon& polygon, Span span, i32 maxX, SpanPixels& pixels) {
    using namespace span_setup;
    SpanEnd& left = span.left;
    SpanEnd& right = span.right;

    const f32 lastColumn = static_cast<f32>(maxX);
    if (left.x < 0 || right.x > lastColumn) {
        clipSpan(left, right, lastColumn);
    }
    if (!finiteEnd(left) || !finiteEnd(right)) {
        return false;
    }

    // Per-column steps from the (clipped) ends.
    const f32 clippedWidth = right.x - left.x;
    const auto stepOf = [clippedWidth](f32 from, f32 to) {
        return clippedWidth != 0 ? (to - from) / clippedWidth : 0.0f;
    };
    for (int c = 0; c < 3; ++c) {
        const f32 own = static_cast<f32>((polygon.colour >> (8 * c)) & 0xFF);
        if (polygon.smooth) {
            pixels.channel[c] = shadedChannel(own, left.shade);
            pixels.channelStep[c] = stepOf(pixels.channel[c], shadedChannel(own, right.shade));
        } else {
            pixels.channel[c] = own;
            pixels.channelStep[c] = 0;
        }
    }
    pixels.depth = left.depth;
    pixels.depthStep = stepOf(left.depth, right.depth);
    pixels.u = left.u;
    pixels.v = left.v;
    pixels.uStep = stepOf(left.u, right.u);
    pixels.vStep = stepOf(left.v, right.v);
    pixels.firstColumn = truncToInt(left.x);
    pixels.lastX = right.x;
    for (int c = 0; c < 3; ++c) {
        if (!std::isfinite(pixels.channel[c]) || !std::isfinite(pixels.channelStep[c])) {
            return false;
        }
    }
    return std::isfinite(pixels.depthStep) && std::isfinite(pixels.uStep) && std::isfinite(pixels.vStep);
}
