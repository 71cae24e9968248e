#pragma once
// The game's object definitions, grouped by what they are. Sizes are world
// units: a grid cell is 65536 across and the eye is 3072 above the ground.
#include "tools/shape_maker/shape.hpp"

#include <vector>

std::vector<Shape> vehicleShapes();   // car, shot, mine
std::vector<Shape> structureShapes(); // walls, headquarters, flag
std::vector<Shape> pickupShapes();    // firepak, minepak, healthpak, nitropak
std::vector<Shape> natureShapes();    // stones, bush, tree, sea, sand
