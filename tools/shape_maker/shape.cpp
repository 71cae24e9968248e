#include "tools/shape_maker/shape.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

// Where the sun stands; any fixed direction works, since the picture on screen
// is the same from every side of the field.
constexpr double sunX = 0.42, sunY = 0.30, sunZ = 0.86;

int scaled(int channel, double k) {
    return std::clamp(static_cast<int>(std::lround(channel * k)), 0, 255);
}

} // namespace

std::uint32_t litColour(std::uint32_t colour, V3 normal) {
    const double len = std::sqrt(static_cast<double>(dot(normal, normal)));
    const double sunLen = std::sqrt(sunX * sunX + sunY * sunY + sunZ * sunZ);
    const double facing = (normal.x * sunX + normal.y * sunY + normal.z * sunZ) / (len * sunLen);
    // Faces away from the sun keep 58% (sky light), full sun gives 100%.
    const double k = 0.58 + 0.42 * std::max(0.0, facing);
    const int r = scaled(colour >> 16 & 0xFF, k), g = scaled(colour >> 8 & 0xFF, k),
              b = scaled(colour & 0xFF, k);
    return (colour & 0xFF000000u) | rgb(r, g, b);
}

FaceFrame frameOn(V3 centre, V3 normal) {
    const V3 up = normal.z != 0 ? V3{0, 1, 0} : V3{0, 0, 1};
    // right = up x normal gives right x up = normal for unit axes.
    return {centre, cross(up, normal), up};
}

std::vector<V3> placeOutline(const FaceFrame& frame, const Outline& outline) {
    std::vector<V3> points;
    for (const auto& [s, t] : outline) points.push_back(frame.origin + frame.right * s + frame.up * t);
    // Face out like the face it is painted on, whichever way the outline runs.
    if (dot(faceNormal(points), cross(frame.right, frame.up)) < 0) std::reverse(points.begin(), points.end());
    return points;
}

Outline rectOutline(std::int64_t cx, std::int64_t cy, std::int64_t halfW, std::int64_t halfH) {
    return {{cx - halfW, cy - halfH},
            {cx + halfW, cy - halfH},
            {cx + halfW, cy + halfH},
            {cx - halfW, cy + halfH}};
}

Outline regularOutline(std::int64_t cx, std::int64_t cy, std::int64_t radius, int corners,
                       double startAngle) {
    Outline outline;
    for (int i = 0; i < corners; ++i) {
        const double a = startAngle + 6.283185307179586 * i / corners;
        outline.push_back({cx + std::llround(radius * std::cos(a)), cy + std::llround(radius * std::sin(a))});
    }
    return outline;
}

std::vector<V3> facing(std::vector<V3> polygon, V3 outward) {
    if (dot(faceNormal(polygon), outward) < 0) std::reverse(polygon.begin(), polygon.end());
    return polygon;
}

std::vector<V3> insetFace(const std::vector<V3>& face, double keep) {
    double cx = 0, cy = 0, cz = 0;
    for (const V3& v : face) cx += v.x, cy += v.y, cz += v.z;
    cx /= face.size(), cy /= face.size(), cz /= face.size();
    std::vector<V3> out;
    for (const V3& v : face)
        out.push_back({std::llround(cx + (v.x - cx) * keep), std::llround(cy + (v.y - cy) * keep),
                       std::llround(cz + (v.z - cz) * keep)});
    return out;
}

bool writeShape(const std::string& directory, const Shape& shape) {
    for (const Face& face : shape.faces) {
        if (face.vertices.size() < 3)
            throw std::logic_error(shape.name + ": face with fewer than 3 vertices");
        for (const V3& v : face.vertices)
            if (v.x < 0 || v.y < 0 || v.z < 0 || v.x > 0x7FFFFFFF || v.y > 0x7FFFFFFF || v.z > 0x7FFFFFFF)
                throw std::logic_error(shape.name + ": offset outside the unsigned range");
        if (faceNormal(face.vertices) == V3{}) throw std::logic_error(shape.name + ": face without normal");
    }
    const std::string path = directory + "/" + shape.name + ".odf";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    // Comment lines: the description, wrapped by the caller with '\n'.
    size_t start = 0;
    while (start <= shape.description.size()) {
        const size_t end = std::min(shape.description.find('\n', start), shape.description.size());
        std::fprintf(file, "/ %s\n", shape.description.substr(start, end - start).c_str());
        start = end + 1;
    }
    std::fprintf(file, "/ Made by tools/shape_maker. Per polygon: vertices, #, texture, colour, %%.\n");
    std::fprintf(file, "%d %d %%\n", shape.kind, shape.smooth ? 1 : 0);
    for (const Face& face : shape.faces) {
        for (const V3& v : face.vertices)
            std::fprintf(file, "%lld %lld %lld  ", static_cast<long long>(v.x), static_cast<long long>(v.y),
                         static_cast<long long>(v.z));
        if (face.colour >> 24)
            std::fprintf(file, "# %d %08X %%\n", face.texture, face.colour);
        else
            std::fprintf(file, "# %d %06X %%\n", face.texture, face.colour);
    }
    return std::fclose(file) == 0;
}
