#pragma once
// The renderer's contract between its two stages. buildScene (the front end)
// turns the world seen from one camera into plain screen records; drawScene (the
// rasteriser) only consumes them. A Scene's polygons live within one frame; the
// record itself can be kept from frame to frame, so that its buffers are reused
// and a frame in steady play allocates nothing:
//     buildScene(scene, ...); drawScene(scene, renderToggle); freeScene(scene);
#include "base/types.hpp"

#include <span>
#include <vector>

struct Camera;
struct Texture;
struct WorldGrid;
struct WorldObject;

struct Vec3f {
    f32 x = 0, y = 0, z = 0;
};

// Everything one end of a screen edge carries: its column, row and camera depth
// in world units, its texture coordinates (world units in the polygon's plane,
// 9.7 fixed point once truncated: one texel per 128) and its shade (1 = the
// colour itself, 0 = halfway to white). A new per-vertex value is a new member
// here.
struct EdgeEnd {
    f32 sx = 0, sy = 0, depth = 0;
    f32 texU = 0, texV = 0;
    f32 shade = 1;
};

// Halfway between two ends, every value.
inline EdgeEnd midpoint(const EdgeEnd& a, const EdgeEnd& b) {
    return {(a.sx + b.sx) * 0.5f,     (a.sy + b.sy) * 0.5f,     (a.depth + b.depth) * 0.5f,
            (a.texU + b.texU) * 0.5f, (a.texV + b.texV) * 0.5f, (a.shade + b.shade) * 0.5f};
}

// One projected edge of a screen polygon, from its first end to its second.
struct ScreenEdge {
    EdgeEnd first, second;
};

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

// An edge with the rows it takes part in: it joins the active edges at
// firstRow and leaves them after lastRow.
struct TimedEdge {
    ScreenEdge edge;
    i32 firstRow = 0;
    i32 lastRow = 0;
};

// An object of the draw order with its distance from the eye.
struct OrderedObject {
    const WorldObject* object = nullptr;
    u64 distance = 0;
};

// Working storage of the two stages, kept with the scene so that building and
// filling the next frame reuse it instead of allocating.
struct SceneBuffers {
    std::vector<std::vector<ScreenEdge>> spareEdges; // emptied edge lists of freed polygons
    size_t widestOutline = 0;                        // the most edges an edge list has had room for
    std::vector<OrderedObject> drawOrder;            // the objects near the eye, far to near
    std::vector<const WorldObject*> objects;         // those of them in the view cone
    std::vector<ScreenEdge> closed;                  // the filler's: an outline being closed
    std::vector<ScreenEdge> unreached;               // edges no filled row reaches
    std::vector<TimedEdge> timed;                    // the others, in the order rows reach them
    std::vector<ScreenEdge> active;                  // the edges of the current row
    std::vector<i32> activeLastRow;                  // and the last row of each
};

struct Scene {
    std::vector<ScenePolygon> polygons; // painter's order: far objects first
    i32 maxX = 0, maxY = 0;             // the frame's largest column and row
    const Camera* camera = nullptr;     // the camera the scene was built for
    std::span<const u32> colours;       // owner colours, entry owner - 1
    SceneBuffers buffers;
};

// Gathers the objects in the 5 x 5 cells around the camera, orders them far to
// near, culls, transforms, cuts at the near side and projects every kept polygon
// onto a frame whose largest column and row are maxX and maxY.
Scene buildScene(const WorldGrid& grid, const Camera& camera, i32 maxX, i32 maxY,
                 std::span<const u32> playerColours);
// The same into a scene whose polygons have been freed, reusing its buffers.
void buildScene(Scene& scene, const WorldGrid& grid, const Camera& camera, i32 maxX, i32 maxY,
                std::span<const u32> playerColours);

// Draws every polygon into the current device context: filled, or as fogged
// outlines while renderToggle is nonzero. Filling consumes the edges, so a scene
// is drawn once.
void drawScene(Scene& scene, u32 renderToggle);

// Removes every polygon of the scene; their edge lists are kept, emptied, for
// the polygons of the next scene built into the same record.
void freeScene(Scene& scene);

// A new polygon at the end of the scene, with an edge list from the spares.
ScenePolygon& addPolygon(Scene& scene);
