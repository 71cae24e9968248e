#pragma once
// The filler drawScene uses: the same pixels as fillPolygon (the reference in
// scene_fill.hpp), faster. Rows that no edge reaches are skipped, and on the
// game's 24-bit RGB frame the pixels go straight into the surface instead of
// through one colour set and one clipped pixel write each.
#include "base/types.hpp"
#include "render/scene.hpp"

// Fills the polygon into the current device context exactly as fillPolygon does,
// leaving the same edges in the polygon and the same current colour behind.
void fillPolygonFast(ScenePolygon& polygon, i32 maxX, i32 maxY);
