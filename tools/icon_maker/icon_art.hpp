#pragma once
// The game's icon, painted in code at any size: a red flag on its pole over a
// green field that runs to the horizon, under a blue sky, in a rounded square.
#include "base/types.hpp"

#include <vector>

// size x size pixels, top row first, four bytes each: red, green, blue and
// alpha (not premultiplied). Each pixel averages 8 x 8 samples, so the edges are
// smooth at every size.
std::vector<u8> paintIcon(int size);
