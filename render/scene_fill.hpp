#pragma once
// The scanline filler, written exactly as the game's fill is defined: one colour
// set and one clipped pixel write per pixel. It is the reference that any faster
// filler must match pixel for pixel.
#include "base/types.hpp"
#include "render/scene.hpp"

#include <functional>
#include <span>
#include <vector>

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

// Edges cut at the near side leave gaps in an outline; this inserts an edge
// wherever one edge does not end where the next begins, and closes the last edge
// back to the first.
void closeOutline(std::vector<ScreenEdge>& edges);

// True when every screen value of the edge is finite; no other edge is filled.
bool finiteEdge(const ScreenEdge& edge);

// True when the edge is part of row y or of a row above it: the row activates it.
bool edgeReachesRow(const ScreenEdge& edge, i32 y);
// True when both ends of the edge lie on rows above y: the edge is finished.
bool edgeAboveRow(const ScreenEdge& edge, i32 y);

// The leftmost and rightmost crossing of row y by the active edges, with depth,
// shade and texture coordinates interpolated linearly. `active` is not empty.
Span spanAtRow(std::span<const ScreenEdge> active, i32 y);

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

// Clips the span to columns 0..maxX and sets up its colour (smooth shade at the
// ends) and steps. False when it cannot be drawn: some value is not finite.
bool setUpSpan(const ScenePolygon& polygon, Span span, i32 maxX, SpanPixels& pixels);

// Draws the span of row y: clipped to columns 0..maxX, coloured (smooth shade,
// texture) and fogged per pixel. A span with non-finite values draws nothing.
void drawSpan(const ScenePolygon& polygon, Span span, i32 y, i32 maxX);

// Walks the rows of the polygon as the fill does, rows 0 to maxY - 2, and hands
// the span of every row that has active edges to `row`. The outline is closed
// first and the edges are consumed: those the rows never reached stay in the
// polygon.
void scanPolygon(ScenePolygon& polygon, i32 maxY, const std::function<void(const Span&, i32)>& row);

// Fills the polygon into the current device context: scanPolygon with every
// span drawn.
void fillPolygon(ScenePolygon& polygon, i32 maxX, i32 maxY);
