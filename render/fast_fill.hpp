#pragma once
// The filler drawScene uses: the same pixels as the fill defined pixel by pixel
// (the oracle of the renderer's tests), faster. Rows that no edge reaches or
// whose span lies beside the frame are skipped, and on the game's 24-bit RGB
// frame the pixels go straight into the surface instead of through one colour
// set and one clipped pixel write each: the running sums pixel by pixel (two
// rows side by side for textured spans), colour and fog several pixels at once.
#include "base/types.hpp"
#include "render/scene.hpp"

// Fills the polygon into the current device context exactly as the defined fill
// does, leaving the same edges in the polygon and the same current colour behind.
void fillPolygonFast(ScenePolygon& polygon, i32 maxX, i32 maxY);
// The same with the scene's buffers as its working storage.
void fillPolygonFast(ScenePolygon& polygon, i32 maxX, i32 maxY, SceneBuffers& buffers);

// Whether pixels are coloured eight at a time where the processor has 256-bit
// vectors (the default there) or four at a time. Both give the same pixels; the
// tests check each against the fill's definition.
void useWideColours(bool wide);
