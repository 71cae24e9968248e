#pragma once
// Putting an object down in the world: the drop point behind a vehicle or the
// launch point ahead of it, the test that the place is free, and the placing.
#include "base/types.hpp"
#include "sim/collision.hpp"
#include "world/camera.hpp"

#include <optional>

struct WorldPoint {
    u32 x = 0;
    u32 y = 0;
};

// The point `distance` world units along the camera's heading (negative:
// behind it), cut toward zero; nothing when it lies off the world's unsigned
// range, which makes any place there taken.
std::optional<WorldPoint> pointAlongHeading(const Camera& camera, f32 distance);

// The box the object would have with its centre at `centre`, when that place is
// free: inside the grid on both sides and touching no active object other than
// the object itself. Nothing when the place is taken.
std::optional<Box> FreePlace(const WorldGrid& grid, const WorldObject& object, WorldPoint centre);

// Moves the object's shape and box to `box` (of the object's own size) and lists
// it in the cells it covers.
void PlaceObject(WorldGrid& grid, WorldObject& object, const Box& box);
