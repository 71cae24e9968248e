// Writes the fuzzers' seed files: DIR/bitmap/seed-N.bmp and DIR/font/seed-N.fnt.
#include "gfx_loader_cases.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_gfx_fuzz_seeds DIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    auto writeAll = [&dir](const char* kind, const char* suffix, const std::vector<std::vector<u8>>& seeds) {
        for (size_t i = 0; i < seeds.size(); ++i) {
            const std::string path = (dir / kind / ("seed-" + std::to_string(i) + suffix)).string();
            if (!writeFileBytes(path, seeds[i].data(), seeds[i].size())) return false;
        }
        return true;
    };
    return writeAll("bitmap", ".bmp", bitmapSeeds()) && writeAll("font", ".fnt", fontSeeds()) ? 0 : 1;
}
