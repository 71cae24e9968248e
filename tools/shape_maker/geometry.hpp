#pragma once
// Exact integer vectors for building shapes: object definitions hold unsigned
// world units, and exact arithmetic keeps coplanar faces coplanar.
#include <cstdint>

struct V3 {
    std::int64_t x = 0, y = 0, z = 0;
    friend bool operator==(const V3&, const V3&) = default;
};

inline V3 operator+(V3 a, V3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline V3 operator-(V3 a, V3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline V3 operator*(V3 a, std::int64_t k) {
    return {a.x * k, a.y * k, a.z * k};
}
inline std::int64_t dot(V3 a, V3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline V3 cross(V3 a, V3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline bool operator<(const V3& a, const V3& b) {
    if (a.x != b.x) return a.x < b.x;
    if (a.y != b.y) return a.y < b.y;
    return a.z < b.z;
}
