// texture_maker: paints the game's brightness textures and writes them as
// "textures.dat" into the run directory given on the command line.
//
//   texture_maker <run directory>
#include "tools/texture_maker/texture_art.hpp"

#include <cstdio>
#include <string>

namespace {

// The texture file: the count, "%", then per texture its size, two header values
// (unused by the game, written as 0), "#", the texels as height lines of width
// values from the last v-index down to 0, and "%".
bool writeTextureFile(const std::string& path, const std::vector<TextureArt>& textures) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::fprintf(file, "/ Tessaron 3d textures: brightness factors in 8.8 fixed point\n");
    std::fprintf(file, "/ (100 hex = 256 = unchanged). Made by tools/texture_maker.\n");
    std::fprintf(file, "%zu\n%%\n", textures.size());
    int number = 1;
    for (const TextureArt& art : textures) {
        std::fprintf(file, "/ %d: %s\n", number++, art.name.c_str());
        std::fprintf(file, "%d %d 0 0 #\n", art.width, art.height);
        for (int j = art.height - 1; j >= 0; --j) {
            for (int i = 0; i < art.width; ++i)
                std::fprintf(file, i + 1 < art.width ? "%x " : "%x\n", art.at(i, j));
        }
        std::fprintf(file, "%%\n");
    }
    return std::fclose(file) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: texture_maker <run directory>\n");
        return 2;
    }
    const std::string path = std::string(argv[1]) + "/textures.dat";
    if (!writeTextureFile(path, paintTextures())) {
        std::fprintf(stderr, "texture_maker: cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("wrote %s\n", path.c_str());
    return 0;
}
