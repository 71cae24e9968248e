// The rasteriser's entry: each screen polygon in painter's order, filled or as
// its outline.
#include "render/fast_fill.hpp"
#include "render/outline.hpp"
#include "render/scene.hpp"
#include "world/camera.hpp"

#include <algorithm>

void drawScene(Scene& scene, u32 renderToggle) {
    const i32 maxX = scene.maxX;
    const i32 maxY = scene.maxY;
    for (ScenePolygon& polygon : scene.polygons) {
        if (renderToggle != 0) {
            drawOutline(polygon.edges, maxX, maxY, *scene.camera, polygon.colour);
        } else {
            fillPolygonFast(polygon, maxX, maxY, scene.buffers);
        }
    }
}

void freeScene(Scene& scene) {
    for (ScenePolygon& polygon : scene.polygons) {
        scene.buffers.widestOutline = std::max(scene.buffers.widestOutline, polygon.edges.capacity());
        polygon.edges.clear();
        scene.buffers.spareEdges.push_back(std::move(polygon.edges));
    }
    scene.polygons.clear();
}

ScenePolygon& addPolygon(Scene& scene) {
    ScenePolygon& polygon = scene.polygons.emplace_back();
    if (!scene.buffers.spareEdges.empty()) {
        polygon.edges = std::move(scene.buffers.spareEdges.back());
        scene.buffers.spareEdges.pop_back();
    }
    // Edge lists pass from polygon to polygon; each gets room for the widest
    // outline seen, so that none grows again once the views are known.
    polygon.edges.reserve(scene.buffers.widestOutline);
    return polygon;
}
