// sound_maker: synthesises the game's sound effects and writes them as WAV
// files into <run directory>/sounds.
//
//   sound_maker <run directory>
#include "tools/sound_maker/recipes.hpp"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: sound_maker <run directory>\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/sounds/";
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        std::fprintf(stderr, "sound_maker: cannot make %s: %s\n", dir.c_str(), error.message().c_str());
        return 1;
    }
    for (const SoundEffect& effect : soundEffects()) {
        if (!writeWav(dir + effect.file, effect.make())) {
            std::fprintf(stderr, "sound_maker: cannot write %s%s\n", dir.c_str(), effect.file);
            return 1;
        }
    }
    std::printf("wrote %zu sounds to %s\n", soundEffects().size(), dir.c_str());
    return 0;
}
