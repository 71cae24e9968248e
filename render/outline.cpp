#include "render/outline.hpp"

#include "base/arithmetic.hpp"
#include "gfx/primitives.hpp"
#include "render/fog.hpp"
#include "world/camera.hpp"

#include <cmath>
#include <utility>

namespace {

// An endpoint as the line stepper sees it: its screen position with its depth.
struct LinePoint {
    f32 sx = 0, sy = 0, depth = 0;
};

// One half of the edge, cut at the midpoint of every endpoint value.
ScreenEdge midpointSplit(const ScreenEdge& e, bool firstHalf) {
    const EdgeEnd mid = midpoint(e.first, e.second);
    ScreenEdge half = e;
    if (firstHalf)
        half.second = mid;
    else
        half.first = mid;
    return half;
}

// Draws the part of the edge inside the frame and the depth range: an edge
// partly outside is halved until its pieces lie inside or outside, and a piece
// at most one pixel long that still crosses a side is dropped.
void drawClipped(const ScreenEdge& edge, i32 maxX, i32 maxY, const Camera& camera, u32 colour) {
    const u32 c1 = outcode(edge.first.sx, edge.first.sy, edge.first.depth, maxX, maxY, camera);
    const u32 c2 = outcode(edge.second.sx, edge.second.sy, edge.second.depth, maxX, maxY, camera);
    if ((c1 | c2) == 0) {
        drawFoggedLine(edge, maxX, maxY, colour);
        return;
    }
    if ((c1 & c2) != 0) {
        return;
    }
    if (std::fabs(std::trunc(edge.first.sx - edge.second.sx)) > 1 ||
        std::fabs(std::trunc(edge.first.sy - edge.second.sy)) > 1) {
        drawClipped(midpointSplit(edge, true), maxX, maxY, camera, colour);
        drawClipped(midpointSplit(edge, false), maxX, maxY, camera, colour);
    }
}

} // namespace

u32 outcode(f32 sx, f32 sy, f32 depth, i32 maxX, i32 maxY, const Camera& camera) {
    u32 code = 0;
    if (sx < 0) code |= outsideLeft;
    if (sy < 0) code |= outsideTop;
    if (depth < static_cast<f32>(camera.nearDepth)) code |= outsideNear;
    if (sx > static_cast<f32>(maxX + 1)) code |= outsideRight;
    if (sy > static_cast<f32>(maxY + 1)) code |= outsideBottom;
    if (depth > static_cast<f32>(camera.farDepth)) code |= outsideFar;
    return code;
}

void drawOutline(std::span<const ScreenEdge> edges, i32 maxX, i32 maxY, const Camera& camera, u32 colour) {
    for (const ScreenEdge& edge : edges) {
        const bool finite = std::isfinite(edge.first.sx) && std::isfinite(edge.first.sy) &&
                            std::isfinite(edge.first.depth) && std::isfinite(edge.second.sx) &&
                            std::isfinite(edge.second.sy) && std::isfinite(edge.second.depth);
        if (finite) {
            drawClipped(edge, maxX, maxY, camera, colour);
        }
    }
}

void drawFoggedLine(const ScreenEdge& edge, i32 maxX, i32 maxY, u32 colour) {
    LinePoint p1{edge.first.sx, edge.first.sy, edge.first.depth};
    LinePoint p2{edge.second.sx, edge.second.sy, edge.second.depth};
    if (p1.sx >= p2.sx && p1.sy >= p2.sy) {
        std::swap(p1, p2);
    }
    const u16 red = (colour >> 16) & 0xFF;
    const u16 green = (colour >> 8) & 0xFF;
    const u16 blue = colour & 0xFF;

    const f32 dx = p2.sx - p1.sx;
    const f32 dy = p2.sy - p1.sy;
    const bool xMajor = std::fabs(std::trunc(dx)) >= std::fabs(std::trunc(dy));
    i32 minorStep = 1;
    if ((dx > 0 && dy < 0) || (dx < 0 && dy > 0)) {
        // One coordinate rises while the other falls: step the minor axis down and
        // walk the major axis upward.
        minorStep = -1;
        if (xMajor ? dx < 0 : dy < 0) {
            std::swap(p1, p2);
        }
    }
    const f32 major1 = xMajor ? p1.sx : p1.sy;
    const f32 major2 = xMajor ? p2.sx : p2.sy;
    const f32 minor1 = xMajor ? p1.sy : p1.sx;
    const f32 minor2 = xMajor ? p2.sy : p2.sx;
    const f32 dMajor = major2 - major1;
    const f32 dMinor = minor2 - minor1;

    i32 n = truncToInt(minor1);
    i32 m = truncToInt(major1);
    f64 depth = p1.depth;
    // A line of one point has no length to step the depth over.
    const f64 depthStep =
        dMajor != 0 ? (static_cast<f64>(p2.depth) - static_cast<f64>(p1.depth)) / dMajor : 0.0;
    f32 error = -dMajor / 2;
    const f32 errorStep = std::fabs(dMinor);

    while (m <= major2) {
        const i32 x = xMajor ? m : n;
        const i32 y = xMajor ? n : m;
        if (x >= 0 && x <= maxX && y >= 0 && y <= maxY) {
            const f32 pixelDepth = static_cast<f32>(depth);
            setColorRGB(static_cast<u8>(fogChannel(red, pixelDepth)),
                        static_cast<u8>(fogChannel(green, pixelDepth)),
                        static_cast<u8>(fogChannel(blue, pixelDepth)));
            drawPixel(x, y);
        }
        error += errorStep;
        depth += depthStep;
        if (error > 0) {
            n += minorStep;
            error -= dMajor;
        }
        ++m;
    }
}
