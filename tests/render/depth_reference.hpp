#pragma once
// Which object every pixel of a view shows, found two ways: by the game's own
// painter's drawing (its draw order and the filler's coverage), and by a
// depth-buffered reference drawn from the same objects and polygons, cut at
// the near side in camera space, with the nearest surface winning every pixel.
// Where the two disagree, the painter's order (or its front end) is wrong.
#include "base/types.hpp"
#include "frame_bounds.hpp"
#include "world/camera.hpp"

#include <span>
#include <vector>

struct WorldObject;

// One entry per view pixel (rows 0 to maxY - 2, the rows the fill draws): 0 for
// the background, k + 1 for the object at index k of the scene's objects; and
// the depth of the shown object's nearest surface along the ray through the
// pixel's centre (infinite where that ray meets none of the object's polygons,
// and in a painter's image until measured).
struct ObjectImage {
    i32 width = 0, rows = 0;
    std::vector<u16> object;
    std::vector<double> depth;
    u16 at(i32 x, i32 y) const { return object[static_cast<size_t>(y) * width + x]; }
};

// The painter's result: every object's screen polygons from the game's front
// end, in the given order, each pixel owned by the last polygon whose fill
// covers it.
ObjectImage painterImage(std::span<const WorldObject* const> objects, const Camera& camera,
                         const FrameBounds& screen, std::span<const u32> playerColours);

// The reference: the same objects and the same kept polygons, each pixel owned
// by the object whose surface is nearest along the pixel's ray. Spans follow
// the fill's row convention, so that only visibility can differ.
ObjectImage depthImage(std::span<const WorldObject* const> objects, const Camera& camera,
                       const FrameBounds& screen);

// Fills in the depths of an image from the objects it shows.
void measureDepths(ObjectImage& image, std::span<const WorldObject* const> objects, const Camera& camera,
                   const FrameBounds& screen);

struct ImageComparison {
    u64 pixels = 0;    // view pixels compared
    u64 different = 0; // pixels that show another object than the reference
    u64 farther = 0;   // of those, pixels whose shown surface is clearly behind the nearest
    // Objects the reference shows of which the painter shows nothing, with at
    // least `wholeObjectPixels` pixels covered by something clearly farther.
    std::vector<u16> hiddenObjects;
};

inline constexpr u64 wholeObjectPixels = 16;

// Compares a painter's image, its depths measured, with the reference.
ImageComparison compareImages(const ObjectImage& painter, const ObjectImage& reference);

// The whole comparison of one view of the objects, in the order given.
ImageComparison compareWithReference(std::span<const WorldObject* const> objects, const Camera& camera,
                                     const FrameBounds& screen, std::span<const u32> playerColours);
