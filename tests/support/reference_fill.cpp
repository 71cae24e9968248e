#include "tests/support/reference_fill.hpp"

#include "base/arithmetic.hpp"
#include "gfx/primitives.hpp"
#include "render/fog.hpp"
#include "world/texture.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace reference {

namespace {

bool sameEnd(f32 sx, f32 sy, f32 depth, const ScreenEdge& next) {
    return sx == next.first.sx && sy == next.first.sy && depth == next.first.depth;
}

// The edge from the end of `from` to the start of `to`.
ScreenEdge bridge(const ScreenEdge& from, const ScreenEdge& to) {
    ScreenEdge edge;
    edge.first = from.second;
    edge.second = to.first;
    return edge;
}

// The screen row of a row coordinate, cut toward zero (kept as a float so that
// no value can overflow an integer).
f32 rowOf(f32 sy) {
    return std::trunc(sy);
}

// The values of an edge's end that a span interpolates.
SpanEnd spanValues(const EdgeEnd& end) {
    return {end.sx, end.depth, end.shade, end.texU, end.texV};
}

f32 lerp(f32 a, f32 b, f32 t) {
    return a + (b - a) * t;
}

bool finite(const SpanEnd& end) {
    return std::isfinite(end.x) && std::isfinite(end.depth) && std::isfinite(end.shade) &&
           std::isfinite(end.u) && std::isfinite(end.v);
}

// A channel of the span's colour at one end: lightened toward white by the shade,
// halfway at shade 0.
f32 shadedChannel(f32 channel, f32 shade) {
    const f32 k = 0.5f + 0.5f * shade;
    return channel * k + 255.0f * (1.0f - k);
}

// Edges cut at the near side leave gaps: an edge wherever one edge does not end
// where the next begins, and one from the last edge back to the first.
void closeOutline(std::vector<ScreenEdge>& edges) {
    std::vector<ScreenEdge> closed;
    if (edges.empty()) {
        return;
    }
    for (size_t i = 0; i < edges.size(); ++i) {
        const ScreenEdge& edge = edges[i];
        closed.push_back(edge);
        if (i + 1 < edges.size() &&
            !sameEnd(edge.second.sx, edge.second.sy, edge.second.depth, edges[i + 1])) {
            closed.push_back(bridge(edge, edges[i + 1]));
        }
    }
    const ScreenEdge& last = edges.back();
    if (edges.size() > 1 && !sameEnd(last.second.sx, last.second.sy, last.second.depth, edges.front())) {
        closed.push_back(bridge(last, edges.front()));
    }
    edges = std::move(closed);
}

bool finiteEdge(const ScreenEdge& e) {
    return std::isfinite(e.first.sx) && std::isfinite(e.first.sy) && std::isfinite(e.first.depth) &&
           std::isfinite(e.second.sx) && std::isfinite(e.second.sy) && std::isfinite(e.second.depth);
}

bool edgeReachesRow(const ScreenEdge& edge, i32 y) {
    const f32 row = static_cast<f32>(y);
    return rowOf(edge.first.sy) <= row || rowOf(edge.second.sy) <= row;
}

bool edgeAboveRow(const ScreenEdge& edge, i32 y) {
    const f32 row = static_cast<f32>(y);
    return rowOf(edge.first.sy) < row && rowOf(edge.second.sy) < row;
}

Span spanAtRow(const std::vector<ScreenEdge>& active, i32 y) {
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

} // namespace

bool setUpSpan(const ScenePolygon& polygon, Span span, i32 maxX, SpanPixels& pixels) {
    SpanEnd& left = span.left;
    SpanEnd& right = span.right;

    // Steps per column over the whole span, used to move clipped ends. A span of
    // zero width draws one pixel with the left values and needs no steps.
    const f32 width = right.x - left.x;
    const f32 k = width != 0 ? 1.0f / width : 0.0f;
    const f32 dDepth = (right.depth - left.depth) * k;
    const f32 dShade = (right.shade - left.shade) * k;
    const f32 dU = (right.u - left.u) * k;
    const f32 dV = (right.v - left.v) * k;

    const f32 lastColumn = static_cast<f32>(maxX);
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
    if (!finite(left) || !finite(right)) {
        return false;
    }

    // Per-column steps again, from the clipped ends.
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

namespace {

// Draws the span of row y: clipped to columns 0..maxX, coloured (smooth shade,
// texture) and fogged per pixel. A span with non-finite values draws nothing.
void drawSpan(const ScenePolygon& polygon, Span span, i32 y, i32 maxX) {
    SpanPixels p;
    if (!setUpSpan(polygon, span, maxX, p)) {
        return;
    }
    const Texture* texture = polygon.texture;
    for (i32 px = p.firstColumn; px <= p.lastX; ++px) {
        u32 red, green, blue;
        if (texture != nullptr) {
            const u16 texel =
                texelAt(*texture, static_cast<u32>(truncToInt(p.u)), static_cast<u32>(truncToInt(p.v)));
            const f32 brightness = static_cast<f32>(texel) / 256.0f;
            red = fogChannel(static_cast<u16>(truncToInt(brightness * p.channel[2])), p.depth);
            green = fogChannel(static_cast<u16>(truncToInt(brightness * p.channel[1])), p.depth);
            blue = fogChannel(static_cast<u16>(truncToInt(brightness * p.channel[0])), p.depth);
            p.u += p.uStep;
            p.v += p.vStep;
        } else {
            red = fogChannel(static_cast<u16>(truncToInt(p.channel[2])), p.depth);
            green = fogChannel(static_cast<u16>(truncToInt(p.channel[1])), p.depth);
            blue = fogChannel(static_cast<u16>(truncToInt(p.channel[0])), p.depth);
        }
        setColorRGB(static_cast<u8>(red), static_cast<u8>(green), static_cast<u8>(blue));
        p.channel[0] += p.channelStep[0];
        p.channel[1] += p.channelStep[1];
        p.channel[2] += p.channelStep[2];
        p.depth += p.depthStep;
        drawPixel(px, y);
    }
}

} // namespace

void scanPolygon(ScenePolygon& polygon, i32 maxY, const std::function<void(const Span&, i32)>& row) {
    if (polygon.edges.empty()) {
        return;
    }
    closeOutline(polygon.edges);
    std::vector<ScreenEdge> pending = std::move(polygon.edges);
    polygon.edges.clear();
    std::vector<ScreenEdge> active;

    // The last two rows are never filled.
    for (i32 y = 0; y <= maxY - 2; ++y) {
        // Edges join the active list in outline order as the rows reach them. An
        // edge with a non-finite end never joins.
        size_t kept = 0;
        for (ScreenEdge& edge : pending) {
            if (finiteEdge(edge) && edgeReachesRow(edge, y)) {
                active.push_back(edge);
            } else {
                pending[kept++] = edge;
            }
        }
        pending.resize(kept);

        std::erase_if(active, [y](const ScreenEdge& edge) { return edgeAboveRow(edge, y); });
        if (active.empty()) {
            continue;
        }
        row(spanAtRow(active, y), y);
    }
    // Edges the rows never reached stay with the polygon until the scene is freed.
    polygon.edges = std::move(pending);
}

void fillPolygon(ScenePolygon& polygon, i32 maxX, i32 maxY) {
    scanPolygon(polygon, maxY,
                [&polygon, maxX](const Span& span, i32 y) { drawSpan(polygon, span, y, maxX); });
}

} // namespace reference
