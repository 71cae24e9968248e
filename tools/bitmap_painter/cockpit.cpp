#include "tools/bitmap_painter/pictures.hpp"

#include "tools/bitmap_painter/lettering.hpp"
#include "tools/common/random.hpp"

#include <cmath>

// The head-up display draws at fixed places (see its layouts); each of those
// places gets a dark well here, the compass a light face for its black needle.
CockpitLayout cockpitLayout640() {
    return {640,
            480,
            1.0,
            {86, 434, 263, 464},
            {39, 442, 30},
            {19, 365},
            {448, 453},
            16,
            {285, 436, 329, 469},
            {355, 436, 399, 469},
            {511, 393, 621, 468},
            true};
}

CockpitLayout cockpitLayout320() {
    return {320,
            240,
            0.5,
            {43, 218, 132, 234},
            {19, 222, 15},
            {11, 176},
            {226, 228},
            8,
            {142, 219, 167, 237},
            {176, 219, 201, 237},
            {256, 198, 315, 236},
            false};
}

namespace {

const Rgb panelTop{64, 68, 80}, panelBottom{30, 32, 38}, rim{112, 118, 132}, wellDark{14, 15, 19};

// A recessed well: a light rim, then the dark floor.
void well(Canvas& c, double x0, double y0, double x1, double y1, double s) {
    c.fillRoundRect(x0 - 2 * s, y0 - 2 * s, x1 + 2 * s, y1 + 2 * s, 5 * s, Rgb{92, 98, 112});
    c.fillRoundRect(x0 - 1 * s, y0 - 1 * s, x1 + 1 * s, y1 + 1 * s, 4 * s, Rgb{22, 23, 28});
    c.fillRoundRect(x0, y0, x1, y1, 3 * s, wellDark);
}

} // namespace

Canvas paintCockpit(const CockpitLayout& L) {
    const double s = L.scale;
    Canvas c(L.width, L.height, Rgb{255, 255, 255});
    const auto P = [s](double x, double y) { return Pt{x * s, y * s}; };
    ToolRandom grain(0xC0C);
    // The dashboard: low in the middle so the road stays in view, raised at
    // the sides for the nitro lamp and the shield gauge.
    const std::vector<Pt> dash = {P(0, 480),   P(0, 350),   P(56, 350),  P(84, 402), P(250, 424),
                                  P(440, 424), P(488, 384), P(640, 376), P(640, 480)};
    c.fillPolygon(dash, [&](double, double y) {
        const double t = std::clamp((y / s - 350) / 130, 0.0, 1.0);
        const Rgb base = mix(panelTop, panelBottom, t);
        const double n = grain.range(-3, 3);
        return Rgb{base.r + n, base.g + n, base.b + n};
    });
    for (size_t i = 1; i + 2 < dash.size(); ++i) c.stroke(dash[i], dash[i + 1], 2.2 * s, rim);
    // Window pillars and the roof edge frame the view.
    const Rgb pillar{44, 46, 54};
    c.fillPolygon({P(0, 0), P(16, 0), P(42, 350), P(0, 350)}, pillar);
    c.fillPolygon({P(640, 0), P(624, 0), P(602, 376), P(640, 376)}, pillar);
    c.fillPolygon({P(0, 0), P(640, 0), P(640, 7), P(0, 7)}, pillar);
    c.stroke(P(16, 7), P(42, 350), 1.6 * s, rim);
    c.stroke(P(624, 7), P(602, 376), 1.6 * s, rim);
    c.stroke(P(16, 7), P(624, 7), 1.6 * s, rim);

    // Wells for every instrument.
    well(c, L.speed[0], L.speed[1], L.speed[2], L.speed[3], s);
    well(c, L.ammoDigits[0], L.ammoDigits[1], L.ammoDigits[2], L.ammoDigits[3], s);
    well(c, L.mineDigits[0], L.mineDigits[1], L.mineDigits[2], L.mineDigits[3], s);
    well(c, L.shields[0], L.shields[1], L.shields[2], L.shields[3], s);
    const int lamp = L.lampSize, pad = static_cast<int>(4 * s);
    well(c, L.nitroLamp[0] - pad, L.nitroLamp[1] - pad, L.nitroLamp[0] + lamp + pad,
         L.nitroLamp[1] + lamp + pad, s);
    well(c, L.flagLamp[0] - pad, L.flagLamp[1] - pad, L.flagLamp[0] + lamp + pad, L.flagLamp[1] + lamp + pad,
         s);
    // Faint scale marks under the speed bar and the shield bars.
    for (int i = 0; i <= 10; ++i) {
        const double x = L.speed[0] + 4 * s + i * (L.speed[2] - L.speed[0] - 8 * s) / 10.0;
        c.stroke({x, L.speed[3] - 2.5 * s}, {x, L.speed[3] - 1.0 * s}, 1.0 * s, Rgb{70, 74, 84});
    }
    // The compass: a light face with a rim and marks at the eight points.
    const double cx = L.compass[0] + 0.5, cy = L.compass[1] + 0.5, r = L.compass[2];
    c.fillEllipse(cx, cy, r + 4 * s, r + 4 * s, Rgb{92, 98, 112});
    c.fillEllipse(cx, cy, r + 2.5 * s, r + 2.5 * s, Rgb{36, 38, 46});
    c.fillEllipse(cx, cy, r + 1, r + 1, Rgb{206, 212, 218});
    for (int k = 0; k < 8; ++k) {
        const double a = k * 3.14159265358979 / 4;
        const double inner = k % 2 ? r * 0.78 : r * 0.68;
        c.stroke({cx + inner * std::cos(a), cy - inner * std::sin(a)},
                 {cx + r * 0.95 * std::cos(a), cy - r * 0.95 * std::sin(a)}, (k % 2 ? 1.0 : 1.8) * s,
                 Rgb{96, 102, 114});
    }
    c.fillEllipse(cx, cy, 2.5 * s, 2.5 * s, Rgb{60, 64, 72});
    // Rivets on the raised sides.
    for (const Pt& p : {P(14, 362), P(14, 470), P(626, 388), P(626, 472), P(476, 470), P(70, 470)})
        c.fillEllipse(p.x, p.y, 2.2 * s, 2.2 * s, Rgb{120, 126, 140});

    if (L.labels) {
        const std::string font = dejaVu("DejaVuSans-Bold.ttf");
        const Rgb ink{168, 176, 190};
        const auto label = [&](const char* text, int x, int y) {
            paintText(c, renderText(font, 9, text, 1), x, y, ink);
        };
        label("SPEED", L.speed[0] + 2, L.speed[1] - 17);
        label("AMMO", L.ammoDigits[0] + 5, L.ammoDigits[3] + 1);
        label("MINES", L.mineDigits[0] + 3, L.mineDigits[3] + 1);
        label("SHIELDS", L.shields[0] + 30, L.shields[3] + 1);
        label("NITRO", L.nitroLamp[0] - 12, L.nitroLamp[1] + 22);
        label("FLAG", L.flagLamp[0] + 22, L.flagLamp[1] + 2);
    }
    return c;
}

Canvas paintLamp(int size, Rgb glow) {
    Canvas c(size, size, wellDark);
    const double centre = size / 2.0, r = size / 2.0 - 0.6;
    c.fill([&](double x, double y) { return std::hypot(x - centre, y - centre) <= r; },
           [&](double x, double y) {
               const double d = std::hypot(x - centre + size * 0.12, y - centre + size * 0.12) / r;
               const Rgb hot{std::min(255.0, glow.r + 150), std::min(255.0, glow.g + 150),
                             std::min(255.0, glow.b + 150)};
               return d < 0.35 ? mix(hot, glow, d / 0.35)
                               : mix(glow, Rgb{glow.r * 0.4, glow.g * 0.4, glow.b * 0.4}, (d - 0.35) / 0.9);
           });
    return c;
}

Canvas paintSegment(int width, int height) {
    Canvas c(width, height);
    const bool wide = width > height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // Brighter along the bar's middle, dimmer at its ends.
            const int along = wide ? x : y, length = wide ? width : height;
            const bool end = along == 0 || along == length - 1;
            c.at(x, y) = end && length > 4 ? Rgb{200, 40, 20} : Rgb{255, 64, 28};
        }
    return c;
}
