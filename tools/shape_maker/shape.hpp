#pragma once
// An object definition being built: faces with texture numbers and colours,
// written as an ".odf" file the game's readers take.
#include "tools/shape_maker/geometry.hpp"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct Face {
    std::vector<V3> vertices; // counter-clockwise seen from outside
    int texture = 0;          // texture number, 0 = untextured
    std::uint32_t colour = 0; // 0xMMRRGGBB: tint marker in the top byte
};

struct Shape {
    std::string name;        // the file's base name, as levels name it
    std::string description; // written as comment lines at the top
    int kind = 0;            // 0 mesh, 1 box (corner selectors), 3 two-sided billboard
    bool smooth = false;     // shaded with vertex normals by the renderer
    std::vector<Face> faces; // drawn in this order when they face the eye
};

// Marker 1 in a colour's top byte mixes the face colour half and half with its
// owner's colour.
constexpr std::uint32_t ownerTint = 0x01000000;

constexpr std::uint32_t rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r << 16 | g << 8 | b);
}

// The face colour with the sun baked in: flat-shaded objects get no light from
// the renderer, so each face is darkened by how far it turns from the sun.
// The tint marker is kept.
std::uint32_t litColour(std::uint32_t colour, V3 normal);

// Appends the faces of the convex hull of `points`, each coloured and textured
// by `paint(face, outward normal)`; floors below the eye are left out.
template <typename Paint> void addConvexPart(Shape& shape, const std::vector<V3>& points, Paint paint);

// A flat frame on a face for painting details on it: 2D (s, t) maps to
// origin + s * right + t * up, with right x up pointing out of the face.
struct FaceFrame {
    V3 origin;
    V3 right; // unit axis vectors (axis-aligned faces)
    V3 up;
};

// The frame of an axis-aligned face with outward unit normal `normal` centred at
// `centre`: up is +z on walls and +y on roofs.
FaceFrame frameOn(V3 centre, V3 normal);

using Outline = std::vector<std::pair<std::int64_t, std::int64_t>>;

// The outline placed on the frame, turned to face out like the face.
std::vector<V3> placeOutline(const FaceFrame& frame, const Outline& outline);

// Common outlines, counter-clockwise, centred on (cx, cy).
Outline rectOutline(std::int64_t cx, std::int64_t cy, std::int64_t halfW, std::int64_t halfH);
Outline regularOutline(std::int64_t cx, std::int64_t cy, std::int64_t radius, int corners,
                       double startAngle = 0);

// The polygon turned, if needed, so that its normal points along `outward`.
std::vector<V3> facing(std::vector<V3> polygon, V3 outward);

// The face's vertices moved toward its centre by `keep` (0..1): a window or
// panel painted inside a face of any slant.
std::vector<V3> insetFace(const std::vector<V3>& face, double keep);

// Checks what the game relies on (at least three vertices, non-negative
// offsets, a usable normal) and writes "<directory>/<name>.odf". False when the
// file cannot be written.
bool writeShape(const std::string& directory, const Shape& shape);

#include "tools/shape_maker/convex_hull.hpp"

template <typename Paint> void addConvexPart(Shape& shape, const std::vector<V3>& points, Paint paint) {
    for (std::vector<V3>& face : convexHullFaces(points)) {
        const V3 normal = faceNormal(face);
        // A floor below the eye (every camera is 3072 high) is never seen.
        bool hiddenFloor = normal.x == 0 && normal.y == 0 && normal.z < 0;
        for (const V3& v : face) hiddenFloor &= v.z <= 3072;
        if (hiddenFloor) continue;
        shape.faces.push_back(paint(std::move(face), normal));
    }
}
