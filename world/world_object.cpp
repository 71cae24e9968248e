#include "world/world_object.hpp"

#include "base/arithmetic.hpp"

#include <array>
#include <cmath>
#include <map>

void translate(WorldObject& object, u32 dx, u32 dy) {
    for (Polygon& polygon : object.polygons)
        for (Vertex& vertex : polygon.vertices) {
            vertex.x += dx;
            vertex.y += dy;
        }
}

void rotate(WorldObject& object, u32 angle) {
    const u32 cx = centreOf(object.minX, object.maxX);
    const u32 cy = centreOf(object.minY, object.maxY);
    // The angle is taken in single precision, the way headings are everywhere;
    // sine and cosine are then taken in double, so a quarter turn's sine falls
    // just short of 1 and 1000 units turn into 999.
    const f32 theta = headingRadians(angle);
    const double sine = std::sin(static_cast<double>(theta));
    const double cosine = std::cos(static_cast<double>(theta));
    const double centreX = cx;
    const double centreY = cy;
    for (Polygon& polygon : object.polygons)
        for (Vertex& vertex : polygon.vertices) {
            const double dx = vertex.x - centreX;
            const double dy = vertex.y - centreY;
            // Both offsets are below 2^33 in size: the truncated turn fits in 64 bits.
            const auto turnedX = static_cast<i64>(dx * cosine - dy * sine);
            const auto turnedY = static_cast<i64>(dy * cosine + dx * sine);
            vertex.x = cx + static_cast<u32>(turnedX);
            vertex.y = cy + static_cast<u32>(turnedY);
        }
}

std::unique_ptr<WorldObject> clone(const WorldObject& object) {
    return std::make_unique<WorldObject>(object);
}

void computeNormals(WorldObject& object) {
    // Face normal: the cross product of the first two edges, p1 - p0 and p2 - p1.
    for (Polygon& polygon : object.polygons) {
        polygon.nx = polygon.ny = polygon.nz = 0;
        const std::vector<Vertex>& v = polygon.vertices;
        if (v.size() < 3) continue; // no face to speak of: it stays unlit
        const f32 ax = static_cast<f32>(v[1].x) - static_cast<f32>(v[0].x);
        const f32 ay = static_cast<f32>(v[1].y) - static_cast<f32>(v[0].y);
        const f32 az = static_cast<f32>(v[1].z) - static_cast<f32>(v[0].z);
        const f32 bx = static_cast<f32>(v[2].x) - static_cast<f32>(v[1].x);
        const f32 by = static_cast<f32>(v[2].y) - static_cast<f32>(v[1].y);
        const f32 bz = static_cast<f32>(v[2].z) - static_cast<f32>(v[1].z);
        polygon.nx = ay * bz - az * by;
        polygon.ny = az * bx - ax * bz;
        polygon.nz = ax * by - ay * bx;
    }

    // Vertex normal: every vertex at one position shares the sum of the face
    // normals of the polygons meeting there, added in polygon order.
    using Position = std::array<u32, 3>;
    using Normal = std::array<f32, 3>;
    std::map<Position, Normal> sums;
    for (const Polygon& polygon : object.polygons)
        for (const Vertex& vertex : polygon.vertices) {
            const auto [entry, isNew] = sums.try_emplace(Position{vertex.x, vertex.y, vertex.z},
                                                         Normal{polygon.nx, polygon.ny, polygon.nz});
            if (isNew) continue;
            entry->second[0] += polygon.nx;
            entry->second[1] += polygon.ny;
            entry->second[2] += polygon.nz;
        }
    for (Polygon& polygon : object.polygons)
        for (Vertex& vertex : polygon.vertices) {
            const Normal& sum = sums.at(Position{vertex.x, vertex.y, vertex.z});
            vertex.nx = sum[0];
            vertex.ny = sum[1];
            vertex.nz = sum[2];
        }
}
