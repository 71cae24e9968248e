#include "world/texture.hpp"

#include "base/program_exit.hpp"
#include "world/token_reader.hpp"
#include "world/world.hpp"

#include <algorithm>
#include <cstdio>

namespace {

// A broken texture library is reported on standard output and ends with -1,
// unlike every other data file.
[[noreturn]] void textureFileCorrupt() {
    std::fputs("Error: texture file corrupt!\n", stdout);
    exitProgram(-1);
}

void expect(TokenReader& reader, u8 marker) {
    if (reader.skipBlanks() != marker) textureFileCorrupt();
}

// One block after the count: width, height, two header values, "#", the texels
// top row first, "%".
std::unique_ptr<Texture> readTexture(TokenReader& reader) {
    const u16 width = static_cast<u16>(reader.getint());
    const u16 height = static_cast<u16>(reader.getint());
    // texelAt wraps by width and height: a texture without texels cannot be sampled.
    if (width == 0 || height == 0) textureFileCorrupt();
    const u32 param1 = reader.gethex();
    const u32 param2 = reader.gethex();
    expect(reader, '#');

    // Collect the values before allocating the texture, so that memory grows
    // with what the file holds rather than with the size it claims.
    const size_t count = size_t{width} * height;
    std::vector<u16> rows;
    rows.reserve(std::min<size_t>(count, 64 * 64));
    while (rows.size() < count) rows.push_back(static_cast<u16>(reader.gethex()));
    expect(reader, '%');

    auto texture = std::make_unique<Texture>(width, height);
    texture->param1 = param1;
    texture->param2 = param2;
    // The file lists v-index height-1 first, each line from u-index 0 up.
    for (u32 j = 0; j < height; ++j)
        for (u32 i = 0; i < width; ++i) texture->texel(i, j) = rows[size_t{height - 1 - j} * width + i];
    return texture;
}

} // namespace

Texture::Texture(u16 width_, u16 height_)
    : width(width_), height(height_), texels(size_t{width_} * height_, 0) {}

const Texture* textureByNumber(const TextureTable& table, u32 number) {
    return number < table.size() ? table[number].get() : nullptr;
}

void loadTextures() {
    TokenReader reader("textures.dat");
    const u32 count = reader.getint();
    expect(reader, '%');
    TextureTable table;
    table.push_back(nullptr); // number 0: untextured
    // Grown block by block: a count larger than the file is caught by the
    // reader at its end, not by a huge allocation.
    for (u64 n = 1; n <= count; ++n) table.push_back(readTexture(reader));
    world::state.textureTable = std::move(table);
}
