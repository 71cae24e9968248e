#pragma once
// The numbers of the game's textures in "textures.dat", in file order. The shape
// maker writes these numbers into the object definitions.
namespace texture_number {
constexpr int none = 0; // untextured
constexpr int brick = 1;
constexpr int oldBrick = 2;
constexpr int woodPlanks = 3;
constexpr int rock = 4;
constexpr int sand = 5;
constexpr int water = 6;
constexpr int leaves = 7;
constexpr int metalPlate = 8;
constexpr int hqMarking = 9;
constexpr int bark = 10;
constexpr int count = 10;
} // namespace texture_number
