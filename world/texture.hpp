#pragma once
// Brightness textures: a grid of 8.8 fixed-point factors (256 = 1.0) that
// modulate a polygon's own colour texel by texel.
#include "base/types.hpp"

#include <memory>
#include <vector>

struct Texture {
    Texture(u16 width, u16 height);

    u16 width = 0;  // texels along u
    u16 height = 0; // texels along v
    // Column-major: the texel at u-index i, v-index j is texels[i * height + j].
    std::vector<u16> texels;
    u32 param1 = 0; // header values, stored as read; nothing reads them
    u32 param2 = 0;

    u16& texel(u32 i, u32 j) { return texels[i * height + j]; }
    u16 texel(u32 i, u32 j) const { return texels[i * height + j]; }
};

// A texel index wrapped onto a texture side: a mask for the power-of-two sizes
// of the shipped textures, the remainder for any other.
inline u32 wrapTexelIndex(u32 index, u32 size) {
    return (size & (size - 1)) == 0 ? index & (size - 1) : index % size;
}

// Texture coordinates are 9.7 fixed point (one texel = 128 units), cut to 16 bits;
// the texture repeats in both directions. The one texel lookup of both fillers.
inline u16 texelAt(const Texture& texture, u32 u, u32 v) {
    const u32 i = wrapTexelIndex((u & 0xFFFF) >> 7, texture.width);
    const u32 j = wrapTexelIndex((v & 0xFFFF) >> 7, texture.height);
    return texture.texel(i, j);
}

// Entry 0 is always empty (no texture); textures are numbered from 1 in file order.
using TextureTable = std::vector<std::unique_ptr<Texture>>;

// The texture of a polygon's texture number: null for 0 and for numbers past the
// end of the table (such a polygon is drawn untextured).
const Texture* textureByNumber(const TextureTable& table, u32 number);

// Reads "textures.dat" into the world's texture table (world::state). Malformed
// data ends the program; a texture of width or height 0 counts as a corrupt file.
void loadTextures();
