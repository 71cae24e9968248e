#pragma once
// Views over the loaded level, as a player would see it: from every player's
// start round the compass, and along straight drives from every start to every
// headquarters and flag, looking every way. Positions where a car cannot stand
// (inside or against a block, a headquarters, a plant or the sea) are left out.
#include "base/types.hpp"

#include <vector>

struct LevelView {
    u32 x = 0, y = 0;
    u16 heading = 0;
};

// The views of the level in the world globals: 16 at every start, and at most
// `driveViews` of the drives, spread evenly over them.
std::vector<LevelView> levelViews(u32 driveViews);
