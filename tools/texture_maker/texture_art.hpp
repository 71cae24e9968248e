#pragma once
// The game's textures as brightness grids: 8.8 fixed point, 256 leaves the
// surface colour as it is, lower darkens. Every texel stays at 256 or below
// (a brighter one would overflow the colour channel).
#include <string>
#include <vector>

struct TextureArt {
    std::string name; // written as a comment above the block
    int width = 0;    // texels along u; a power of two up to 64
    int height = 0;   // texels along v
    // texel(i, j) at u-index i, v-index j is texels[j * width + i].
    std::vector<int> texels;

    int& at(int i, int j) { return texels[static_cast<size_t>(j) * width + i]; }
    int at(int i, int j) const { return texels[static_cast<size_t>(j) * width + i]; }
};

// All textures in file order (their numbers are in texture_numbers.hpp).
std::vector<TextureArt> paintTextures();
