// Every loader must survive damaged files: truncated at every length, with bytes
// changed at random, and the crash inputs the fuzzers once found. Whatever loads
// is drawn too, so that a loaded record can never make drawing reach outside it.
#include "base/fatal.hpp"
#include "gfx_test_support.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

// The glyph-buffer fatal error, turned into an exception so the corpus run goes on.
struct FatalRaised : std::runtime_error {
    using std::runtime_error::runtime_error;
};
[[noreturn]] void throwFatal(const char* text) { throw FatalRaised(text); }

// Loads a bitmap file and, if it loads, draws it every way the game does.
void exerciseBitmap(const std::vector<u8>& bytes) {
    writeBytes("case.bmp", bytes);
    for (int loadPalette : {0, 1}) {
        auto bm = loadBitmap("case.bmp", loadPalette);
        if (!bm) continue;
        ASSERT_EQ(bm->pixels.size(), static_cast<size_t>(bm->bytesPerLine) * bm->height);
        drawLoadedBitmap(*bm);
    }
}

// Loads a font file and, if it loads, draws every character code with it.
void exerciseFont(const std::vector<u8>& bytes) {
    writeBytes("case.fnt", bytes);
    std::unique_ptr<Font> font;
    try {
        font = loadFont("case.fnt");
    } catch (const FatalRaised&) {
        return; // the described end of the program for oversized glyphs
    }
    if (font) drawLoadedFont(*font);
}

// A small deterministic generator, so a failure can be replayed.
struct XorShift {
    u32 state = 2463534242u;
    u32 next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
};

template <typename Exercise>
void runCorpus(const std::vector<std::vector<u8>>& seeds, Exercise exercise, int mutationsPerSeed) {
    XorShift random;
    for (const std::vector<u8>& seed : seeds) {
        ASSERT_FALSE(seed.empty());
        for (size_t length = 0; length < seed.size(); ++length)
            exercise(std::vector<u8>(seed.begin(), seed.begin() + static_cast<std::ptrdiff_t>(length)));
        for (int m = 0; m < mutationsPerSeed; ++m) {
            std::vector<u8> damaged = seed;
            const u32 changes = 1 + random.next() % 4;
            for (u32 k = 0; k < changes; ++k) {
                // Header bytes are changed more often: that is where the sizes are.
                const size_t span = random.next() % 2 ? std::min<size_t>(damaged.size(), 130) : damaged.size();
                damaged[random.next() % span] = static_cast<u8>(random.next());
            }
            exercise(damaged);
        }
    }
}

std::vector<std::vector<u8>> regressionFiles(const std::string& kind) {
    std::vector<std::vector<u8>> files;
    const std::filesystem::path dir = std::filesystem::path(GFX_REGRESSION_DIR) / kind;
    if (!std::filesystem::exists(dir)) return files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().filename().string().front() == '.') continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
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

TEST(MalformedFiles, FuzzerFindingsStaySolved) {
    ScratchDir dir;
    setFatalHook(throwFatal);
    for (const auto& file : regressionFiles("bitmap")) exerciseBitmap(file);
    for (const auto& file : regressionFiles("font")) exerciseFont(file);
    resetFatalHook();
}
