#include "sim/placement.hpp"

#include <cmath>

namespace {

// A coordinate cut toward zero, or nothing when it has no unsigned 32-bit value.
std::optional<u32> toWorldCoordinate(f32 value) {
    if (!(value > -1.0f && value < 4294967296.0f)) { // also refuses not-a-number
        return std::nullopt;
    }
    return static_cast<u32>(value);
}

} // namespace

std::optional<WorldPoint> pointAlongHeading(const Camera& camera, f32 distance) {
    const auto x = toWorldCoordinate(static_cast<f32>(camera.x) + camera.sinHeading * distance);
    const auto y = toWorldCoordinate(static_cast<f32>(camera.y) + camera.cosHeading * distance);
    if (!x || !y) {
        return std::nullopt;
    }
    return WorldPoint{*x, *y};
}

std::optional<Box> FreePlace(const WorldGrid& grid, const WorldObject& object, WorldPoint centre) {
    const i64 hw = halfSizeOf(object.minX, object.maxX);
    const i64 hh = halfSizeOf(object.minY, object.maxY);
    const i64 minX = i64{centre.x} - hw;
    const i64 minY = i64{centre.y} - hh;
    const i64 maxX = i64{centre.x} + hw;
    const i64 maxY = i64{centre.y} + hh;
    // Off the near edges or past the far ones: nothing may lie outside the grid.
    // (A box ending exactly on the far edge is allowed; its last cell is the grid's.)
    if (minX < 0 || minY < 0 || maxX > (i64{grid.width} << 16) || maxY > (i64{grid.height} << 16)) {
        return std::nullopt;
    }
    const Box candidate{static_cast<u32>(minX), static_cast<u32>(minY), static_cast<u32>(maxX),
                        static_cast<u32>(maxY)};
    if (!FindTouching(grid, candidate, &object).empty()) {
        return std::nullopt;
    }
    return candidate;
}

void PlaceObject(WorldGrid& grid, WorldObject& object, const Box& box) {
    translate(object, box.minX - object.minX, box.minY - object.minY);
    setBox(object, box);
    CoverCells(grid, object);
}
