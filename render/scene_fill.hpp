#pragma once
// The span pieces of the game's filler (fast_fill.hpp): the outline closed, the
// span of a row found among the active edges and set up for its pixel loop, and
// a span drawn one clipped pixel at a time on frames the filler cannot write
// directly. The fill as defined, pixel by pixel, is the oracle in the renderer's
// tests (tests/support/reference_fill.hpp), which does all of this on its own.
#include "base/types.hpp"
#include "render/scene.hpp"
#include "render/span.hpp"
#include "render/span_setup.hpp" // spanAtRow, setUpSpan

#include <span>
#include <vector>

// Edges cut at the near side leave gaps in an outline; this inserts an edge
// wherever one edge does not end where the next begins, and closes the last edge
// back to the first.
void closeOutline(std::vector<ScreenEdge>& edges);
// The same building the closed outline in `scratch`, which gets the old list.
void closeOutline(std::vector<ScreenEdge>& edges, std::vector<ScreenEdge>& scratch);

// True when every screen value of the edge is finite; no other edge is filled.
bool finiteEdge(const ScreenEdge& edge);

// Draws the span of row y: clipped to columns 0..maxX, coloured (smooth shade,
// texture) and fogged per pixel. A span with non-finite values draws nothing.
void drawSpan(const ScenePolygon& polygon, Span span, i32 y, i32 maxX);
