#include "depth_reference.hpp"

#include "render/scene.hpp"
#include "render/scene_build.hpp"
#include "render/view.hpp"
#include "tests/support/reference_fill.hpp"
#include "world/world_object.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

ObjectImage emptyImage(const FrameBounds& screen) {
    ObjectImage image;
    image.width = screen.maxX + 1;
    image.rows = screen.maxY - 1;
    image.object.assign(static_cast<size_t>(image.width) * image.rows, 0);
    image.depth.assign(image.object.size(), std::numeric_limits<double>::infinity());
    return image;
}

// A point in camera space, in double precision.
struct CameraPoint {
    double lateral = 0, depth = 0, rise = 0;
};

// The reference keeps a surface down to this depth: points nearer than this
// lie off every screen edge.
constexpr double nearLimit = 1.0;
// Depths this close, relative to their size, belong to one surface.
constexpr double coincidence = 1e-7;
// A surface this much deeper, relative to the nearest one, is clearly behind it.
constexpr double clearlyFarther = 0.01;

// True when the polygon faces the eye, decided exactly as the front end does
// (in single precision), so that both draw the same polygons. A polygon without
// area, or seen edge-on through the eye, faces nowhere.
bool facesEye(const Polygon& polygon, const Camera& camera) {
    const Vertex& v0 = polygon.vertices.front();
    const f32 dx = worldDelta(v0.x, camera.x);
    const f32 dy = worldDelta(v0.y, camera.y);
    const f32 dz = worldDelta(v0.z, camera.z);
    const f32 nx = polygon.nx, ny = polygon.ny, nz = polygon.nz;
    const f32 cosine = (dx * nx + dy * ny + dz * nz) /
                       std::sqrt((dx * dx + dy * dy + dz * dz) * (nx * nx + ny * ny + nz * nz));
    return cosine < 0;
}

// The camera-space corners of a polygon. A two-sided object stands flat to the
// view at its box centre: its x offsets are laid across the view unturned.
std::vector<CameraPoint> cameraPolygon(const WorldObject& object, const Polygon& polygon,
                                       const Camera& camera) {
    const double sine = camera.sinHeading, cosine = camera.cosHeading;
    const bool billboard = object.shapeKind == ShapeKind::TwoSided;
    const i64 centreX = (i64{object.minX} + object.maxX) / 2;
    const i64 centreY = (i64{object.minY} + object.maxY) / 2;
    const double cdx = static_cast<double>(centreX - i64{camera.x});
    const double cdy = static_cast<double>(centreY - i64{camera.y});
    std::vector<CameraPoint> points;
    for (const Vertex& v : polygon.vertices) {
        CameraPoint p;
        if (billboard) {
            p.lateral = cdx * cosine - cdy * sine + static_cast<double>(i64{v.x} - centreX);
            p.depth = cdx * sine + cdy * cosine;
        } else {
            const double dx = static_cast<double>(i64{v.x} - i64{camera.x});
            const double dy = static_cast<double>(i64{v.y} - i64{camera.y});
            p.lateral = dx * cosine - dy * sine;
            p.depth = dx * sine + dy * cosine;
        }
        p.rise = static_cast<double>(i64{v.z} - i64{camera.z});
        points.push_back(p);
    }
    return points;
}

// The part of a convex polygon at depth nearLimit or more.
std::vector<CameraPoint> cutAtNearLimit(const std::vector<CameraPoint>& polygon) {
    std::vector<CameraPoint> kept;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const CameraPoint& a = polygon[i];
        const CameraPoint& b = polygon[(i + 1) % polygon.size()];
        const bool aIn = a.depth >= nearLimit, bIn = b.depth >= nearLimit;
        if (aIn) kept.push_back(a);
        if (aIn != bIn) {
            const double t = (nearLimit - a.depth) / (b.depth - a.depth);
            kept.push_back(
                {a.lateral + (b.lateral - a.lateral) * t, nearLimit, a.rise + (b.rise - a.rise) * t});
        }
    }
    return kept;
}

struct ScreenCorner {
    double sx = 0, sy = 0;
};

// The pixels of one polygon, each with the depth of the polygon's plane along
// the pixel's ray. Rows as the fill takes them: from the truncated top row to
// the truncated bottom row, each row's span where the row's line crosses the
// polygon (held inside the polygon's rows), columns from the span's left end
// to its right end, both included.
class ReferenceScan {
  public:
    ReferenceScan(const Camera& camera, const FrameBounds& screen)
        : view_(viewConstants(camera, screen.maxX, screen.maxY)), width_(screen.maxX + 1),
          rows_(screen.maxY - 1) {
        horizon_ = static_cast<double>(view_.maxY) - view_.rowsBelow;
    }

    template <typename Plot> void scan(const std::vector<CameraPoint>& corners, Plot&& plot) const {
        const std::vector<CameraPoint> kept = cutAtNearLimit(corners);
        if (kept.size() < 3) return;
        // The plane n . p = c through the corners (Newell's sum, exact for flat
        // polygons and sensible for nearly flat ones).
        double nl = 0, nd = 0, nr = 0, cl = 0, cd = 0, cr = 0;
        for (size_t i = 0; i < corners.size(); ++i) {
            const CameraPoint& a = corners[i];
            const CameraPoint& b = corners[(i + 1) % corners.size()];
            nl += (a.depth - b.depth) * (a.rise + b.rise);
            nd += (a.rise - b.rise) * (a.lateral + b.lateral);
            nr += (a.lateral - b.lateral) * (a.depth + b.depth);
            cl += a.lateral, cd += a.depth, cr += a.rise;
        }
        // A polygon without area is no surface: it covers nothing.
        if (!(nl * nl + nd * nd + nr * nr > 0)) return;
        const double c = (nl * cl + nd * cd + nr * cr) / static_cast<double>(corners.size());
        std::vector<ScreenCorner> screen;
        double top = std::numeric_limits<double>::infinity(), bottom = -top;
        double nearest = top, farthest = bottom;
        for (const CameraPoint& p : kept) {
            const double sx = view_.centreX - view_.focal * p.lateral / p.depth;
            const double sy = horizon_ - view_.focal * p.rise / p.depth;
            screen.push_back({sx, sy});
            top = std::min(top, sy);
            bottom = std::max(bottom, sy);
            nearest = std::min(nearest, p.depth);
            farthest = std::max(farthest, p.depth);
        }
        const double lastRow = std::min<double>(rows_ - 1, std::trunc(bottom));
        for (double row = std::max(0.0, std::trunc(top)); row <= lastRow; row += 1) {
            const double line = std::clamp(row, top, bottom);
            double left = std::numeric_limits<double>::infinity(), right = -left;
            for (size_t i = 0; i < screen.size(); ++i) {
                const ScreenCorner& a = screen[i];
                const ScreenCorner& b = screen[(i + 1) % screen.size()];
                if ((a.sy > line && b.sy > line) || (a.sy < line && b.sy < line)) continue;
                if (a.sy == b.sy) {
                    left = std::min({left, a.sx, b.sx});
                    right = std::max({right, a.sx, b.sx});
                    continue;
                }
                const double x = a.sx + (b.sx - a.sx) * (line - a.sy) / (b.sy - a.sy);
                left = std::min(left, x);
                right = std::max(right, x);
            }
            if (!(left <= right)) continue;
            const double first = std::max(0.0, std::floor(left));
            const double last = std::min<double>(width_ - 1, std::floor(right));
            // Along the ray through screen point (x, y) the plane is met at
            // depth c / (n . (a, 1, b)), with a, b the ray's lateral and rise per depth.
            const auto depthAt = [&](double x, double y) {
                const double a = (view_.centreX - x) / view_.focal;
                const double b = (horizon_ - y) / view_.focal;
                return c / (nl * a + nd + nr * b);
            };
            for (double column = first; column <= last; column += 1) {
                // Which surface is nearest is judged at the span's point nearest to
                // the pixel, so that every pixel the polygon covers gets a depth
                // within it.
                double depth = depthAt(std::clamp(column + 0.5, left, right), line);
                if (!std::isfinite(depth)) depth = nearest;
                // The depth at the pixel's centre, where the centre lies inside the
                // polygon: comparable between surfaces at the same pixel.
                const double centreX = column + 0.5, centreY = row + 0.5;
                const double centreDepth = inside(screen, centreX, centreY)
                                               ? depthAt(centreX, centreY)
                                               : std::numeric_limits<double>::quiet_NaN();
                plot(static_cast<size_t>(row) * width_ + static_cast<size_t>(column),
                     std::clamp(depth, nearest, farthest), centreDepth);
            }
        }
    }

  private:
    // True when (x, y) lies inside the convex screen polygon, either way round.
    static bool inside(const std::vector<ScreenCorner>& polygon, double x, double y) {
        bool left = false, right = false;
        for (size_t i = 0; i < polygon.size(); ++i) {
            const ScreenCorner& a = polygon[i];
            const ScreenCorner& b = polygon[(i + 1) % polygon.size()];
            const double side = (b.sx - a.sx) * (y - a.sy) - (b.sy - a.sy) * (x - a.sx);
            left |= side > 0;
            right |= side < 0;
        }
        return !(left && right);
    }

    ViewConstants view_;
    double horizon_ = 0;
    i32 width_ = 0, rows_ = 0;
};

// Calls `draw` with the camera-space corners and the object number of every
// polygon the front end keeps, in drawing order.
template <typename Draw>
void forEachKeptPolygon(std::span<const WorldObject* const> objects, const Camera& camera, Draw&& draw) {
    for (size_t k = 0; k < objects.size(); ++k) {
        const WorldObject& object = *objects[k];
        for (const Polygon& polygon : object.polygons) {
            if (polygon.vertices.empty()) continue;
            if (object.shapeKind != ShapeKind::TwoSided && !facesEye(polygon, camera)) continue;
            draw(cameraPolygon(object, polygon, camera), static_cast<u16>(k + 1));
        }
    }
}

} // namespace

ObjectImage painterImage(std::span<const WorldObject* const> objects, const Camera& camera,
                         const FrameBounds& screen, std::span<const u32> playerColours) {
    Scene scene;
    scene.maxX = screen.maxX;
    scene.maxY = screen.maxY;
    scene.camera = &camera;
    scene.colours = playerColours;
    const ViewConstants view = viewConstants(camera, screen.maxX, screen.maxY);
    std::vector<u16> owner;
    for (size_t k = 0; k < objects.size(); ++k) {
        addObject(*objects[k], camera, view, scene);
        owner.resize(scene.polygons.size(), static_cast<u16>(k + 1));
    }
    ObjectImage image = emptyImage(screen);
    for (size_t i = 0; i < scene.polygons.size(); ++i) {
        ScenePolygon& polygon = scene.polygons[i];
        reference::scanPolygon(polygon, screen.maxY, [&](const Span& span, i32 y) {
            SpanPixels pixels;
            if (!reference::setUpSpan(polygon, span, screen.maxX, pixels)) return;
            const i32 last =
                static_cast<i32>(std::min<f32>(std::floor(pixels.lastX), static_cast<f32>(screen.maxX)));
            for (i32 x = std::max(pixels.firstColumn, 0); x <= last; ++x)
                image.object[static_cast<size_t>(y) * image.width + x] = owner[i];
        });
    }
    return image;
}

ObjectImage depthImage(std::span<const WorldObject* const> objects, const Camera& camera,
                       const FrameBounds& screen) {
    const ReferenceScan scan(camera, screen);
    ObjectImage image = emptyImage(screen);
    std::vector<double> nearest(image.object.size(), std::numeric_limits<double>::infinity());
    forEachKeptPolygon(objects, camera, [&](const std::vector<CameraPoint>& corners, u16 id) {
        scan.scan(corners, [&](size_t i, double depth, double) {
            // Nearest wins. Surfaces that coincide (the end of one wall flush with
            // the face of the wall it joins) tie, and a tie goes to the later one,
            // as in the painter's order; the tolerance absorbs the rounding of two
            // planes computed from different corners.
            if (depth <= nearest[i] * (1 + coincidence)) {
                nearest[i] = depth;
                image.object[i] = id;
            }
        });
    });
    measureDepths(image, objects, camera, screen);
    return image;
}

void measureDepths(ObjectImage& image, std::span<const WorldObject* const> objects, const Camera& camera,
                   const FrameBounds& screen) {
    const ReferenceScan scan(camera, screen);
    std::fill(image.depth.begin(), image.depth.end(), std::numeric_limits<double>::infinity());
    forEachKeptPolygon(objects, camera, [&](const std::vector<CameraPoint>& corners, u16 id) {
        scan.scan(corners, [&](size_t i, double, double centreDepth) {
            if (image.object[i] == id && centreDepth < image.depth[i]) image.depth[i] = centreDepth;
        });
    });
}

ImageComparison compareImages(const ObjectImage& painter, const ObjectImage& reference) {
    ImageComparison result;
    result.pixels = reference.object.size();
    std::vector<u64> shownByPainter, shownByReference, coveredFromBehind;
    for (size_t i = 0; i < reference.object.size(); ++i) {
        const u16 p = painter.object[i], r = reference.object[i];
        const size_t most = std::max(p, r);
        if (most >= shownByReference.size()) {
            shownByPainter.resize(most + 1);
            shownByReference.resize(most + 1);
            coveredFromBehind.resize(most + 1);
        }
        ++shownByPainter[p];
        ++shownByReference[r];
        if (p == r) continue;
        ++result.different;
        // The painter's surface lies clearly behind the nearest one at the
        // pixel's centre (or shows nothing there: a hole). Pixels whose centre
        // lies outside either surface, at the rim of a polygon, are not judged:
        // there the fill's coverage, not the order, decides.
        const bool judged = std::isfinite(reference.depth[i]) && (p == 0 || std::isfinite(painter.depth[i]));
        if (judged && painter.depth[i] > reference.depth[i] * (1 + clearlyFarther)) {
            ++result.farther;
            ++coveredFromBehind[r];
        }
    }
    for (size_t id = 1; id < shownByReference.size(); ++id)
        if (shownByPainter[id] == 0 && coveredFromBehind[id] >= wholeObjectPixels)
            result.hiddenObjects.push_back(static_cast<u16>(id));
    return result;
}

ImageComparison compareWithReference(std::span<const WorldObject* const> objects, const Camera& camera,
                                     const FrameBounds& screen, std::span<const u32> playerColours) {
    ObjectImage painter = painterImage(objects, camera, screen, playerColours);
    measureDepths(painter, objects, camera, screen);
    return compareImages(painter, depthImage(objects, camera, screen));
}
