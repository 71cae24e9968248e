// Every loader must survive damaged files: truncated at every length, with bytes
// changed at random, and the crash inputs the fuzzers once found. Whatever loads
// is drawn too, so that a loaded record can never make drawing reach outside it.
#include "base/fatal.hpp"
#include "gfx_test_support.hpp"

#include <fstream>
#include <iterator>

namespace {

void exerciseBitmap(const std::vector<u8>& bytes) {
    writeBytes("case.bmp", bytes);
    loadAndDrawBitmap("case.bmp");
}

void exerciseFont(const std::vector<u8>& bytes) {
    writeBytes("case.fnt", bytes);
    loadAndDrawFont("case.fnt");
}

// Every truncation of each seed, then random byte changes from a fixed-seed
// xorshift generator, so a failure can be replayed.
template <typename Exercise>
void runCorpus(const std::vector<std::vector<u8>>& seeds, Exercise exercise, int mutationsPerSeed) {
    u32 state = 2463534242u;
    auto random = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    for (const std::vector<u8>& seed : seeds) {
        ASSERT_FALSE(seed.empty());
        for (size_t length = 0; length < seed.size(); ++length)
            exercise(std::vector<u8>(seed.begin(), seed.begin() + static_cast<std::ptrdiff_t>(length)));
        for (int m = 0; m < mutationsPerSeed; ++m) {
            std::vector<u8> damaged = seed;
            const u32 changes = 1 + random() % 4;
            for (u32 k = 0; k < changes; ++k) {
                // Header bytes are changed more often: that is where the sizes are.
                const size_t span = random() % 2 ? std::min<size_t>(damaged.size(), 130) : damaged.size();
                damaged[random() % span] = static_cast<u8>(random());
            }
            exercise(damaged);
        }
    }
}

} // namespace

TEST(MalformedFiles, BitmapLoaderSurvivesDamagedFiles) {
    ScratchDir dir;
    runCorpus(bitmapSeeds(), exerciseBitmap, 400);
}

TEST(MalformedFiles, FontLoaderSurvivesDamagedFiles) {
    ScratchDir dir;
    setFatalHook(throwFatal);
    runCorpus(fontSeeds(), exerciseFont, 600);
    resetFatalHook();
}
