// The shipped sound effects as the game's mixer gets them: 16-bit mono PCM at
// 22050 Hz, peaks that leave room for several at once, no DC, silent ends (no
// click when an effect starts or stops) and engine loops that join seamlessly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

struct Expected {
    const char* file;
    bool loops;
    double maxSeconds;
};

// Every effect the game plays; most are short, explosions and fanfares longer.
const Expected kSounds[] = {
    {"engine_idle.wav", true, 1},        {"engine_mid.wav", true, 1},
    {"engine_fast.wav", true, 1},        {"shot.wav", false, 0.3},
    {"shot_hit_car.wav", false, 0.5},    {"shot_hit_wall.wav", false, 0.3},
    {"plant_flattened.wav", false, 0.6}, {"mine_laid.wav", false, 0.4},
    {"mine_explodes.wav", false, 1.6},   {"car_destroyed.wav", false, 2.2},
    {"car_respawn.wav", false, 1},       {"crate_ammo.wav", false, 0.5},
    {"crate_mines.wav", false, 0.5},     {"crate_shields.wav", false, 0.6},
    {"crate_nitro.wav", false, 0.5},     {"flag_picked_up.wav", false, 0.6},
    {"flag_dropped.wav", false, 0.8},    {"flag_captured.wav", false, 1.3},
    {"cars_bump.wav", false, 0.3},       {"car_hits_wall.wav", false, 0.5},
    {"nitro_on.wav", false, 1},          {"match_won.wav", false, 3.5},
    {"menu_move.wav", false, 0.1},       {"menu_select.wav", false, 0.3},
};

constexpr double kFullScale = 32768;

std::filesystem::path soundDir() {
    return std::filesystem::path(TESSARON_CONTENT_DIR) / "sounds";
}

std::uint32_t le(const std::vector<unsigned char>& b, size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

// Reads a WAV file, failing the test unless it is RIFF WAVE with one PCM
// 16-bit mono 22050 Hz format chunk and a data chunk that fills the file.
std::vector<std::int16_t> readPcm(const std::string& file) {
    std::ifstream in(soundDir() / file, std::ios::binary);
    const std::vector<unsigned char> b{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::int16_t> samples;
    if (b.size() < 44) {
        ADD_FAILURE() << file << ": missing or shorter than a WAV header";
        return samples;
    }
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(le(b, 4, 4), b.size() - 8);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(le(b, 16, 4), 16u);
    EXPECT_EQ(le(b, 20, 2), 1u) << "PCM";
    EXPECT_EQ(le(b, 22, 2), 1u) << "mono";
    EXPECT_EQ(le(b, 24, 4), 22050u);
    EXPECT_EQ(le(b, 28, 4), 44100u) << "bytes per second";
    EXPECT_EQ(le(b, 32, 2), 2u) << "bytes per frame";
    EXPECT_EQ(le(b, 34, 2), 16u);
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    const size_t bytes = le(b, 40, 4);
    EXPECT_EQ(bytes, b.size() - 44);
    for (size_t at = 44; at + 1 < b.size() && at < 44 + bytes; at += 2)
        samples.push_back(static_cast<std::int16_t>(le(b, at, 2)));
    return samples;
}

double dbfs(double level) {
    return 20 * std::log10(level / kFullScale);
}

int peakOf(const std::vector<std::int16_t>& s, size_t from, size_t to) {
    int peak = 0;
    for (size_t i = from; i < to; ++i) peak = std::max(peak, std::abs(static_cast<int>(s[i])));
    return peak;
}

TEST(SoundContent, TheSoundFolderHoldsExactlyTheGamesEffects) {
    std::set<std::string> shipped, expected;
    for (const auto& entry : std::filesystem::directory_iterator(soundDir()))
        shipped.insert(entry.path().filename().string());
    for (const Expected& e : kSounds) expected.insert(e.file);
    EXPECT_EQ(shipped, expected);
}

TEST(SoundContent, EveryEffectIsShortLoudEnoughAndLeavesHeadroomWithoutDc) {
    for (const Expected& e : kSounds) {
        SCOPED_TRACE(e.file);
        const std::vector<std::int16_t> s = readPcm(e.file);
        ASSERT_GT(s.size(), 500u);
        EXPECT_LE(s.size() / 22050.0, e.maxSeconds);
        const double peak = dbfs(peakOf(s, 0, s.size()));
        EXPECT_LE(peak, -1.0) << "no room left in the mix";
        EXPECT_GE(peak, -10.0) << "too quiet beside the others";
        double sum = 0;
        for (std::int16_t v : s) sum += v;
        EXPECT_LT(std::fabs(sum / s.size()), 0.001 * kFullScale) << "DC offset";
    }
}

TEST(SoundContent, OneShotsStartAndEndInSilenceAndLoopsJoinWithoutAStep) {
    for (const Expected& e : kSounds) {
        SCOPED_TRACE(e.file);
        const std::vector<std::int16_t> s = readPcm(e.file);
        ASSERT_GT(s.size(), 500u);
        std::vector<int> steps;
        for (size_t i = 1; i < s.size(); ++i) steps.push_back(std::abs(s[i] - s[i - 1]));
        std::sort(steps.begin(), steps.end());
        if (e.loops) {
            // The jump from the last sample back to the first is no bigger
            // than almost every step inside the loop.
            const int seam = std::abs(s.front() - s.back());
            EXPECT_LE(seam, steps[steps.size() * 99 / 100]);
        } else {
            const size_t ms = 22;
            const int peak = peakOf(s, 0, s.size());
            EXPECT_LE(std::abs(s.front()), 1);
            EXPECT_LE(std::abs(s.back()), 1);
            EXPECT_LE(peakOf(s, s.size() - ms, s.size()), peak / 30) << "tail cut off";
        }
    }
}

TEST(SoundContent, NoTwoEffectsAreTheSame) {
    std::vector<std::vector<std::int16_t>> all;
    for (const Expected& e : kSounds) all.push_back(readPcm(e.file));
    for (size_t i = 0; i < all.size(); ++i)
        for (size_t j = i + 1; j < all.size(); ++j)
            EXPECT_TRUE(all[i] != all[j]) << kSounds[i].file << " and " << kSounds[j].file;
}

} // namespace
