#include "tools/icon_maker/icon_art.hpp"

#include <algorithm>
#include <cmath>

namespace {

// Colours and coverage in floats; the picture is laid out on the unit square,
// x to the right and y down.
struct Colour {
    float r = 0, g = 0, b = 0;
};

Colour mix(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

constexpr float margin = 1.0f / 32;   // transparent edge around the square
constexpr float cornerRadius = 0.19f; // of the rounded square
constexpr float border = 1.0f / 40;   // its dark rim
constexpr float horizon = 0.58f;

constexpr Colour skyTop{28, 62, 150};
constexpr Colour skyLow{160, 198, 238};
constexpr Colour groundNear{34, 112, 48};
constexpr Colour groundFar{92, 176, 84};
constexpr Colour gridLine{140, 214, 120};
constexpr Colour rim{18, 28, 58};
constexpr Colour pole{232, 232, 236};
constexpr Colour poleShade{150, 150, 160};
constexpr Colour cloth{222, 36, 40};
constexpr Colour clothLight{250, 96, 84};
constexpr Colour shadow{16, 60, 26};

// Distance outside the rounded square (negative inside).
float roundedSquareDistance(float x, float y) {
    const float half = 0.5f - margin;
    const float qx = std::fabs(x - 0.5f) - (half - cornerRadius);
    const float qy = std::fabs(y - 0.5f) - (half - cornerRadius);
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - cornerRadius;
}

// The field: darker near the viewer, with grid lines that run to a point on the
// horizon and cross lines that close up with distance.
Colour ground(float x, float y) {
    const float depth = (y - horizon) / (1 - horizon); // 0 at the horizon, 1 at the bottom
    Colour c = mix(groundFar, groundNear, depth);
    // Lines toward the vanishing point: their spacing shrinks with 1 / depth.
    const float across = (x - 0.5f) / std::max(depth, 0.02f);
    const float lane = across * 2.2f - std::floor(across * 2.2f);
    const float laneWidth = 0.08f / std::max(depth, 0.1f);
    // Cross lines at equal steps of 1 / depth.
    const float distance = 1.0f / std::max(depth, 0.02f);
    const float row = distance * 0.9f - std::floor(distance * 0.9f);
    if (lane < laneWidth || row < 0.12f * depth + 0.02f)
        c = mix(c, gridLine, 0.75f * std::min(1.0f, depth * 3));
    return c;
}

Colour scenery(float x, float y) {
    if (y < horizon) return mix(skyTop, skyLow, y / horizon);
    return ground(x, y);
}

// The flag cloth waves: its top and bottom edges follow one sine.
constexpr float poleLeft = 0.27f, poleRight = 0.325f, poleTop = 0.14f, poleFoot = 0.82f;
constexpr float clothEnd = 0.82f, clothHeight = 0.30f;

float wave(float x) {
    return 0.035f * std::sin((x - poleRight) / (clothEnd - poleRight) * 6.2831853f * 0.9f);
}

// The colour of one sample, and whether the icon covers it.
bool sample(float x, float y, Colour& out) {
    const float d = roundedSquareDistance(x, y);
    if (d > 0) return false;
    out = scenery(x, y);
    // The pole's shadow on the field, long and to the right.
    const float sx = x - poleRight, sy = y - poleFoot;
    if (sx > -0.04f && sx < 0.34f && std::fabs(sy + sx * 0.08f) < 0.022f * (1 - sx * 1.8f))
        out = mix(out, shadow, 0.55f);
    // The cloth, brighter where the wave turns toward the light.
    const float top = poleTop + 0.01f + wave(x) + (x - poleRight) * 0.06f;
    if (x >= poleRight && x <= clothEnd && y >= top && y <= top + clothHeight - (x - poleRight) * 0.12f) {
        const float light =
            0.5f + 0.5f * std::cos((x - poleRight) / (clothEnd - poleRight) * 6.2831853f * 0.9f);
        out = mix(cloth, clothLight, light * 0.6f);
    }
    // The pole, shaded on its right side, with a round knob on top.
    if (x >= poleLeft && x <= poleRight && y >= poleTop && y <= poleFoot)
        out = x < (poleLeft + poleRight) / 2 ? pole : poleShade;
    if (std::hypot(x - (poleLeft + poleRight) / 2, y - poleTop) < 0.04f) out = pole;
    if (d > -border) out = rim;
    return true;
}

u8 toByte(float v) {
    return static_cast<u8>(std::clamp(std::lround(v), 0L, 255L));
}

} // namespace

std::vector<u8> paintIcon(int size) {
    constexpr int perSide = 8; // samples along each side of a pixel
    std::vector<u8> pixels(static_cast<size_t>(size) * size * 4);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            float r = 0, g = 0, b = 0, covered = 0;
            for (int sy = 0; sy < perSide; ++sy) {
                for (int sx = 0; sx < perSide; ++sx) {
                    const float x = (px + (sx + 0.5f) / perSide) / size;
                    const float y = (py + (sy + 0.5f) / perSide) / size;
                    Colour c;
                    if (!sample(x, y, c)) continue;
                    r += c.r;
                    g += c.g;
                    b += c.b;
                    covered += 1;
                }
            }
            u8* p = &pixels[(static_cast<size_t>(py) * size + px) * 4];
            // The colour of the covered samples, their share as the alpha.
            if (covered > 0) {
                p[0] = toByte(r / covered);
                p[1] = toByte(g / covered);
                p[2] = toByte(b / covered);
            }
            p[3] = toByte(covered * 255 / (perSide * perSide));
        }
    }
    return pixels;
}
