#pragma once
// The scanline fill written exactly as the game's fill is defined, one colour set
// and one clipped pixel write per pixel: the oracle the game's filler must match
// pixel for pixel. It shares nothing with that filler but the plain records and
// the fog and texel definitions: it closes the outline, walks the rows, finds
// each row's span and sets the span up itself, so a fault in the filler's set-up
// cannot hide in both.
#include "base/types.hpp"
#include "render/scene.hpp"
#include "render/span.hpp"

#include <functional>

namespace reference {

// Walks the rows of the polygon as the fill does, rows 0 to maxY - 2, and hands
// the span of every row that has active edges to `row`. The outline is closed
// first and the edges are consumed: those the rows never reached stay in the
// polygon.
void scanPolygon(ScenePolygon& polygon, i32 maxY, const std::function<void(const Span&, i32)>& row);

// Clips the span to columns 0..maxX and sets up its colour and steps. False when
// it cannot be drawn: some value is not finite.
bool setUpSpan(const ScenePolygon& polygon, Span span, i32 maxX, SpanPixels& pixels);

// Fills the polygon into the current device context.
void fillPolygon(ScenePolygon& polygon, i32 maxX, i32 maxY);

} // namespace reference
