#include "render/scene_fill.hpp"

#include "base/arithmetic.hpp"
#include "gfx/primitives.hpp"
#include "render/fog.hpp"
#include "world/texture.hpp"

#include <algorithm>
#include <cmath>

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

} // namespace

void closeOutline(std::vector<ScreenEdge>& edges) {
    std::vector<ScreenEdge> scratch;
    closeOutline(edges, scratch);
}

void closeOutline(std::vector<ScreenEdge>& edges, std::vector<ScreenEdge>& closed) {
    if (edges.empty()) {
        return;
    }
    closed.clear();
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
    edges.swap(closed);
}

bool finiteEdge(const ScreenEdge& e) {
    return std::isfinite(e.first.sx) && std::isfinite(e.first.sy) && std::isfinite(e.first.depth) &&
           std::isfinite(e.second.sx) && std::isfinite(e.second.sy) && std::isfinite(e.second.depth);
}

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
