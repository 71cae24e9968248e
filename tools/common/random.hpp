#pragma once
// A seeded random source for the content tools. Every tool draws its numbers
// from one of these with a fixed seed, in a fixed order, so a rerun writes the
// same bytes (the standard library's distributions differ between versions).
#include <cstdint>

class ToolRandom {
  public:
    explicit ToolRandom(std::uint64_t seed) : state(seed) {}

    // SplitMix64: small, fast and good enough for art.
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1), from the top 53 bits.
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    // Uniform in [lo, hi).
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }
    // Uniform integer in [0, n).
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

  private:
    std::uint64_t state;
};
