#pragma once
// A picture being painted: linear RGB in 0..255 floats plus a coverage mask,
// with anti-aliased shapes (4 x 4 samples per pixel).
#include <functional>
#include <vector>

struct Rgb {
    double r = 0, g = 0, b = 0;
};

inline Rgb mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

struct Pt {
    double x, y;
};

class Canvas {
  public:
    Canvas(int width, int height, Rgb fill = {});

    int width() const { return w; }
    int height() const { return h; }
    Rgb& at(int x, int y) { return pixels[static_cast<size_t>(y) * w + x]; }
    const Rgb& at(int x, int y) const { return pixels[static_cast<size_t>(y) * w + x]; }
    // How much of the pixel the painted shapes cover (0..1); the cockpit uses it
    // to tell its panels from the see-through view.
    double coverage(int x, int y) const { return cover[static_cast<size_t>(y) * w + x]; }

    // Paints every pixel with colour(x, y) (pixel centres at +0.5).
    void shade(const std::function<Rgb(double x, double y)>& colour);

    // Fills the region where inside(x, y) holds, anti-aliased, with
    // colour(x, y) at `opacity`.
    void fill(const std::function<bool(double, double)>& inside,
              const std::function<Rgb(double, double)>& colour, double opacity = 1.0, double minX = -1e9,
              double minY = -1e9, double maxX = 1e9, double maxY = 1e9);

    void fillPolygon(const std::vector<Pt>& polygon, Rgb colour, double opacity = 1.0);
    void fillPolygon(const std::vector<Pt>& polygon, const std::function<Rgb(double, double)>& colour,
                     double opacity = 1.0);
    void fillEllipse(double cx, double cy, double rx, double ry, Rgb colour, double opacity = 1.0);
    void fillRoundRect(double x0, double y0, double x1, double y1, double radius, Rgb colour,
                       double opacity = 1.0);
    void fillRoundRect(double x0, double y0, double x1, double y1, double radius,
                       const std::function<Rgb(double, double)>& colour, double opacity = 1.0);
    // A line of `thickness` from a to b with round ends.
    void stroke(Pt a, Pt b, double thickness, Rgb colour, double opacity = 1.0);

  private:
    int w, h;
    std::vector<Rgb> pixels;
    std::vector<double> cover;
};

// Polygon containment by the even-odd rule.
bool insidePolygon(const std::vector<Pt>& polygon, double x, double y);
