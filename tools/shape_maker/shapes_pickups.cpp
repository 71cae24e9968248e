#include "tools/shape_maker/shapes.hpp"
#include "tools/texture_maker/texture_numbers.hpp"

namespace {

constexpr std::int64_t crateSize = 3000;   // across
constexpr std::int64_t crateHeight = 2400; // under the eye, so its top shows

// The sign of a crate, drawn on its four sides and its top: outlines in the
// face's (s, t) frame around the face's centre, each with its colour, painted
// in order.
struct Mark {
    Outline outline;
    std::uint32_t colour;
};
using Sign = std::vector<Mark>;

// A crate in its own colour with its sign on every visible face.
Shape crate(const char* name, const char* description, std::uint32_t colour, const Sign& sign) {
    Shape shape{name, description, 0, false, {}};
    std::vector<V3> points;
    for (int i = 0; i < 8; ++i)
        points.push_back({i & 1 ? crateSize : 0, i & 2 ? crateSize : 0, i & 4 ? crateHeight : 0});
    addConvexPart(shape, points, [&](std::vector<V3> face, V3 n) {
        return Face{std::move(face), texture_number::metalPlate, litColour(colour, n)};
    });
    const std::int64_t h = crateSize / 2;
    const V3 normals[] = {{0, -1, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}};
    for (const V3& n : normals) {
        const V3 centre = n.z ? V3{h, h, crateHeight} : V3{h + n.x * h, h + n.y * h, crateHeight / 2};
        const FaceFrame frame = frameOn(centre, n);
        for (const Mark& mark : sign)
            shape.faces.push_back(
                {placeOutline(frame, mark.outline), texture_number::none, litColour(mark.colour, n)});
    }
    return shape;
}

// Ammunition: three brass shells standing side by side.
Sign shells() {
    Sign sign;
    for (std::int64_t s : {-600, 0, 600})
        sign.push_back({{{s - 200, -750}, {s + 200, -750}, {s + 200, 350}, {s, 750}, {s - 200, 350}},
                        rgb(240, 196, 60)});
    return sign;
}

// Mines: a yellow ring round a dark disc (a mine seen from above).
Sign mineMark() {
    return {{regularOutline(0, 0, 800, 8, 0.3927), rgb(250, 210, 20)},
            {regularOutline(0, 0, 480, 8, 0.3927), rgb(40, 40, 40)}};
}

// Shields: a red cross.
Sign cross() {
    return {{rectOutline(0, 0, 280, 850), rgb(220, 20, 20)}, {rectOutline(0, 0, 850, 280), rgb(220, 20, 20)}};
}

// Nitro: a lightning bolt made of two slanted bars.
Sign bolt() {
    const std::uint32_t yellow = rgb(255, 230, 40);
    return {{{{-250, 50}, {350, 850}, {650, 850}, {150, 50}}, yellow},
            {{{-150, -50}, {-650, -850}, {-350, -850}, {250, -50}}, yellow},
            {{{-450, -80}, {450, -80}, {450, 80}, {-450, 80}}, yellow}};
}

} // namespace

std::vector<Shape> pickupShapes() {
    return {
        crate("firepak", "Ammunition pick-up (+10 shots): a red crate marked with shells.", rgb(180, 50, 36),
              shells()),
        crate("minepak", "Mine pick-up (+3 mines): an olive crate marked with a mine.", rgb(92, 104, 64),
              mineMark()),
        crate("healthpak", "Shield pick-up (+4 shields): a white crate with a red cross.", rgb(236, 236, 236),
              cross()),
        crate("nitropak", "Nitro pick-up (+128 frames): a blue crate with a lightning bolt.",
              rgb(40, 84, 200), bolt()),
    };
}
