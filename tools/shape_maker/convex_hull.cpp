// The hull by brute force: every plane through three points that has all points
// on one side is a face plane. Shapes have a few dozen points, so the cubic
// search is instant, and exact integer arithmetic makes it robust where many
// points share a plane (boxes, extruded profiles).
#include "tools/shape_maker/convex_hull.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <map>
#include <numeric>
#include <set>

namespace {

struct Plane {
    V3 normal;      // outward, reduced by the gcd of its components
    std::int64_t d; // normal . p for every point p of the plane
    bool operator<(const Plane& o) const {
        if (!(normal == o.normal)) return normal < o.normal;
        return d < o.d;
    }
};

V3 reduced(V3 n) {
    const std::int64_t g = std::gcd(std::gcd(std::llabs(n.x), std::llabs(n.y)), std::llabs(n.z));
    return {n.x / g, n.y / g, n.z / g};
}

// 2D coordinates of a point in a plane, dropping the normal's largest axis.
struct Flat {
    std::int64_t a, b;
    V3 point;
};

std::int64_t turn(const Flat& o, const Flat& p, const Flat& q) {
    return (p.a - o.a) * (q.b - o.b) - (p.b - o.b) * (q.a - o.a);
}

// Andrew's monotone chain; keeps only strict corners.
std::vector<V3> hull2d(std::vector<Flat> pts) {
    std::sort(pts.begin(), pts.end(),
              [](const Flat& l, const Flat& r) { return l.a != r.a ? l.a < r.a : l.b < r.b; });
    std::vector<Flat> chain(2 * pts.size());
    size_t k = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        while (k >= 2 && turn(chain[k - 2], chain[k - 1], pts[i]) <= 0) --k;
        chain[k++] = pts[i];
    }
    for (size_t i = pts.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && turn(chain[k - 2], chain[k - 1], pts[i]) <= 0) --k;
        chain[k++] = pts[i];
    }
    chain.resize(k - 1);
    std::vector<V3> out;
    for (const Flat& f : chain) out.push_back(f.point);
    return out;
}

} // namespace

std::vector<std::vector<V3>> convexHullFaces(const std::vector<V3>& input) {
    std::vector<V3> points = input;
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());

    std::set<Plane> planes;
    const size_t n = points.size();
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            for (size_t k = j + 1; k < n; ++k) {
                V3 normal = cross(points[j] - points[i], points[k] - points[i]);
                if (normal == V3{}) continue;
                normal = reduced(normal);
                const std::int64_t d = dot(normal, points[i]);
                bool above = false, below = false;
                for (const V3& p : points) {
                    const std::int64_t s = dot(normal, p) - d;
                    above |= s > 0;
                    below |= s < 0;
                    if (above && below) break;
                }
                if (above && below) continue;
                if (above)
                    planes.insert({normal * -1, -d});
                else
                    planes.insert({normal, d});
            }

    std::vector<std::vector<V3>> faces;
    for (const Plane& plane : planes) {
        const V3 nn = plane.normal;
        const std::int64_t ax = std::llabs(nn.x), ay = std::llabs(nn.y), az = std::llabs(nn.z);
        std::vector<Flat> flat;
        for (const V3& p : points) {
            if (dot(nn, p) != plane.d) continue;
            if (az >= ax && az >= ay)
                flat.push_back({p.x, p.y, p});
            else if (ay >= ax)
                flat.push_back({p.x, p.z, p});
            else
                flat.push_back({p.y, p.z, p});
        }
        std::vector<V3> face = hull2d(flat);
        assert(face.size() >= 3);
        if (dot(faceNormal(face), nn) < 0) std::reverse(face.begin(), face.end());
        // Start with the most level edge (the lowest one among equals), so a
        // texture's u runs level where the face allows it and the output is
        // reproducible.
        size_t best = 0;
        double bestSlope = 2;
        for (size_t i = 0; i < face.size(); ++i) {
            const V3 e = face[(i + 1) % face.size()] - face[i];
            const double len = std::sqrt(static_cast<double>(dot(e, e)));
            const double slope = std::abs(static_cast<double>(e.z)) / len;
            const bool lower =
                face[i].z + face[(i + 1) % face.size()].z < face[best].z + face[(best + 1) % face.size()].z;
            if (slope < bestSlope - 1e-9 || (slope < bestSlope + 1e-9 && lower)) {
                best = i;
                bestSlope = std::min(slope, bestSlope);
            }
        }
        std::rotate(face.begin(), face.begin() + static_cast<std::ptrdiff_t>(best), face.end());
        faces.push_back(face);
    }
    return faces;
}
