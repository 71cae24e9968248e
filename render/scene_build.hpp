#pragma once
// The front end's two halves, which buildScene runs one after the other: the
// objects a camera sees in painter's order, and the screen polygons of one
// object. Kept apart so that a caller can tell which object drew which polygon.
#include "render/view.hpp"

#include <vector>

struct Camera;
struct Scene;
struct WorldGrid;
struct WorldObject;

// The active objects of the cells around the camera that lie in its view cone,
// far to near.
std::vector<const WorldObject*> sceneObjects(const WorldGrid& grid, const Camera& camera);

// Appends the screen polygons of every polygon of the object that faces the eye
// (every one of a two-sided object), cut at the near side and projected.
void addObject(const WorldObject& object, const Camera& camera, const ViewConstants& view, Scene& scene);
