#pragma once
// A small fixed level built in code: textured floor patches and walls, a smooth
// rock, owner-tinted shapes, a two-sided tree, a wall that passes beside and
// behind the eye, something deep in the fog and an inactive block. The golden
// frames and the renderer benchmark draw it.
#include "base/types.hpp"
#include "world/camera.hpp"
#include "world/texture.hpp"
#include "world/world_grid.hpp"
#include "world/world_object.hpp"

#include <array>
#include <memory>
#include <vector>

struct SyntheticWorld {
    WorldGrid grid;
    std::vector<std::unique_ptr<WorldObject>> objects;
    std::vector<std::unique_ptr<Texture>> textures;
    std::vector<u32> colours{0x00E02020, 0x002040E0}; // players 1 and 2
};

using Corner = std::array<u32, 3>;

// Appends a polygon with the corners as given (counter-clockwise seen from the
// side it faces).
Polygon& addPolygon(WorldObject& object, const std::vector<Corner>& corners, u32 colour,
                    const Texture* texture = nullptr);

// A finished cuboid [x1, x2] x [y1, y2] x [z1, z2] with its six faces turned outward.
std::unique_ptr<WorldObject> makeCuboid(u32 x1, u32 y1, u32 z1, u32 x2, u32 y2, u32 z2, u32 colour,
                                        const Texture* texture = nullptr);

// Sets the box from the vertices, computes the normals and makes the object active.
void finishObject(WorldObject& object);

// Lists the object in every cell of the grid its box touches and keeps it.
WorldObject& placeObject(SyntheticWorld& world, std::unique_ptr<WorldObject> object);

// Fills `world` (which must be empty) with the level.
void buildSyntheticWorld(SyntheticWorld& world);

// The camera of view number `view` (0 to 2) over the level: each looks over a
// different part of it with the standard eye height and angles.
Camera syntheticView(int view);

// A camera on a fixed path through the level, for `step` = 0, 1, 2, ...
Camera syntheticPathCamera(int step);
