// The front end: from the world grid and one camera to the screen polygons of a
// Scene. Objects near the camera are ordered far to near, culled by a view cone,
// and every polygon that faces the eye is transformed, cut at the near side and
// projected.
#include "render/scene_build.hpp"

#include "render/polygon_setup.hpp"
#include "render/scene.hpp"
#include "render/view.hpp"
#include "world/camera.hpp"
#include "world/cell_list.hpp"
#include "world/world_grid.hpp"
#include "world/world_object.hpp"

#include <algorithm>
#include <cmath>

namespace {

// Cells around the camera's cell that are drawn, in each direction.
constexpr i64 windowReach = 2;
// An object is drawn when one corner of its box lies within about 75.5 degrees
// of the view direction.
constexpr f32 viewConeCosine = 0.25f;
// The near-side cut lands at a depth in (0, nearCutDepth].
constexpr f32 nearCutDepth = 8.0f;

bool inViewCone(const WorldObject& object, const Camera& camera);

// Keeps the draw order far to near by boxDistanceSquared; equal distances go
// after the ones already listed, and an object already listed (at the same
// distance, so before the place it would go) is not listed again.
void insertByDistance(std::vector<OrderedObject>& order, const WorldObject* object, u64 distance) {
    size_t at = 0;
    for (; at < order.size(); ++at) {
        if (order[at].object == object) return;
        if (distance > order[at].distance) break;
    }
    order.insert(order.begin() + static_cast<std::ptrdiff_t>(at), OrderedObject{object, distance});
}

// Puts every object of the cells around the camera into the draw order, far to
// near. Cells are visited column by column; an object in several cells is listed
// once, and equal distances keep the order of arrival.
void gatherObjects(const WorldGrid& grid, const Camera& camera, std::vector<OrderedObject>& drawOrder) {
    drawOrder.clear();
    const i64 cellX = cellOf(camera.x);
    const i64 cellY = cellOf(camera.y);
    const i64 firstX = std::max<i64>(cellX - windowReach, 0);
    const i64 firstY = std::max<i64>(cellY - windowReach, 0);
    const i64 lastX = std::min<i64>(cellX + windowReach, i64{grid.width} - 1);
    const i64 lastY = std::min<i64>(cellY + windowReach, i64{grid.height} - 1);
    for (i64 x = firstX; x <= lastX; ++x) {
        for (i64 y = firstY; y <= lastY; ++y) {
            for (const CellList* node = grid.cell(static_cast<u32>(x), static_cast<u32>(y));
                 node != nullptr && node->object != nullptr; node = node->next) {
                insertByDistance(drawOrder, node->object,
                                 boxDistanceSquared(*node->object, camera.x, camera.y));
            }
        }
    }
}

// The active objects of the draw order inside the view cone, into `objects`.
void visibleObjects(const WorldGrid& grid, const Camera& camera, SceneBuffers& buffers) {
    gatherObjects(grid, camera, buffers.drawOrder);
    buffers.objects.clear();
    for (const OrderedObject& entry : buffers.drawOrder) {
        const WorldObject& object = *entry.object;
        if (object.active && inViewCone(object, camera)) {
            buffers.objects.push_back(&object);
        }
    }
}

// True when some corner of the object's box lies inside the view cone. A corner
// at the eye itself has no direction (0/0) and does not count.
bool inViewCone(const WorldObject& object, const Camera& camera) {
    f32 best = -1.0f;
    for (const u32 y : {object.minY, object.maxY}) {
        for (const u32 x : {object.minX, object.maxX}) {
            const f32 dx = worldDelta(x, camera.x);
            const f32 dy = worldDelta(y, camera.y);
            const f32 cosine = depthOf(camera, dx, dy) / std::sqrt(dx * dx + dy * dy);
            if (cosine > best) {
                best = cosine;
            }
        }
    }
    return best > viewConeCosine;
}

// True when the polygon faces the eye. A polygon whose normal has no direction
// has no area (a car shape worn down to nothing by many small turns), and one
// whose plane passes through the eye is seen edge-on: neither covers anything,
// and neither is drawn, where the fill would paint its outline as a line one
// pixel wide (both give a cosine that is not a number).
bool facesEye(const Polygon& polygon, const Camera& camera) {
    const Vertex& v0 = polygon.vertices.front();
    const f32 dx = worldDelta(v0.x, camera.x);
    const f32 dy = worldDelta(v0.y, camera.y);
    const f32 dz = worldDelta(v0.z, camera.z);
    const f32 nx = polygon.nx, ny = polygon.ny, nz = polygon.nz;
    const f32 cosine = (dx * nx + dy * ny + dz * nz) /
                       std::sqrt((dx * dx + dy * dy + dz * dz) * (nx * nx + ny * ny + nz * nz));
    return cosine < 0;
}

// Turns one object's vertices into camera space.
struct ObjectTransform {
    const Camera& camera;
    bool billboard = false; // a two-sided object: drawn flat to the view at its centre
    bool smooth = false;
    u32 centreX = 0; // box centre of a billboard
    f32 centreLateral = 0;
    f32 centreDepth = 0;

    ObjectTransform(const WorldObject& object, const Camera& eye) : camera(eye) {
        smooth = object.smooth;
        billboard = object.shapeKind == ShapeKind::TwoSided;
        if (billboard) {
            centreX = static_cast<u32>((u64{object.minX} + object.maxX) / 2);
            const u32 centreY = static_cast<u32>((u64{object.minY} + object.maxY) / 2);
            const f32 dx = worldDelta(centreX, camera.x);
            const f32 dy = worldDelta(centreY, camera.y);
            centreLateral = lateralOf(camera, dx, dy);
            centreDepth = depthOf(camera, dx, dy);
        }
    }

    ViewPoint operator()(const Vertex& vertex) const {
        ViewPoint point;
        if (billboard) {
            // The x offset from the centre is laid across the view unturned; the y
            // offset is ignored, so the shape always shows the same face.
            point.lateral = centreLateral + worldDelta(vertex.x, centreX);
            point.depth = centreDepth;
        } else {
            const f32 dx = worldDelta(vertex.x, camera.x);
            const f32 dy = worldDelta(vertex.y, camera.y);
            point.lateral = lateralOf(camera, dx, dy);
            point.depth = depthOf(camera, dx, dy);
        }
        point.rise = worldDelta(vertex.z, camera.z);
        point.worldX = static_cast<f32>(vertex.x);
        point.worldY = static_cast<f32>(vertex.y);
        point.worldZ = static_cast<f32>(vertex.z);
        point.shade = smooth ? shadeOf(vertex) : 1.0f;
        return point;
    }

    // The horizontal share of the vertex normal: 1 for a level normal, 0 for one
    // pointing straight up.
    static f32 shadeOf(const Vertex& vertex) {
        const f32 nx = vertex.nx, ny = vertex.ny, nz = vertex.nz;
        const f32 upShare = nz * nz / (nx * nx + ny * ny + nz * nz);
        return std::isnan(upShare) ? 1.0f : std::sqrt(1.0f - upShare);
    }
};

ViewPoint operator+(const ViewPoint& a, const ViewPoint& b) {
    return {a.lateral + b.lateral, a.depth + b.depth,   a.rise + b.rise,  a.worldX + b.worldX,
            a.worldY + b.worldY,   a.worldZ + b.worldZ, a.shade + b.shade};
}

ViewPoint operator-(const ViewPoint& a, const ViewPoint& b) {
    return {a.lateral - b.lateral, a.depth - b.depth,   a.rise - b.rise,  a.worldX - b.worldX,
            a.worldY - b.worldY,   a.worldZ - b.worldZ, a.shade - b.shade};
}

ViewPoint half(const ViewPoint& a) {
    return {a.lateral * 0.5f, a.depth * 0.5f,  a.rise * 0.5f, a.worldX * 0.5f,
            a.worldY * 0.5f,  a.worldZ * 0.5f, a.shade * 0.5f};
}

// Replaces the endpoint behind the eye by a point of the edge just in front of
// it, found by halving steps: the cut lands at a depth in (0, 8]. False only if
// the steps run out, which finite coordinates never cause.
bool cutAtNearSide(const ViewPoint& behind, const ViewPoint& front, ViewPoint& cut) {
    cut = behind;
    ViewPoint step = behind - front;
    while (cut.depth <= 0 || cut.depth > nearCutDepth) {
        step = half(step);
        if (step.depth == 0) {
            return false;
        }
        cut = cut.depth > 0 ? cut + step : cut - step;
    }
    return true;
}

// The edge rule: an edge wholly in front is projected, one wholly behind is
// dropped, and one across the near side keeps its front part.
void emitViewEdge(ScenePolygon& polygon, const ViewPoint& a, const ViewPoint& b, const ViewConstants& view) {
    const bool aInFront = a.depth > 0;
    const bool bInFront = b.depth > 0;
    if (aInFront && bInFront) {
        emitEdge(polygon, project(a, view), project(b, view));
        return;
    }
    if (!aInFront && !bInFront) {
        return;
    }
    ViewPoint cut;
    if (!cutAtNearSide(aInFront ? b : a, aInFront ? a : b, cut)) {
        return;
    }
    if (aInFront) {
        emitEdge(polygon, project(a, view), project(cut, view));
    } else {
        emitEdge(polygon, project(cut, view), project(b, view));
    }
}

} // namespace

std::vector<const WorldObject*> sceneObjects(const WorldGrid& grid, const Camera& camera) {
    SceneBuffers buffers;
    visibleObjects(grid, camera, buffers);
    return buffers.objects;
}

void addObject(const WorldObject& object, const Camera& camera, const ViewConstants& view, Scene& scene) {
    const ObjectTransform transform(object, camera);
    const bool keepEveryPolygon = object.shapeKind == ShapeKind::TwoSided;
    for (const Polygon& polygon : object.polygons) {
        if (polygon.vertices.empty()) {
            continue;
        }
        if (!keepEveryPolygon && !facesEye(polygon, camera)) {
            continue;
        }
        ScenePolygon& screen = setUpPolygon(polygon, object, scene);
        const ViewPoint first = transform(polygon.vertices.front());
        ViewPoint previous = first;
        for (size_t k = 1; k < polygon.vertices.size(); ++k) {
            const ViewPoint current = transform(polygon.vertices[k]);
            emitViewEdge(screen, previous, current, view);
            previous = current;
        }
        if (polygon.vertices.size() > 1) {
            emitViewEdge(screen, previous, first, view);
        }
    }
}

Scene buildScene(const WorldGrid& grid, const Camera& camera, i32 maxX, i32 maxY,
                 std::span<const u32> playerColours) {
    Scene scene;
    buildScene(scene, grid, camera, maxX, maxY, playerColours);
    return scene;
}

void buildScene(Scene& scene, const WorldGrid& grid, const Camera& camera, i32 maxX, i32 maxY,
                std::span<const u32> playerColours) {
    freeScene(scene);
    scene.maxX = maxX;
    scene.maxY = maxY;
    scene.camera = &camera;
    scene.colours = playerColours;

    const ViewConstants view = viewConstants(camera, maxX, maxY);
    visibleObjects(grid, camera, scene.buffers);
    for (const WorldObject* object : scene.buffers.objects) {
        addObject(*object, camera, view, scene);
    }
}
