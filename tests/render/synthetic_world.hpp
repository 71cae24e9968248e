#pragma once
// A small fixed level built in code: textured floor patches and walls, a smooth
// rock, owner-tinted shapes, a two-sided tree, a wall that passes beside and
// behind the eye, something deep in the fog and an inactive block. The golden
// frames and the renderer benchmark draw it.
#include "base/types.hpp"
#include "render/camera.hpp"
#include "world/texture.hpp"
#include "world/world_grid.hpp"
#include "world/world_object.hpp"

#include <memory>
#include <vector>

struct SyntheticWorld {
    WorldGrid grid;
    std::vector<std::unique_ptr<WorldObject>> objects;
    std::vector<std::unique_ptr<Texture>> textures;
    std::vector<u32> colours{0x00E02020, 0x002040E0}; // players 1 and 2
};

// Sets the box from the vertices, computes the normals and makes the object active.
void finishObject(WorldObject& object);

// Fills `world` (which must be empty) with the level.
void buildSyntheticWorld(SyntheticWorld& world);

// The camera of view number `view` (0 to 2) over the level: each looks over a
// different part of it with the standard eye height and angles.
Camera syntheticView(int view);

// A camera on a fixed path through the level, for `step` = 0, 1, 2, ...
Camera syntheticPathCamera(int step);
