#include "tools/bitmap_painter/canvas.hpp"

#include <algorithm>
#include <cmath>

Canvas::Canvas(int width, int height, Rgb fillColour)
    : w(width), h(height), pixels(static_cast<size_t>(width) * height, fillColour),
      cover(static_cast<size_t>(width) * height, 0.0) {}

void Canvas::shade(const std::function<Rgb(double, double)>& colour) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) at(x, y) = colour(x + 0.5, y + 0.5);
}

void Canvas::fill(const std::function<bool(double, double)>& inside,
                  const std::function<Rgb(double, double)>& colour, double opacity, double minX, double minY,
                  double maxX, double maxY) {
    const int x0 = std::max(0, static_cast<int>(std::floor(minX))),
              y0 = std::max(0, static_cast<int>(std::floor(minY)));
    const int x1 = std::min(w - 1, static_cast<int>(std::ceil(maxX))),
              y1 = std::min(h - 1, static_cast<int>(std::ceil(maxY)));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) hits += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
            if (!hits) continue;
            const double a = opacity * hits / 16.0;
            at(x, y) = mix(at(x, y), colour(x + 0.5, y + 0.5), a);
            double& c = cover[static_cast<size_t>(y) * w + x];
            c = c + (1 - c) * a;
        }
}

bool insidePolygon(const std::vector<Pt>& p, double x, double y) {
    bool in = false;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        if ((p[i].y > y) != (p[j].y > y) && x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x)
            in = !in;
    }
    return in;
}

void Canvas::fillPolygon(const std::vector<Pt>& polygon, const std::function<Rgb(double, double)>& colour,
                         double opacity) {
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    for (const Pt& p : polygon)
        minX = std::min(minX, p.x), minY = std::min(minY, p.y), maxX = std::max(maxX, p.x),
        maxY = std::max(maxY, p.y);
    fill([&](double x, double y) { return insidePolygon(polygon, x, y); }, colour, opacity, minX, minY, maxX,
         maxY);
}

void Canvas::fillPolygon(const std::vector<Pt>& polygon, Rgb colour, double opacity) {
    fillPolygon(
        polygon, [colour](double, double) { return colour; }, opacity);
}

void Canvas::fillEllipse(double cx, double cy, double rx, double ry, Rgb colour, double opacity) {
    fill([&](double x, double y) { return std::pow((x - cx) / rx, 2) + std::pow((y - cy) / ry, 2) <= 1; },
         [colour](double, double) { return colour; }, opacity, cx - rx, cy - ry, cx + rx, cy + ry);
}

void Canvas::fillRoundRect(double x0, double y0, double x1, double y1, double r,
                           const std::function<Rgb(double, double)>& colour, double opacity) {
    fill(
        [&](double x, double y) {
            if (x < x0 || x > x1 || y < y0 || y > y1) return false;
            const double dx = std::max({x0 + r - x, 0.0, x - (x1 - r)}),
                         dy = std::max({y0 + r - y, 0.0, y - (y1 - r)});
            return dx * dx + dy * dy <= r * r;
        },
        colour, opacity, x0, y0, x1, y1);
}

void Canvas::fillRoundRect(double x0, double y0, double x1, double y1, double r, Rgb colour, double opacity) {
    fillRoundRect(
        x0, y0, x1, y1, r, [colour](double, double) { return colour; }, opacity);
}

void Canvas::stroke(Pt a, Pt b, double thickness, Rgb colour, double opacity) {
    const double half = thickness / 2;
    fill(
        [&](double x, double y) {
            const double vx = b.x - a.x, vy = b.y - a.y;
            const double len2 = vx * vx + vy * vy;
            const double t = len2 > 0 ? std::clamp(((x - a.x) * vx + (y - a.y) * vy) / len2, 0.0, 1.0) : 0;
            const double dx = a.x + t * vx - x, dy = a.y + t * vy - y;
            return dx * dx + dy * dy <= half * half;
        },
        [colour](double, double) { return colour; }, opacity, std::min(a.x, b.x) - half,
        std::min(a.y, b.y) - half, std::max(a.x, b.x) + half, std::max(a.y, b.y) + half);
}
