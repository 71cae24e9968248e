#include "tools/sound_maker/synth.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

double secondsAt(size_t i) {
    return static_cast<double>(i) / kSampleRateHz;
}

// The polyBLEP correction: a smoothed step subtracted around each jump of a
// naive square or saw, `t` the phase in cycles and `dt` the phase step.
double polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1;
    }
    if (t > 1 - dt) {
        t = (t - 1) / dt;
        return t * t + t + t + 1;
    }
    return 0;
}

double waveAt(Wave wave, double phase, double dt) {
    switch (wave) {
    case Wave::Sine: return std::sin(2 * kPi * phase);
    case Wave::Triangle: {
        // Starts at 0 rising, like the sine.
        const double p = std::fmod(phase + 0.25, 1.0);
        return 1 - 4 * std::fabs(p - 0.5);
    }
    case Wave::Square:
        return (phase < 0.5 ? 1.0 : -1.0) + polyBlep(phase, dt) - polyBlep(std::fmod(phase + 0.5, 1.0), dt);
    case Wave::Saw: return 2 * phase - 1 - polyBlep(phase, dt);
    }
    return 0;
}

// The state of the state-variable filter between samples.
struct FilterState {
    double ic1 = 0;
    double ic2 = 0;
};

double filterSample(FilterState& s, double in, const Filter& f, double cutoffHz) {
    // Keep the cut-off well below the Nyquist frequency, where tan() blows up.
    const double fc = std::clamp(cutoffHz, 10.0, 0.45 * kSampleRateHz);
    const double g = std::tan(kPi * fc / kSampleRateHz);
    const double k = 1 / f.q;
    const double a1 = 1 / (1 + g * (g + k));
    const double a2 = g * a1;
    const double a3 = g * a2;
    const double v3 = in - s.ic2;
    const double v1 = a1 * s.ic1 + a2 * v3;         // band
    const double v2 = s.ic2 + a2 * s.ic1 + a3 * v3; // low
    s.ic1 = 2 * v1 - s.ic1;
    s.ic2 = 2 * v2 - s.ic2;
    switch (f.pass) {
    case Pass::Low: return v2;
    case Pass::High: return in - k * v1 - v2;
    case Pass::Band: return k * v1;
    }
    return 0;
}

// A raised-cosine ramp from 0 (i = 0) to 1 (i = n).
double rampUp(size_t i, size_t n) {
    return 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / n);
}

void scaleToPeak(Signal& signal, double peakDbfs) {
    const double peak = peakOf(signal);
    if (peak > 0) amplify(signal, std::pow(10.0, peakDbfs / 20) / peak);
}

void putLe(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
    for (int b = 0; b < bytes; ++b) out.push_back(static_cast<unsigned char>(value >> (8 * b)));
}

} // namespace

int samplesIn(double seconds) {
    return static_cast<int>(std::lround(seconds * kSampleRateHz));
}

double Sweep::at(double t) const {
    if (seconds <= 0 || t >= seconds) return to;
    return from * std::pow(to / from, t / seconds);
}

double noteHz(int midiNote) {
    return 440.0 * std::exp2((midiNote - 69) / 12.0);
}

Signal tone(const Oscillator& o, double seconds) {
    Signal out(samplesIn(seconds));
    double phase = o.phase;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = secondsAt(i);
        double hz = o.pitchHz.at(t);
        if (o.vibratoCents > 0) hz *= std::exp2(o.vibratoCents / 1200 * std::sin(2 * kPi * o.vibratoHz * t));
        const double dt = hz / kSampleRateHz;
        out[i] = waveAt(o.wave, phase, dt);
        phase += dt;
        phase -= std::floor(phase);
    }
    return out;
}

Signal noise(double seconds, ToolRandom& random) {
    Signal out(samplesIn(seconds));
    for (double& v : out) v = random.range(-1, 1);
    return out;
}

Signal crackle(double seconds, double perSecond, ToolRandom& random) {
    Signal out(samplesIn(seconds));
    const double chance = perSecond / kSampleRateHz;
    for (double& v : out) {
        if (random.unit() >= chance) continue;
        const double size = random.range(0.3, 1);
        v = random.below(2) ? size : -size;
    }
    return out;
}

void strike(Signal& signal, double attackSeconds, double halfLifeSeconds) {
    const size_t n = signal.size();
    for (size_t i = 0; i < n; ++i) {
        const double t = secondsAt(i);
        signal[i] *=
            t < attackSeconds ? t / attackSeconds : std::exp2(-(t - attackSeconds) / halfLifeSeconds);
    }
    // A part cut off at its length must not end in a step: fade the tail.
    const size_t tail = std::min<size_t>(samplesIn(0.01), n / 4);
    for (size_t i = 0; i < tail; ++i) signal[n - 1 - i] *= rampUp(i, tail);
}

void shape(Signal& signal, const Adsr& e) {
    const size_t n = signal.size();
    const size_t releaseSamples = std::min<size_t>(samplesIn(e.release), n);
    for (size_t i = 0; i < n; ++i) {
        const double t = secondsAt(i);
        double level;
        if (t < e.attack)
            level = t / e.attack;
        else if (t < e.attack + e.decay)
            level = 1 - (1 - e.sustain) * (t - e.attack) / e.decay;
        else
            level = e.sustain;
        const size_t left = n - 1 - i; // samples after this one
        if (left < releaseSamples) level *= static_cast<double>(left) / releaseSamples;
        signal[i] *= level;
    }
}

void filter(Signal& signal, const Filter& settings) {
    FilterState state;
    for (size_t i = 0; i < signal.size(); ++i)
        signal[i] = filterSample(state, signal[i], settings, settings.cutoffHz.at(secondsAt(i)));
}

void filterLoop(Signal& loop, const Filter& settings) {
    assert(settings.cutoffHz.from == settings.cutoffHz.to);
    const double cutoff = settings.cutoffHz.to;
    FilterState state;
    for (double v : loop) filterSample(state, v, settings, cutoff);
    for (double& v : loop) v = filterSample(state, v, settings, cutoff);
}

void saturate(Signal& signal, double drive) {
    const double peak = peakOf(signal);
    if (peak == 0) return;
    for (double& v : signal) v = std::tanh(drive * v / peak);
}

void amplify(Signal& signal, double gain) {
    for (double& v : signal) v *= gain;
}

void layer(Signal& mix, const Signal& part, double gain, double atSeconds) {
    const size_t start = samplesIn(atSeconds);
    if (mix.size() < start + part.size()) mix.resize(start + part.size(), 0.0);
    for (size_t i = 0; i < part.size(); ++i) mix[start + i] += gain * part[i];
}

void layerAround(Signal& loop, const Signal& part, double gain, double atSeconds) {
    assert(!loop.empty());
    const size_t start = samplesIn(atSeconds);
    for (size_t i = 0; i < part.size(); ++i) loop[(start + i) % loop.size()] += gain * part[i];
}

void finishOneShot(Signal& signal, double peakDbfs, double fadeInSeconds, double fadeOutSeconds) {
    const size_t n = signal.size();
    assert(n > 2);
    filter(signal, {.pass = Pass::High, .cutoffHz = steady(20)});
    const size_t fadeIn = std::min<size_t>(samplesIn(fadeInSeconds), n / 2);
    const size_t fadeOut = std::min<size_t>(samplesIn(fadeOutSeconds), n / 2);
    for (size_t i = 0; i < fadeIn; ++i) signal[i] *= rampUp(i, fadeIn);
    for (size_t i = 0; i < fadeOut; ++i) signal[n - 1 - i] *= rampUp(i, fadeOut);
    // What DC the high pass leaves in a short sound goes with a window that is
    // silent at both ends, so the faded ends stay at zero.
    double sum = 0, weight = 0;
    Signal window(n);
    for (size_t i = 0; i < n; ++i) {
        window[i] = std::pow(std::sin(kPi * static_cast<double>(i) / (n - 1)), 2);
        sum += signal[i];
        weight += window[i];
    }
    for (size_t i = 0; i < n; ++i) signal[i] -= sum / weight * window[i];
    scaleToPeak(signal, peakDbfs);
}

void finishLoop(Signal& loop, double peakDbfs) {
    double sum = 0;
    for (double v : loop) sum += v;
    for (double& v : loop) v -= sum / loop.size();
    scaleToPeak(loop, peakDbfs);
}

double peakOf(const Signal& signal) {
    double peak = 0;
    for (double v : signal) peak = std::max(peak, std::fabs(v));
    return peak;
}

bool writeWav(const std::string& path, const Signal& signal) {
    constexpr std::uint32_t kBytesPerSample = 2;
    const auto dataBytes = static_cast<std::uint32_t>(signal.size() * kBytesPerSample);
    std::vector<unsigned char> out;
    out.reserve(44 + dataBytes);
    const auto tag = [&](const char* four) { out.insert(out.end(), four, four + 4); };
    tag("RIFF");
    putLe(out, 36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    putLe(out, 16, 4);                              // fmt chunk size
    putLe(out, 1, 2);                               // PCM
    putLe(out, 1, 2);                               // mono
    putLe(out, kSampleRateHz, 4);                   // samples per second
    putLe(out, kSampleRateHz * kBytesPerSample, 4); // bytes per second
    putLe(out, kBytesPerSample, 2);                 // bytes per frame
    putLe(out, 8 * kBytesPerSample, 2);             // bits per sample
    tag("data");
    putLe(out, dataBytes, 4);
    for (double v : signal) {
        const long s = std::clamp(std::lround(v * 32767), -32767L, 32767L);
        putLe(out, static_cast<std::uint32_t>(static_cast<std::int16_t>(s)) & 0xFFFF, 2);
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}
