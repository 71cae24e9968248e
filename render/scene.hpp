#pragma once
// The renderer's contract between its two stages. buildScene (the front end)
// turns the world seen from one camera into plain screen records; drawScene (the
// rasteriser) only consumes them. A Scene lives within one frame:
//     Scene scene = buildScene(...); drawScene(scene, renderToggle); freeScene(scene);
#include "base/types.hpp"

#include <span>
#include <vector>

struct Camera;
struct Texture;
struct WorldGrid;

struct Vec3f {
    f32 x = 0, y = 0, z = 0;
};

// One projected edge of a screen polygon. Depth is the camera depth in world
// units; texture coordinates are world units in the polygon's plane (9.7 fixed
// point once truncated: one texel per 128).
struct ScreenEdge {
    f32 sx1 = 0, sy1 = 0, depth1 = 0; // first endpoint: column, row, depth
    f32 sx2 = 0, sy2 = 0, depth2 = 0; // second endpoint
    f32 texU1 = 0, texV1 = 0;         // texture coordinates at the first endpoint
    f32 texU2 = 0, texV2 = 0;         // at the second endpoint
    f32 shade1 = 1, shade2 = 1;       // 1 = the colour itself, 0 = halfway to white
};

// Everything one endpoint of a ScreenEdge carries.
struct EdgeEnd {
    f32 sx = 0, sy = 0, depth = 0, texU = 0, texV = 0, shade = 1;
};

inline EdgeEnd firstEnd(const ScreenEdge& e) {
    return {e.sx1, e.sy1, e.depth1, e.texU1, e.texV1, e.shade1};
}
inline EdgeEnd secondEnd(const ScreenEdge& e) {
    return {e.sx2, e.sy2, e.depth2, e.texU2, e.texV2, e.shade2};
}
inline void setFirstEnd(ScreenEdge& e, const EdgeEnd& p) {
    e.sx1 = p.sx, e.sy1 = p.sy, e.depth1 = p.depth, e.texU1 = p.texU, e.texV1 = p.texV, e.shade1 = p.shade;
}
inline void setSecondEnd(ScreenEdge& e, const EdgeEnd& p) {
    e.sx2 = p.sx, e.sy2 = p.sy, e.depth2 = p.depth, e.texU2 = p.texU, e.texV2 = p.texV, e.shade2 = p.shade;
}

// One kept world polygon, ready to fill. Its edges run in vertex order with the
// closing edge last; filling moves them out as the rows reach them.
struct ScenePolygon {
    std::vector<ScreenEdge> edges;
    u32 colour = 0;                   // final flat colour 0x00RRGGBB, owner tint applied
    u32 smooth = 0;                   // 1: the shade values lighten the colour
    const Texture* texture = nullptr; // null: untextured
    u16 axis = 0;                     // texture projection axis: 0 x, 1 y, 2 z
    Vec3f origin;                     // texture origin point in world units
    Vec3f uAxis;                      // unit direction of texture u
    Vec3f vAxis;                      // unit direction of texture v
};

struct Scene {
    std::vector<ScenePolygon> polygons; // painter's order: far objects first
    i32 maxX = 0, maxY = 0;             // the frame's largest column and row
    const Camera* camera = nullptr;     // the camera the scene was built for
    std::span<const u32> colours;       // owner colours, entry owner - 1
};

// Gathers the objects in the 5 x 5 cells around the camera, orders them far to
// near, culls, transforms, cuts at the near side and projects every kept polygon
// onto a frame whose largest column and row are maxX and maxY.
Scene buildScene(const WorldGrid& grid, const Camera& camera, i32 maxX, i32 maxY,
                 std::span<const u32> playerColours);

// Draws every polygon into the current device context: filled, or as fogged
// outlines while renderToggle is nonzero. Filling consumes the edges, so a scene
// is drawn once.
void drawScene(Scene& scene, u32 renderToggle);

// Releases every polygon and edge of the scene.
void freeScene(Scene& scene);
