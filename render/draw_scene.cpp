// The rasteriser's entry: each screen polygon in painter's order, filled or as
// its outline.
#include "world/camera.hpp"
#include "render/fast_fill.hpp"
#include "render/outline.hpp"
#include "render/scene.hpp"
#include "render/screen_info.hpp"

void drawScene(Scene& scene, u32 renderToggle) {
    // A scene without polygons draws nothing, and may have been built for no screen.
    if (scene.polygons.empty()) return;
    const i32 maxX = scene.screen->maxX;
    const i32 maxY = scene.screen->maxY;
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
