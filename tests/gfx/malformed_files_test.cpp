// Every loader must survive damaged files: truncated at every length, with bytes
// changed at random, and the crash inputs the fuzzers once found. Whatever loads
// is drawn too, so that a loaded record can never make drawing reach outside it.
#include "gfx/bitmap.hpp"
#include "gfx/bitmap_writer.hpp"
#include "gfx/font.hpp"
#include "gfx/font_writer.hpp"
#include "gfx/primitives.hpp"
#include "gfx/text.hpp"

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

std::vector<std::vector<u8>> bitmapSeeds() {
    std::vector<std::vector<u8>> seeds;
    Bitmap rgb = makeBitmap(5, 3, 24);
    for (size_t i = 0; i < rgb.pixels.size(); ++i) rgb.pixels[i] = static_cast<u8>(i * 37);
    seeds.push_back(encodeBitmap(rgb));
    Bitmap indexed = makeBitmap(6, 2, 8);
    indexed.palette.assign(256, PaletteEntry{9, 8, 7, 0});
    indexed.row(1)[3] = 200;
    seeds.push_back(encodeBitmap(indexed));
    for (const u32 bits : {1u, 4u, 16u, 32u}) {
        BmpBuilder b;
        b.width = 7;
        b.height = -3;
        b.bits = bits;
        if (bits <= 8) b.palette.assign((size_t{4} << bits), 0x55);
        if (bits == 32) {
            b.compression = 3;
            for (u32 mask : {0xFFu, 0xFF00u, 0xFF0000u}) put32(b.palette, mask);
        }
        b.rows.assign(static_cast<size_t>(bitmapBytesPerLine(7, static_cast<i32>(bits)) * 3), 0xA5);
        seeds.push_back(b.build());
    }
    return seeds;
}

std::vector<std::vector<u8>> fontSeeds() {
    RasterFontSource s;
    s.name = "Seed";
    s.height = 6;
    s.ascent = 5;
    s.firstChar = 'a';
    s.lastChar = 'c';
    for (i32 w : {3, 9, 17}) s.glyphs.push_back(GlyphImage{w, std::vector<u8>(static_cast<size_t>((w + 7) / 8 * 6), 0x5A)});
    std::vector<std::vector<u8>> seeds{encodeFntFont(s)};
    Font own = buildFont(s);
    seeds.push_back(encodeFont(own));
    own.setFontType(Font::vectorFont); // the same record read as strokes
    seeds.push_back(encodeFont(own));
    return seeds;
}

// Loads a bitmap file and, if it loads, draws it every way the game does.
void exerciseBitmap(const std::vector<u8>& bytes) {
    writeBytes("case.bmp", bytes);
    for (int loadPalette : {0, 1}) {
        auto bm = loadBitmap("case.bmp", loadPalette);
        if (!bm) continue;
        ASSERT_EQ(bm->pixels.size(), static_cast<size_t>(bm->bytesPerLine) * bm->height);
        for (i32 bits : {8, 24}) {
            auto dc = createMemoryContext(9, 5, bits);
            putBitmap(*dc, -2, 1, bm.get(), writeReplace);
            putBitmapTransparent(*dc, 3, -1, bm.get(), 0xFFFFFF, 1);
        }
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
    if (!font) return;
    auto dc = currentMemoryContext(40, 40, 24);
    useFont(font.get());
    setColor(0xFFFFFF);
    char text[256];
    for (int c = 1; c < 256; ++c) text[c - 1] = static_cast<char>(c);
    text[255] = 0;
    drawText(3, 3, text);
    textWidth(text);
    makeCurrentContext(nullptr);
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
