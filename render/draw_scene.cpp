// The rasteriser's entry: each screen polygon in painter's order, filled or as
// its outline.
#include "world/camera.hpp"
#include "render/fast_fill.hpp"
#include "render/outline.hpp"
#include "render/scene.hpp"

void drawScene(Scene& scene, u32 renderToggle) {
    const i32 maxX = scene.maxX;
    const i32 maxY = scene.maxY;
    for (ScenePolygon& polygon : scene.polygons) {
        if (renderToggle != 0) {
            drawOutline(polygon.edges, maxX, maxY, *scene.camera, polygon.colour);
        } else {
            fillPolygonFast(polygon, maxX, maxY);
        }
    }
}

void freeScene(Scene& scene) {
    scene.polygons.clear();
    scene.polygons.shrink_to_fit();
}
