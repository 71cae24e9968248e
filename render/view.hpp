#pragma once
// The view of one camera on one screen: the constants of the projection, the
// camera-space transform and the projection itself. All 32-bit floats.
#include "base/types.hpp"
#include "world/camera.hpp"

// Computed once per scene from the camera and the frame's largest column and row.
struct ViewConstants {
    f32 maxX = 0;      // largest column, as a float
    f32 maxY = 0;      // largest row
    f32 centreX = 0;   // maxX / 2: the column straight ahead
    f32 rowsBelow = 0; // rows from the horizon down to the bottom of the view
    f32 focal = 0;     // pixels per unit of lateral offset at depth 1
};

ViewConstants viewConstants(const Camera& camera, i32 maxX, i32 maxY);

// The seven values a point carries through the near-side cut: camera space, world
// position (for the texture mapping) and shade.
struct ViewPoint {
    f32 lateral = 0; // positive to the left of the view direction
    f32 depth = 0;   // distance in front of the eye along the view direction
    f32 rise = 0;    // height above the eye
    f32 worldX = 0, worldY = 0, worldZ = 0;
    f32 shade = 1;
};

// A projected point: screen column and row (unrounded, unclipped) and the
// values the edge keeps.
struct ScreenPoint {
    f32 sx = 0, sy = 0, depth = 0;
    f32 worldX = 0, worldY = 0, worldZ = 0;
    f32 shade = 1;
};

// Lateral offset of a ground-plane offset (dx, dy) from the eye: the view
// direction (sin, cos) turned a quarter to the right, so +lateral is to the left.
inline f32 lateralOf(const Camera& camera, f32 dx, f32 dy) {
    return dx * camera.cosHeading - dy * camera.sinHeading;
}

// Depth of a ground-plane offset from the eye: its share along the view direction.
inline f32 depthOf(const Camera& camera, f32 dx, f32 dy) {
    return dx * camera.sinHeading + dy * camera.cosHeading;
}

// Screen position of a point in front of the eye (depth > 0).
ScreenPoint project(const ViewPoint& point, const ViewConstants& view);
