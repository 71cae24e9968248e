#pragma once
// Per kept world polygon: its final flat colour (the owner tint) and its texture
// frame, and per emitted edge the texture coordinates of both endpoints.
#include "base/types.hpp"
#include "render/scene.hpp"
#include "render/view.hpp"

#include <span>

struct Polygon;
struct WorldObject;

// The colour a polygon is drawn in. Top byte 0: the colour itself; 1: half its
// own colour and half its owner's; anything else: each channel with its lowest bit
// cleared. The result carries no marker. An owner tint without a valid owner
// (0, or above the number of colours) keeps the polygon's own colour.
u32 tintedColour(u32 colour, u16 owner, std::span<const u32> ownerColours);

// Appends the screen polygon of a kept world polygon to the scene, with its
// colour and, for a textured polygon, its texture frame. A frame that cannot map
// (first two vertices equal, normal along the first edge) leaves it untextured.
ScenePolygon& setUpPolygon(const Polygon& polygon, const WorldObject& object, Scene& scene);

// The texture frame's determinant in the two coordinates left after dropping the
// projection axis. Nonzero for every polygon that keeps its texture.
f32 frameDeterminant(const ScenePolygon& polygon);

struct TexturePoint {
    f32 u = 0, v = 0; // world units in the polygon's plane from the texture origin
};

// Solves P - origin = u * uAxis + v * vAxis in the two coordinates left after
// dropping the projection axis; inverseDet = 1 / frameDeterminant(polygon).
TexturePoint textureCoordinates(const ScenePolygon& polygon, f32 x, f32 y, f32 z, f32 inverseDet);

// Appends the edge from a to b, with the texture coordinates of both ends.
void emitEdge(ScenePolygon& polygon, const ScreenPoint& a, const ScreenPoint& b);
