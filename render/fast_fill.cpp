#include "render/fast_fill.hpp"

#include "base/arithmetic.hpp"
#include "gfx/device_context.hpp"
#include "gfx/gfx_state.hpp"
#include "render/fog.hpp"
#include "render/scene_fill.hpp"
#include "world/texture.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define TESSARON_WIDE_COLOURS 1
#endif

namespace {

// Where the pixels of a 24-bit RGB frame go, and which of them drawPixel would
// write (inside the clip rectangle, or the surface when clipping is off).
struct DirectFrame {
    u8* surface = nullptr;
    i32 bytesPerLine = 0;
    i32 originX = 0, originY = 0;     // viewport corner on the surface
    i32 columnFrom = 0, columnTo = 0; // writable viewport columns, end exclusive
    i32 rowFrom = 0, rowTo = 0;
};

bool directFrameOf(const DeviceContext* dc, DirectFrame& frame) {
    if (dc == nullptr || dc->bitsPerPixel != 24 || dc->maxColor <= 255 ||
        !(dc->pixelFormat == pixelFormatRGB24)) {
        return false;
    }
    frame.surface = dc->surface;
    frame.bytesPerLine = dc->bytesPerLine;
    frame.originX = dc->viewport.left;
    frame.originY = dc->viewport.top;
    if (dc->clipping) {
        frame.columnFrom = dc->clipRect.left;
        frame.columnTo = dc->clipRect.right;
        frame.rowFrom = dc->clipRect.top;
        frame.rowTo = dc->clipRect.bottom;
    } else {
        frame.columnFrom = dc->deviceRect.left - dc->viewport.left;
        frame.columnTo = dc->deviceRect.right - dc->viewport.left;
        frame.rowFrom = dc->deviceRect.top - dc->viewport.top;
        frame.rowTo = dc->deviceRect.bottom - dc->viewport.top;
    }
    return true;
}

// Pixels are coloured in batches: first the interpolation runs pixel by pixel
// (each value is a running sum, exactly as in the reference), then the fog of a
// whole batch is worked out four pixels at a time.
constexpr int batchSize = 64;

struct PixelBatch {
    alignas(32) f32 depth[batchSize];
    alignas(32) i32 channel[3][batchSize]; // C0 (blue), C1, C2 as the fog takes them (u16)
    alignas(32) i32 texel[batchSize];      // texture brightness, 256 = 1.0
    alignas(32) f32 shade[3][batchSize];   // smooth channels before their cut
    alignas(32) u32 colour[batchSize];     // results, 0x00RRGGBB
};

#if defined(__SSE2__)
// The batch arithmetic below is written once, on the compiler's vector types,
// for four lanes (SSE2) and for eight (AVX2): the same single-precision
// operations in the same order as fogChannel and the pixel-by-pixel cuts, and
// no fused multiply-add, which would round differently.
template <int N> struct Lanes {
    typedef f32 F __attribute__((vector_size(4 * N)));
    typedef i32 I __attribute__((vector_size(4 * N)));
};

// Lanes from a batch array (filled in place: a vector is never returned, so no
// call between the two widths could differ in how it passes one).
template <typename V, typename T>
__attribute__((always_inline)) inline void loadLanes(V& lanes, const T* from) {
    std::memcpy(&lanes, from, sizeof lanes);
}

// Which channels the batch starts from: the fog's own (already cut to 16
// bits), the span's plain colour, its smooth channels, or either of those
// scaled by the texel's brightness.
enum class BatchSource { CutChannels, Plain, Smooth, Textured, TexturedSmooth };

template <bool Textured, bool Smooth> constexpr BatchSource sourceOf() {
    using S = BatchSource;
    return Textured ? (Smooth ? S::TexturedSmooth : S::Textured) : (Smooth ? S::Smooth : S::Plain);
}

// Colours `count` pixels (a multiple of N) of the batch from their source, cut
// and fogged N at a time. Apart from the fog's own channels, only for spans
// whose values all convert in range (PlainCut), where the vector conversion
// gives what the pixel-by-pixel cut gives.
template <int N, BatchSource Source>
__attribute__((always_inline)) inline void colourLanes(PixelBatch& b, int count, const f32 plain[3],
                                                       const i32 plainCut[3]) {
    using F = typename Lanes<N>::F;
    using I = typename Lanes<N>::I;
    for (int k = 0; k < count; k += N) {
        F depth;
        loadLanes(depth, b.depth + k);
        // Beyond the fog's range every channel is the grey; the arithmetic there
        // is thrown away (its conversion cannot trap).
        const I outside = (depth < 0.0f) | (depth > fogDepth);
        const F near = fogDepth - depth;
        const F far = fogGrey * depth;
        F brightness{};
        if constexpr (Source == BatchSource::Textured || Source == BatchSource::TexturedSmooth) {
            I texel;
            loadLanes(texel, b.texel + k);
            brightness = __builtin_convertvector(texel, F) * (1.0f / 256.0f);
        }
        I packed{};
        for (int c = 2; c >= 0; --c) {
            F channel;
            if constexpr (Source == BatchSource::CutChannels) {
                I cut;
                loadLanes(cut, b.channel[c] + k);
                channel = __builtin_convertvector(cut, F);
            } else if constexpr (Source == BatchSource::TexturedSmooth) {
                F own;
                loadLanes(own, b.shade[c] + k);
                channel = __builtin_convertvector(__builtin_convertvector(brightness * own, I) & 0xFFFF, F);
            } else if constexpr (Source == BatchSource::Textured) {
                // A plain channel (0..255) times a brightness of at most 65535/256
                // stays in 0..65280: the cut to 16 bits changes nothing.
                channel = __builtin_convertvector(__builtin_convertvector(brightness * plain[c], I), F);
            } else if constexpr (Source == BatchSource::Smooth) {
                F own;
                loadLanes(own, b.shade[c] + k);
                channel = __builtin_convertvector(__builtin_convertvector(own, I) & 0xFFFF, F);
            } else {
                channel = F{} + static_cast<f32>(plainCut[c]);
            }
            const I fogged = __builtin_convertvector((near * channel + far) * (1.0f / fogDepth), I);
            packed = (packed << 8) | (fogged & 0xFF);
        }
        packed = (outside & 0xF0F0F0) | (~outside & packed);
        std::memcpy(b.colour + k, &packed, sizeof packed);
    }
}

// The fog of every pixel of the batch, as fogChannel gives it, packed.
void fogBatch(PixelBatch& b, int count) {
    colourLanes<4, BatchSource::CutChannels>(b, count, nullptr, nullptr);
}

// The colour of every pixel of the batch from its texel, its smooth channels or
// the span's plain colour, four pixels at a time.
template <bool Textured, bool Smooth>
void colourBatch(PixelBatch& b, int count, const f32 plain[3], const i32 plainCut[3]) {
    colourLanes<4, sourceOf<Textured, Smooth>()>(b, count, plain, plainCut);
}
constexpr bool vectorColours = true;
#else
void fogBatch(PixelBatch& b, int count) {
    for (int k = 0; k < count; ++k) {
        const f32 depth = b.depth[k];
        b.colour[k] = (fogChannel(static_cast<u16>(b.channel[2][k]), depth) & 0xFF) << 16 |
                      (fogChannel(static_cast<u16>(b.channel[1][k]), depth) & 0xFF) << 8 |
                      (fogChannel(static_cast<u16>(b.channel[0][k]), depth) & 0xFF);
    }
}
template <bool Textured, bool Smooth> void colourBatch(PixelBatch&, int, const f32*, const i32*) {}
constexpr bool vectorColours = false;
#endif

#if defined(TESSARON_WIDE_COLOURS)
// colourBatch eight pixels at a time, for processors with 256-bit vectors.
template <bool Textured, bool Smooth>
__attribute__((target("avx2"))) void colourBatchWide(PixelBatch& b, int count, const f32 plain[3],
                                                     const i32 plainCut[3]) {
    colourLanes<8, sourceOf<Textured, Smooth>()>(b, count, plain, plainCut);
}

// Whether this processor has 256-bit integer vectors, asked once at start-up,
// and whether the filler uses them.
const bool wideColoursAvailable = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}();
bool wideColours = wideColoursAvailable;
#endif

// colourBatch, eight pixels at a time where the processor can. `count` is a
// multiple of eight.
template <bool Textured, bool Smooth>
void colourBatchOnThisProcessor(PixelBatch& b, int count, const f32 plain[3], const i32 plainCut[3]) {
#if defined(TESSARON_WIDE_COLOURS)
    if (wideColours) {
        colourBatchWide<Textured, Smooth>(b, count, plain, plainCut);
        return;
    }
#endif
    colourBatch<Textured, Smooth>(b, count, plain, plainCut);
}

// Texel lookup of a span: masks and a shift when both sides are powers of two
// (every shipped texture), the general lookup otherwise. Both give texelAt's texel.
struct TexelLookup {
    const Texture* texture = nullptr;
    const u16* texels = nullptr;
    u32 maskU = 0, maskV = 0, shiftV = 0;
    bool masked = false;

    explicit TexelLookup(const Texture* t) : texture(t) {
        if (t == nullptr) return;
        const u32 w = t->width, h = t->height;
        masked = w != 0 && h != 0 && (w & (w - 1)) == 0 && (h & (h - 1)) == 0;
        if (masked) {
            texels = t->texels.data();
            maskU = 0x1FF & (w - 1);
            maskV = 0x1FF & (h - 1);
            shiftV = static_cast<u32>(std::countr_zero(h));
        }
    }
    u16 at(u32 u, u32 v) const {
        if (masked) {
            return texels[(((u >> 7) & maskU) << shiftV) | ((v >> 7) & maskV)];
        }
        return texelAt(*texture, u, v);
    }
};

// Float-to-integer cuts of the pixel loop: saturating as everywhere else, or a
// plain conversion where the span's values are known to stay far inside the
// integer range (the same result there, without the range tests).
struct SaturatingCut {
    static i32 cut(f32 value) { return truncToInt(value); }
};
struct PlainCut {
    static i32 cut(f32 value) { return static_cast<i32>(value); }
};

// True when every running value of the span stays below `limit` in size.
bool staysWithin(f32 start, f32 step, i32 count, f32 limit) {
    return std::fabs(start) + std::fabs(step) * static_cast<f32>(count + 1) < limit;
}

bool plainCutsAreSafe(const SpanPixels& p, bool textured, bool smooth) {
    const i32 count = truncToInt(std::floor(p.lastX)) - p.firstColumn + 1;
    if (count <= 0) {
        return true;
    }
    // Texture coordinates below 2^30 and smooth channels below 2^20 (times a
    // brightness of at most 256) leave a wide margin to 2^31.
    if (textured &&
        !(staysWithin(p.u, p.uStep, count, 0x1p30f) && staysWithin(p.v, p.vStep, count, 0x1p30f))) {
        return false;
    }
    if (smooth) {
        for (int c = 0; c < 3; ++c) {
            if (!staysWithin(p.channel[c], p.channelStep[c], count, 0x1p20f)) return false;
        }
    }
    return true;
}

#if defined(TESSARON_WIDE_COLOURS)
// Eight pixels' 24 bytes at a time from px on, in two sixteen-byte stores that
// each spill four bytes onto the two pixels after them, which are written
// later. Returns the first pixel left to write.
__attribute__((target("avx2"))) i64 writeEights(const u32* colour, i64 px, i64 to, u8* row) {
    const __m256i threeBytes = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, //
                                                0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    for (; px + 10 <= to; px += 8) {
        const __m256i eight = _mm256_shuffle_epi8(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(colour + px)), threeBytes);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + 3 * px), _mm256_castsi256_si128(eight));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + 3 * px + 12), _mm256_extracti128_si256(eight, 1));
    }
    return px;
}
#endif

// Writes the batch's pixels of columns start..start+count-1 that the frame
// lets through into their row.
void writeRow(const PixelBatch& b, i64 start, int count, u8* row, const DirectFrame& frame) {
    const i64 from = std::max<i64>(start, frame.columnFrom);
    const i64 to = std::min<i64>(start + count, frame.columnTo);
    // Little-endian: four bytes a pixel (blue, green, red, then a byte the
    // next pixel overwrites); the last pixel of the run writes its three.
    i64 px = from;
    if constexpr (std::endian::native == std::endian::little) {
#if defined(TESSARON_WIDE_COLOURS)
        if (wideColours) {
            px = start + writeEights(b.colour, px - start, to - start, row + 3 * start);
        }
#endif
#if defined(__SSE2__)
        // Four pixels' twelve bytes at a time, in two overlapping eight-byte
        // stores; the last two bytes land on the next pixel of the run,
        // which is written after them.
        const __m128i evenPixels = _mm_set_epi32(0, 0xFFFFFF, 0, 0xFFFFFF);
        const __m128i oddPixels = _mm_set_epi32(0xFFFFFF, 0, 0xFFFFFF, 0);
        for (; px + 4 < to; px += 4) {
            const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b.colour + (px - start)));
            const __m128i joined = _mm_or_si128(_mm_and_si128(four, evenPixels),
                                                _mm_srli_epi64(_mm_and_si128(four, oddPixels), 8));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(row + 3 * px), joined);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(row + 3 * px + 6), _mm_srli_si128(joined, 8));
        }
#endif
        for (; px < to - 1; ++px) std::memcpy(row + 3 * px, &b.colour[px - start], 4);
    }
    for (; px < to; ++px) {
        const u32 value = b.colour[px - start];
        u8* pixel = row + 3 * px;
        pixel[0] = static_cast<u8>(value);
        pixel[1] = static_cast<u8>(value >> 8);
        pixel[2] = static_cast<u8>(value >> 16);
    }
}

// Writes one span's pixels into its row (null: the row is clipped away) and
// keeps the colour of the last pixel computed, which the reference would leave
// set. False when the span has no pixel.
template <bool Textured, bool Smooth, typename Cut>
bool writeSpan(SpanPixels p, const Texture* texture, u8* row, const DirectFrame& frame, u32& colour) {
    const i32 lastColumn = truncToInt(std::floor(p.lastX));
    if (p.firstColumn > lastColumn) {
        return false;
    }
    PixelBatch b;
    // The running values in locals, so that the loop keeps them in registers;
    // each is still one running sum, added in the reference's order.
    f32 depth = p.depth, u = p.u, v = p.v;
    f32 c0 = p.channel[0], c1 = p.channel[1], c2 = p.channel[2];
    const f32 depthStep = p.depthStep, uStep = p.uStep, vStep = p.vStep;
    const f32 s0 = p.channelStep[0], s1 = p.channelStep[1], s2 = p.channelStep[2];
    // A plain colour gives the fog the same channels at every pixel.
    const i32 plain0 = static_cast<u16>(truncToInt(c0));
    const i32 plain1 = static_cast<u16>(truncToInt(c1));
    const i32 plain2 = static_cast<u16>(truncToInt(c2));

    // In range the pixel loop only runs the sums and fetches texels; the colour
    // arithmetic follows four or eight pixels at a time.
    constexpr bool vector = vectorColours && std::is_same_v<Cut, PlainCut>;
    const f32 plain[3] = {c0, c1, c2};
    const i32 plainCut[3] = {plain0, plain1, plain2};
    const TexelLookup lookup(texture);

    for (i64 start = p.firstColumn; start <= lastColumn; start += batchSize) {
        const int count = static_cast<int>(std::min<i64>(batchSize, lastColumn - start + 1));
        int k = 0;
        if constexpr (vector && Textured && !Smooth) {
            // The common span: a plain colour on a power-of-two texture, with the
            // lookup's masks in registers.
            if (lookup.masked) {
                const u16* texels = lookup.texels;
                const u32 maskU = lookup.maskU, maskV = lookup.maskV, shiftV = lookup.shiftV;
                for (; k < count; ++k) {
                    b.depth[k] = depth;
                    const u32 iu = static_cast<u32>(static_cast<i32>(u));
                    const u32 iv = static_cast<u32>(static_cast<i32>(v));
                    b.texel[k] = texels[(((iu >> 7) & maskU) << shiftV) | ((iv >> 7) & maskV)];
                    u += uStep;
                    v += vStep;
                    depth += depthStep;
                }
            }
        }
        for (; k < count; ++k) {
            b.depth[k] = depth;
            if constexpr (Textured) {
                const u16 texel = lookup.at(static_cast<u32>(Cut::cut(u)), static_cast<u32>(Cut::cut(v)));
                if constexpr (vector) {
                    b.texel[k] = texel;
                } else {
                    const f32 brightness = static_cast<f32>(texel) / 256.0f;
                    b.channel[0][k] = static_cast<u16>(Cut::cut(brightness * c0));
                    b.channel[1][k] = static_cast<u16>(Cut::cut(brightness * c1));
                    b.channel[2][k] = static_cast<u16>(Cut::cut(brightness * c2));
                }
                u += uStep;
                v += vStep;
            } else if constexpr (vector) {
                // the channels are cut four at a time
            } else if constexpr (Smooth) {
                b.channel[0][k] = static_cast<u16>(Cut::cut(c0));
                b.channel[1][k] = static_cast<u16>(Cut::cut(c1));
                b.channel[2][k] = static_cast<u16>(Cut::cut(c2));
            } else {
                b.channel[0][k] = plain0;
                b.channel[1][k] = plain1;
                b.channel[2][k] = plain2;
            }
            if constexpr (Smooth) {
                if constexpr (vector) {
                    b.shade[0][k] = c0;
                    b.shade[1][k] = c1;
                    b.shade[2][k] = c2;
                }
                c0 += s0;
                c1 += s1;
                c2 += s2;
            }
            depth += depthStep;
        }
        // Pad to whole groups of eight with a harmless pixel.
        const int padded = (count + 7) & ~7;
        for (int k = count; k < padded; ++k) {
            b.depth[k] = 0;
            b.channel[0][k] = b.channel[1][k] = b.channel[2][k] = 0;
            b.texel[k] = 0;
            b.shade[0][k] = b.shade[1][k] = b.shade[2][k] = 0;
        }
        if constexpr (vector) {
            colourBatchOnThisProcessor<Textured, Smooth>(b, padded, plain, plainCut);
        } else {
            fogBatch(b, padded);
        }

        if (row != nullptr) {
            writeRow(b, start, count, row, frame);
        }
        colour = b.colour[count - 1];
    }
    return true;
}

#if defined(__SSE2__)
// One span of a plain colour on a power-of-two texture, as the paired pixel loop
// below runs it.
struct TexturedRun {
    f32 u = 0, v = 0, depth = 0;
    f32 uStep = 0, vStep = 0, depthStep = 0;
    i64 start = 0, last = 0; // next column, last column
    u8* row = nullptr;
    PixelBatch b;

    TexturedRun(const SpanPixels& p, u8* rowOfSpan)
        : u(p.u), v(p.v), depth(p.depth), uStep(p.uStep), vStep(p.vStep), depthStep(p.depthStep),
          start(p.firstColumn), last(truncToInt(std::floor(p.lastX))), row(rowOfSpan) {}
    bool left() const { return start <= last; }
    int nextCount() const { return static_cast<int>(std::min<i64>(batchSize, last - start + 1)); }
};

// The texels and depths of pixels from..to-1 of a run's batch.
void fetchTexels(TexturedRun& r, int from, int to, const TexelLookup& t) {
    f32 u = r.u, v = r.v, depth = r.depth;
    for (int k = from; k < to; ++k) {
        r.b.depth[k] = depth;
        const u32 iu = static_cast<u32>(static_cast<i32>(u));
        const u32 iv = static_cast<u32>(static_cast<i32>(v));
        r.b.texel[k] = t.texels[(((iu >> 7) & t.maskU) << t.shiftV) | ((iv >> 7) & t.maskV)];
        u += r.uStep;
        v += r.vStep;
        depth += r.depthStep;
    }
    r.u = u;
    r.v = v;
    r.depth = depth;
}

// Colours and writes a run's batch of `count` pixels and moves the run past it.
void finishBatch(TexturedRun& r, int count, const f32 plain[3], const DirectFrame& frame, u32& colour) {
    const int padded = (count + 7) & ~7;
    for (int k = count; k < padded; ++k) {
        r.b.depth[k] = 0;
        r.b.texel[k] = 0;
    }
    const i32 unused[3] = {};
    colourBatchOnThisProcessor<true, false>(r.b, padded, plain, unused);
    if (r.row != nullptr) {
        writeRow(r.b, r.start, count, r.row, frame);
    }
    colour = r.b.colour[count - 1];
    r.start += count;
}

// Two spans of one polygon (a plain colour on a power-of-two texture, values in
// range), on two different rows, with their pixel loops run side by side: each
// span's running sums are added in its own order exactly as alone, but the two
// chains of additions do not wait for each other. Both spans have pixels; the
// colour left behind is the second span's last, as when they are drawn in turn.
void writeSpanPair(const SpanPixels& first, u8* firstRow, const SpanPixels& second, u8* secondRow,
                   const TexelLookup& t, const DirectFrame& frame, u32& colour) {
    TexturedRun a(first, firstRow), b(second, secondRow);
    const f32* plain = first.channel; // a plain colour: the same on every row
    const u16* texels = t.texels;
    const __m128 uvSteps = _mm_setr_ps(a.uStep, a.vStep, b.uStep, b.vStep);
    const __m128 depthSteps = _mm_setr_ps(a.depthStep, b.depthStep, 0, 0);
    const __m128i masks = _mm_setr_epi32(static_cast<i32>(t.maskU), static_cast<i32>(t.maskV),
                                         static_cast<i32>(t.maskU), static_cast<i32>(t.maskV));
    const __m128i uLanes = _mm_setr_epi32(-1, 0, -1, 0);
    const __m128i shift = _mm_cvtsi32_si128(static_cast<i32>(t.shiftV));
    u32 ignored = 0;
    while (a.left() && b.left()) {
        const int countA = a.nextCount(), countB = b.nextCount();
        const int both = std::min(countA, countB);
        // Both spans' texture coordinates in one vector and both depths in
        // another: each lane is still its own running sum.
        __m128 uv = _mm_setr_ps(a.u, a.v, b.u, b.v);
        __m128 depths = _mm_setr_ps(a.depth, b.depth, 0, 0);
        for (int k = 0; k < both; ++k) {
            _mm_store_ss(a.b.depth + k, depths);
            _mm_store_ss(b.b.depth + k, _mm_shuffle_ps(depths, depths, 1));
            // (coordinate >> 7) & mask per lane, the u lanes moved up by the
            // texture's height and joined to their v lane: lanes 0 and 2 hold
            // the two texel indices.
            const __m128i cut = _mm_and_si128(_mm_srli_epi32(_mm_cvttps_epi32(uv), 7), masks);
            const __m128i index = _mm_or_si128(_mm_and_si128(_mm_sll_epi32(cut, shift), uLanes),
                                               _mm_srli_epi64(_mm_andnot_si128(uLanes, cut), 32));
            a.b.texel[k] = texels[_mm_cvtsi128_si32(index)];
            b.b.texel[k] = texels[_mm_cvtsi128_si32(_mm_unpackhi_epi64(index, index))];
            uv = _mm_add_ps(uv, uvSteps);
            depths = _mm_add_ps(depths, depthSteps);
        }
        alignas(16) f32 values[4];
        _mm_store_ps(values, uv);
        a.u = values[0], a.v = values[1], b.u = values[2], b.v = values[3];
        _mm_store_ps(values, depths);
        a.depth = values[0], b.depth = values[1];
        fetchTexels(a, both, countA, t);
        fetchTexels(b, both, countB, t);
        finishBatch(a, countA, plain, frame, ignored);
        finishBatch(b, countB, plain, frame, colour);
    }
    for (TexturedRun* r : {&a, &b}) {
        while (r->left()) {
            const int count = r->nextCount();
            fetchTexels(*r, 0, count, t);
            finishBatch(*r, count, plain, frame, r == &b ? colour : ignored);
        }
    }
}
constexpr bool pairedSpans = true;
#else
void writeSpanPair(const SpanPixels&, u8*, const SpanPixels&, u8*, const TexelLookup&, const DirectFrame&,
                   u32&) {}
constexpr bool pairedSpans = false;
#endif

// True when the span, clipped to columns 0..maxX, has no pixel: then setting it
// up (its divisions) can be skipped, as drawing it leaves nothing behind. Most
// such rows belong to large polygons reaching past the frame's sides.
bool spanMissesColumns(const Span& span, i32 maxX) {
    const f32 lastColumn = static_cast<f32>(maxX);
    const f32 left = span.left.x < 0 ? 0.0f : span.left.x;
    const f32 right = span.right.x > lastColumn ? lastColumn : span.right.x;
    return !(static_cast<f32>(truncToInt(left)) <= right);
}

// The pixel loop that fits the polygon and the span.
bool writeSpanOf(const ScenePolygon& polygon, const SpanPixels& pixels, const Texture* texture, u8* row,
                 const DirectFrame& frame, u32& colour) {
    const bool textured = polygon.texture != nullptr;
    const bool smooth = polygon.smooth != 0;
    if (plainCutsAreSafe(pixels, textured, smooth)) {
        if (textured) {
            return smooth ? writeSpan<true, true, PlainCut>(pixels, texture, row, frame, colour)
                          : writeSpan<true, false, PlainCut>(pixels, texture, row, frame, colour);
        }
        return smooth ? writeSpan<false, true, PlainCut>(pixels, texture, row, frame, colour)
                      : writeSpan<false, false, PlainCut>(pixels, texture, row, frame, colour);
    }
    if (textured) {
        return smooth ? writeSpan<true, true, SaturatingCut>(pixels, texture, row, frame, colour)
                      : writeSpan<true, false, SaturatingCut>(pixels, texture, row, frame, colour);
    }
    // A plain colour without texture has no cut in its loop: only smooth ones get here.
    return writeSpan<false, true, SaturatingCut>(pixels, texture, row, frame, colour);
}

// While the active edges stay the same, every span lies between their leftmost
// and rightmost end (or is not a number, which draws nothing). When all of
// them are left of column 0 or right of column maxX, no row draws a pixel until
// an edge joins or leaves: the row where that happens is returned, or 0 when
// the edges reach the frame.
i32 rowsBesideFrame(const std::vector<ScreenEdge>& active, const std::vector<i32>& activeLastRow,
                    const std::vector<TimedEdge>& timed, size_t next, i32 maxX) {
    f32 leftmost = active.front().first.sx, rightmost = leftmost;
    for (const ScreenEdge& edge : active) {
        leftmost = std::min({leftmost, edge.first.sx, edge.second.sx});
        rightmost = std::max({rightmost, edge.first.sx, edge.second.sx});
    }
    if (!(rightmost < 0 || leftmost >= static_cast<f32>(maxX) + 1)) {
        return 0;
    }
    i32 change = *std::min_element(activeLastRow.begin(), activeLastRow.end()) + 1;
    if (next < timed.size()) {
        change = std::min(change, timed[next].firstRow);
    }
    return change;
}

} // namespace

void fillPolygonFast(ScenePolygon& polygon, i32 maxX, i32 maxY) {
    SceneBuffers buffers;
    fillPolygonFast(polygon, maxX, maxY, buffers);
}

void fillPolygonFast(ScenePolygon& polygon, i32 maxX, i32 maxY, SceneBuffers& buffers) {
    if (polygon.edges.empty()) {
        return;
    }
    closeOutline(polygon.edges, buffers.closed);

    // An edge joins the active list at the first row that reaches one of its
    // ends (row 0 for edges above the frame); edges join in outline order within
    // a row, so a stable sort by that row gives the reference's active order.
    // Edges no row reaches stay with the polygon, as in the reference.
    const i32 lastFilledRow = maxY - 2;
    std::vector<TimedEdge>& timed = buffers.timed;
    std::vector<ScreenEdge>& unreached = buffers.unreached;
    timed.clear();
    unreached.clear();
    for (const ScreenEdge& edge : polygon.edges) {
        if (!finiteEdge(edge)) {
            unreached.push_back(edge);
            continue;
        }
        const i32 row1 = truncToInt(edge.first.sy);
        const i32 row2 = truncToInt(edge.second.sy);
        const i32 firstRow = std::max(0, std::min(row1, row2));
        if (firstRow > lastFilledRow) {
            unreached.push_back(edge);
            continue;
        }
        timed.push_back({edge, firstRow, std::max(row1, row2)});
    }
    polygon.edges.swap(unreached);
    // Insertion sort: stable, and an outline has few edges.
    for (size_t i = 1; i < timed.size(); ++i) {
        for (size_t k = i; k > 0 && timed[k].firstRow < timed[k - 1].firstRow; --k)
            std::swap(timed[k], timed[k - 1]);
    }

    DirectFrame frame;
    const bool direct = directFrameOf(gfx::state.currentContext, frame);
    bool coloured = false;
    u32 colour = 0;
    // Spans of a plain colour on a power-of-two texture are drawn two rows at a
    // time; one waits here for the next.
    const TexelLookup lookup(polygon.texture);
    const bool pairable = pairedSpans && direct && lookup.masked && polygon.smooth == 0;
    bool waiting = false;
    SpanPixels waitingPixels;
    u8* waitingRow = nullptr;

    std::vector<ScreenEdge>& active = buffers.active;
    std::vector<i32>& activeLastRow = buffers.activeLastRow;
    active.clear();
    activeLastRow.clear();
    size_t next = 0;
    size_t joinedBefore = 0;
    i32 besideFrameUntil = 0; // rows before this one draw nothing
    for (i32 y = timed.empty() ? lastFilledRow + 1 : timed.front().firstRow; y <= lastFilledRow; ++y) {
        const size_t before = active.size();
        for (; next < timed.size() && timed[next].firstRow <= y; ++next) {
            active.push_back(timed[next].edge);
            activeLastRow.push_back(timed[next].lastRow);
        }
        size_t kept = 0;
        for (size_t i = 0; i < active.size(); ++i) {
            if (activeLastRow[i] >= y) {
                active[kept] = active[i];
                activeLastRow[kept++] = activeLastRow[i];
            }
        }
        const bool changed = kept != before || next != joinedBefore;
        joinedBefore = next;
        active.resize(kept);
        activeLastRow.resize(kept);
        if (active.empty()) {
            if (next == timed.size()) {
                break;
            }
            y = timed[next].firstRow - 1; // nothing to draw until the next edge joins
            continue;
        }
        if (changed) {
            besideFrameUntil = rowsBesideFrame(active, activeLastRow, timed, next, maxX);
        }
        if (y < besideFrameUntil) {
            y = besideFrameUntil - 1;
            continue;
        }

        const Span span = spanAtRow(active, y);
        if (!direct) {
            drawSpan(polygon, span, y, maxX);
            continue;
        }
        if (spanMissesColumns(span, maxX)) {
            continue;
        }
        SpanPixels pixels;
        if (!setUpSpan(polygon, span, maxX, pixels)) {
            continue;
        }
        u8* row = nullptr;
        if (y >= frame.rowFrom && y < frame.rowTo) {
            row = frame.surface + static_cast<i64>(y + frame.originY) * frame.bytesPerLine +
                  3 * static_cast<i64>(frame.originX);
        }
        if (pairable && plainCutsAreSafe(pixels, true, false) &&
            pixels.firstColumn <= truncToInt(std::floor(pixels.lastX))) {
            if (!waiting) {
                waitingPixels = pixels;
                waitingRow = row;
                waiting = true;
            } else {
                writeSpanPair(waitingPixels, waitingRow, pixels, row, lookup, frame, colour);
                coloured = true;
                waiting = false;
            }
            continue;
        }
        if (waiting) {
            coloured |= writeSpanOf(polygon, waitingPixels, polygon.texture, waitingRow, frame, colour);
            waiting = false;
        }
        coloured |= writeSpanOf(polygon, pixels, polygon.texture, row, frame, colour);
    }
    if (waiting) {
        coloured |= writeSpanOf(polygon, waitingPixels, polygon.texture, waitingRow, frame, colour);
    }
    // The reference sets the colour of every pixel it computes; leave the last one set.
    if (coloured) {
        gfx::state.currentContext->color = colour;
    }
}

void useWideColours(bool wide) {
#if defined(TESSARON_WIDE_COLOURS)
    wideColours = wide && wideColoursAvailable;
#else
    (void)wide;
#endif
}
