#pragma once
// The sound kit: just enough synthesis to make the game's effects in code.
// A sound is built from oscillators and seeded noise, shaped by envelopes and
// filters, layered, then finished (no DC, faded ends, a set peak) and written
// as 16-bit mono PCM WAV. Everything is plain arithmetic in a fixed order, so
// a rerun writes the same bytes.
#include "tools/common/random.hpp"

#include <string>
#include <vector>

// Every effect is made and shipped at this rate; the game's mixer converts.
constexpr int kSampleRateHz = 22050;

// Samples at kSampleRateHz, full scale at -1 and +1.
using Signal = std::vector<double>;

// The number of samples in `seconds` (rounded to the nearest sample).
int samplesIn(double seconds);

// A value that glides geometrically from `from` to `to` over `seconds`, then
// stays at `to`: pitches and cut-offs, heard on a logarithmic scale.
struct Sweep {
    double from;
    double to;
    double seconds = 0;
    double at(double t) const;
};
// A value that does not move.
constexpr Sweep steady(double value) {
    return {value, value, 0};
}

// The frequency of a note by its MIDI number (69 is A4 = 440 Hz).
double noteHz(int midiNote);

enum class Wave { Sine, Triangle, Square, Saw };

struct Oscillator {
    Wave wave = Wave::Sine;
    Sweep pitchHz = steady(440);
    double vibratoHz = 0;    // a slow wobble of the pitch...
    double vibratoCents = 0; // ...this deep (100 cents to a semitone)
    double phase = 0;        // starting phase in cycles, 0..1
};

// `seconds` of the oscillator at amplitude 1. Square and saw are band-limited
// (polyBLEP), so high sweeps do not alias into whistles.
Signal tone(const Oscillator& oscillator, double seconds);

// `seconds` of white noise, uniform in [-1, 1).
Signal noise(double seconds, ToolRandom& random);

// Sparse clicks: single-sample impulses of random sign and size, on average
// `perSecond` of them, for crackle, gravel and debris.
Signal crackle(double seconds, double perSecond, ToolRandom& random);

// A percussive envelope: a linear rise over `attackSeconds`, then a fall that
// halves every `halfLifeSeconds`; the last few milliseconds fade to silence.
void strike(Signal& signal, double attackSeconds, double halfLifeSeconds);

// A held note's envelope: rise, fall to the sustain level, hold, and release
// over the last `release` seconds of the signal.
struct Adsr {
    double attack = 0.005;
    double decay = 0.05;
    double sustain = 0.7;
    double release = 0.05;
};
void shape(Signal& signal, const Adsr& envelope);

enum class Pass { Low, High, Band };

// A two-pole state-variable filter (topology-preserving, so it stays stable
// while its cut-off sweeps). The band pass has unit gain at its centre.
struct Filter {
    Pass pass = Pass::Low;
    Sweep cutoffHz = steady(1000);
    double q = 0.707; // 0.707 is flat; higher rings at the cut-off
};
void filter(Signal& signal, const Filter& settings);

// Filters a loop as if it had always been playing: one pass settles the
// filter's state, the second is kept, so the end joins the start. The cut-off
// must be steady.
void filterLoop(Signal& loop, const Filter& settings);

// Drives a sound into a soft clip: its peak scaled to 1, then tanh(drive * x).
// Rounds off the first crack of a blast so its body sounds louder and fuller;
// drive 1 barely touches it, 4 squashes it hard.
void saturate(Signal& signal, double drive);

// Multiplies every sample by `gain`.
void amplify(Signal& signal, double gain);

// Adds `part` times `gain` into `mix` from `atSeconds` on, lengthening `mix` if
// the part runs past its end.
void layer(Signal& mix, const Signal& part, double gain, double atSeconds = 0);

// Adds `part` times `gain` into a loop from `atSeconds` on, wrapping what runs
// past the end round to the start.
void layerAround(Signal& loop, const Signal& part, double gain, double atSeconds);

// Readies a one-shot: rumble below 20 Hz and any DC removed, faded in and out
// so it starts and ends at silence, scaled so its peak is `peakDbfs`.
void finishOneShot(Signal& signal, double peakDbfs, double fadeInSeconds = 0.002,
                   double fadeOutSeconds = 0.015);

// Readies a loop: its mean removed (a constant, so the seam is kept) and
// scaled so its peak is `peakDbfs`.
void finishLoop(Signal& loop, double peakDbfs);

// The largest absolute sample.
double peakOf(const Signal& signal);

// Writes RIFF WAVE, PCM 16-bit, mono, kSampleRateHz. False if it cannot.
bool writeWav(const std::string& path, const Signal& signal);
