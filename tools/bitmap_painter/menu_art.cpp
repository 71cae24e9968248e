#include "tools/bitmap_painter/pictures.hpp"

#include "tools/bitmap_painter/lettering.hpp"
#include "tools/common/random.hpp"

#include <algorithm>
#include <cmath>

namespace {

double smoothstep(double a, double b, double x) {
    const double t = std::clamp((x - a) / (b - a), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// The field: a grid of cells in perspective running to a hazy horizon.
void paintField(Canvas& c, double horizon) {
    const double cx = c.width() * 0.5;
    for (int y = static_cast<int>(horizon); y < c.height(); ++y) {
        const double depth = 1.0 / std::max(0.02, (y + 0.5 - horizon) / (c.height() - horizon));
        for (int x = 0; x < c.width(); ++x) {
            const double wx = (x + 0.5 - cx) / c.width() * 3.2 * depth, wz = depth * 1.4;
            const double gx = wx - std::floor(wx), gz = wz - std::floor(wz);
            const double lineWidth = 0.018 * depth;
            const bool line = gx < lineWidth || gz < lineWidth;
            const double haze = smoothstep(0, 9, depth);
            Rgb ground = mix(Rgb{26, 70, 40}, Rgb{12, 36, 24}, std::clamp((y - horizon) / 200.0, 0.0, 1.0));
            if (line) ground = mix(ground, Rgb{90, 220, 130}, 0.55);
            c.at(x, y) = mix(ground, Rgb{120, 110, 150}, haze * 0.85);
        }
    }
}

} // namespace

Canvas paintMenu(int width, int height) {
    Canvas c(width, height);
    const double horizon = 150;
    // Dusk sky over the field.
    c.shade([&](double, double y) {
        if (y >= horizon) return Rgb{};
        const double t = y / horizon;
        return t < 0.6 ? mix(Rgb{10, 14, 40}, Rgb{58, 36, 92}, t / 0.6)
                       : mix(Rgb{58, 36, 92}, Rgb{226, 120, 84}, (t - 0.6) / 0.4);
    });
    ToolRandom stars(0x57A2);
    for (int i = 0; i < 90; ++i) {
        const double x = stars.range(0, width), y = stars.range(0, horizon * 0.55);
        const double b = stars.range(0.3, 1.0);
        c.fillEllipse(x, y, 0.7, 0.7, Rgb{255, 255, 240}, b);
    }
    paintField(c, horizon);
    // Distant walls on the horizon: dark blocks against the glow.
    ToolRandom blocks(0xB10C);
    for (double x = 0; x < width;) {
        const double w = blocks.range(10, 40), h = blocks.range(3, 9);
        if (blocks.unit() < 0.5)
            c.fillPolygon({{x, horizon - h}, {x + w, horizon - h}, {x + w, horizon + 1}, {x, horizon + 1}},
                          Rgb{70, 40, 70}, 0.8);
        x += w + blocks.range(10, 60);
    }

    // The title, in gold with a dark outline and a drop shadow.
    const std::string bold = dejaVu("DejaVuSans-Bold.ttf");
    const TextMask title = renderText(bold, 66, "TESSARON 3D", 2);
    const int tx = (width - title.width) / 2, ty = 18;
    for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx)
            if (dx * dx + dy * dy <= 10) paintText(c, title, tx + dx + 5, ty + dy + 6, Rgb{0, 0, 0}, 0.35);
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (dx * dx + dy * dy <= 5) paintText(c, title, tx + dx, ty + dy, Rgb{40, 16, 8});
    paintText(c, title, tx, ty, [&](double, double y) {
        const double t = (y - ty) / title.height;
        return t < 0.52 ? mix(Rgb{255, 246, 170}, Rgb{255, 190, 50}, t / 0.52)
                        : mix(Rgb{220, 110, 20}, Rgb{255, 200, 90}, (t - 0.52) / 0.48);
    });
    const TextMask tag = renderText(bold, 15, "CAPTURE  THE  FLAG", 4);
    paintText(c, tag, (width - tag.width) / 2 + 1, ty + title.height + 3, Rgb{0, 0, 0}, 0.6);
    paintText(c, tag, (width - tag.width) / 2, ty + title.height + 2, Rgb{200, 214, 255});

    // The calm panel behind the menu lines (x 100 to 420, y 160 to 395).
    c.fillRoundRect(84, 148, 436, 408, 12, Rgb{6, 8, 18}, 0.78);
    c.fillRoundRect(84, 148, 436, 151, 1.5, Rgb{120, 140, 210}, 0.7);
    c.fillRoundRect(84, 405, 436, 408, 1.5, Rgb{120, 140, 210}, 0.7);

    // On the right: a flag on its pole, waving over the field.
    const double px = 530, top = 170, foot = 372;
    c.fillEllipse(px + 2, foot + 2, 16, 4, Rgb{0, 0, 0}, 0.5);
    c.fillPolygon({{px - 2, top}, {px + 2, top}, {px + 2, foot}, {px - 2, foot}}, Rgb{196, 196, 206});
    c.fillEllipse(px, top - 2, 5, 5, Rgb{250, 200, 60});
    std::vector<Pt> cloth;
    for (int i = 0; i <= 16; ++i) {
        const double t = i / 16.0;
        cloth.push_back({px + 2 + 86 * t, top + 6 + 9 * std::sin(t * 5.5) * t});
    }
    for (int i = 16; i >= 0; --i) {
        const double t = i / 16.0;
        cloth.push_back({px + 2 + 86 * t, top + 58 + 9 * std::sin(t * 5.5 + 0.4) * t});
    }
    c.fillPolygon(cloth, [&](double x, double) {
        const double wave = 0.5 + 0.5 * std::sin((x - px) / 86 * 5.5 - 1.2);
        return mix(Rgb{150, 14, 10}, Rgb{250, 60, 40}, wave);
    });
    return c;
}
