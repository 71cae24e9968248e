#pragma once
// The faces of the convex hull of a point set, each a flat convex polygon listed
// counter-clockwise as seen from outside, so that (p1 - p0) x (p2 - p1) points
// out: the order the game's facing test needs.
#include "tools/shape_maker/geometry.hpp"

#include <vector>

// Faces in a fixed order (sorted by plane), every face with at least three
// vertices and no three consecutive vertices on one line. The points must span
// a solid (not all on one plane).
std::vector<std::vector<V3>> convexHullFaces(const std::vector<V3>& points);

// The outward normal of a polygon as the game computes it from its first three
// vertices.
inline V3 faceNormal(const std::vector<V3>& face) {
    return cross(face[1] - face[0], face[2] - face[1]);
}
