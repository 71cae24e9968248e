#pragma once
// Outline drawing mode: every screen edge as a one-pixel line in the polygon's
// flat colour, fogged per pixel, clipped against the frame and the camera's
// depth range by midpoint subdivision.
#include "base/types.hpp"
#include "render/scene.hpp"

#include <span>

struct Camera;

// Which sides of the drawable volume a point lies outside of.
enum OutcodeBit : u32 {
    outsideLeft = 1,    // sx < 0
    outsideTop = 2,     // sy < 0
    outsideNear = 4,    // depth < nearDepth
    outsideRight = 8,   // sx > maxX + 1
    outsideBottom = 16, // sy > maxY + 1
    outsideFar = 32,    // depth > farDepth
};

u32 outcode(f32 sx, f32 sy, f32 depth, i32 maxX, i32 maxY, const Camera& camera);

// Draws every edge of the list in order into the current device context. Edges
// with a non-finite end are skipped.
void drawOutline(std::span<const ScreenEdge> edges, i32 maxX, i32 maxY, const Camera& camera, u32 colour);

// The error-term line stepper for an edge that lies wholly inside: one pixel per
// step along the major axis, pixels outside 0..maxX, 0..maxY left out.
void drawFoggedLine(const ScreenEdge& edge, i32 maxX, i32 maxY, u32 colour);
