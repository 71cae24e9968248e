#include "render/view.hpp"

#include "world/camera.hpp"

ViewConstants viewConstants(const Camera& camera, i32 maxX, i32 maxY) {
    ViewConstants view;
    view.maxX = static_cast<f32>(maxX);
    view.maxY = static_cast<f32>(maxY);
    view.centreX = view.maxX * 0.5f;
    // The horizon divides the rows in the ratio of the angles above and below it.
    const u32 angleSum = u32{camera.angleAbove} + camera.angleBelow;
    view.rowsBelow = view.maxY * static_cast<f32>(camera.angleBelow) / static_cast<f32>(angleSum);
    view.focal = view.rowsBelow / camera.tanBelow;
    return view;
}

ScreenPoint project(const ViewPoint& point, const ViewConstants& view) {
    ScreenPoint screen;
    // A positive lateral offset lies left of the centre column; a point above the
    // eye lies above the horizon row.
    screen.sx = view.maxX - view.focal * point.lateral / point.depth - view.centreX;
    screen.sy = view.maxY - view.focal * point.rise / point.depth - view.rowsBelow;
    screen.depth = point.depth;
    screen.worldX = point.worldX;
    screen.worldY = point.worldY;
    screen.worldZ = point.worldZ;
    screen.shade = point.shade;
    return screen;
}
