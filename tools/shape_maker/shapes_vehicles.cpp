#include "tools/shape_maker/shapes.hpp"
#include "tools/texture_maker/texture_numbers.hpp"

#include <stdexcept>

namespace {

// The eye of the player sits 3072 above the ground at the centre of its car.
constexpr V3 carEye{4000, 2500, 3072};

// The car: one convex body, so that its own camera, inside it, sees every face
// from behind and the body hides nothing of the view. Nose toward +x; side
// profile (x, z) with a low nose, a sloped windscreen, a roof and a short tail;
// the cabin is narrower than the body (tumblehome). Wheels, windows and lamps
// are painted on the body's faces and drawn after them.
Shape car() {
    Shape shape{"car",
                "A player's car: 8000 long (nose toward +x), 5000 wide, 3900 high.\n"
                "Body faces take the owner's colour; it holds its owner's eye.",
                0,
                false,
                {}};
    struct P {
        std::int64_t x, z;
        bool cabin;
    };
    // Convex: going round, every edge turns the same way (hence the fastback).
    const P profile[] = {{150, 250, false},   {7800, 250, false}, {8000, 700, false}, {8000, 1500, false},
                         {6800, 2450, false}, {4700, 3900, true}, {1600, 3900, true}, {700, 2700, false},
                         {150, 1600, false},  {0, 700, false}};
    std::vector<V3> points;
    for (const P& p : profile) {
        const std::int64_t inset = p.cabin ? 450 : 0;
        points.push_back({p.x, inset, p.z});
        points.push_back({p.x, 5000 - inset, p.z});
    }
    const std::uint32_t body = ownerTint | rgb(120, 120, 120);
    std::vector<std::vector<V3>> glass;
    addConvexPart(shape, points, [&](std::vector<V3> face, V3 n) {
        bool upper = true;
        for (const V3& v : face) upper &= v.z >= 2300;
        // The slanted faces of the cabin carry the windows.
        if (upper && !(n.x == 0 && n.y == 0)) glass.push_back(insetFace(face, 0.78));
        return Face{std::move(face), texture_number::none, litColour(body, n)};
    });
    for (auto& g : glass)
        shape.faces.push_back({g, texture_number::none, litColour(rgb(44, 62, 84), faceNormal(g))});

    // Wheels on both sides: a tyre and a hub, reaching the ground.
    for (std::int64_t side : {0, 5000}) {
        const V3 normal{0, side ? 1 : -1, 0};
        for (std::int64_t wx : {1650, 6300}) {
            const FaceFrame frame = frameOn({wx, side, 700}, normal);
            shape.faces.push_back(
                {placeOutline(frame, regularOutline(0, 0, 700, 8, 0.3927)), 0, rgb(28, 28, 30)});
            shape.faces.push_back(
                {placeOutline(frame, regularOutline(0, 0, 300, 8, 0.3927)), 0, rgb(150, 150, 156)});
        }
    }
    // Head lamps on the upright nose; tail lamps on the sloping tail, whose
    // plane runs from (0, z 700) to (150, z 1600): x = (z - 700) / 6.
    const FaceFrame nose = frameOn({8000, 2500, 1100}, {1, 0, 0});
    for (std::int64_t s : {-1600, 1600})
        shape.faces.push_back({placeOutline(nose, rectOutline(s, 0, 500, 180)), 0, rgb(250, 246, 200)});
    for (std::int64_t y : {700, 3500}) {
        const std::vector<V3> lamp = {
            {50, y, 1000}, {50, y + 800, 1000}, {100, y + 800, 1300}, {100, y, 1300}};
        shape.faces.push_back({facing(lamp, {-900, 0, 150}), 0, rgb(210, 30, 24)});
    }
    // The eye must be inside the body: every face plane has it on its inner side.
    for (const Face& f : shape.faces)
        if (dot(faceNormal(f.vertices), f.vertices[0] - carEye) <= 0)
            throw std::logic_error("car: a face can be seen from the driver's eye");
    return shape;
}

// A shot: a bright, pointed dart along +y (heading 0) at a little under eye
// height, so that a player's own shots stay in view as they fly off.
Shape shot() {
    Shape shape{"shot", "A shot: a bright dart 2400 long pointing along +y, flying 2550 high.", 0, false, {}};
    const std::vector<V3> points = {{400, 0, 2550},    {400, 2400, 2550}, {0, 1500, 2550},
                                    {800, 1500, 2550}, {400, 1500, 2200}, {400, 1500, 2900}};
    addConvexPart(shape, points, [](std::vector<V3> face, V3 n) {
        // Bright on every side: it should read as glowing, not lit.
        const std::uint32_t base = n.y > 0 ? rgb(255, 170, 50) : rgb(255, 236, 120);
        return Face{std::move(face), texture_number::none, base};
    });
    return shape;
}

// A mine: a flat dark disc well under the eye with a yellow warning ring.
Shape mine() {
    Shape shape{
        "mine", "A laid mine: a dark disc 1800 across and 260 high with a warning top.", 0, false, {}};
    std::vector<V3> points;
    for (const auto& [s, t] : regularOutline(900, 900, 900, 8, 0.3927)) {
        points.push_back({s, t, 0});
        points.push_back({s, t, 260});
    }
    addConvexPart(shape, points, [](std::vector<V3> face, V3 n) {
        return Face{std::move(face), texture_number::none, litColour(rgb(58, 58, 62), n)};
    });
    const FaceFrame top = frameOn({900, 900, 260}, {0, 0, 1});
    shape.faces.push_back({placeOutline(top, regularOutline(0, 0, 620, 8, 0.3927)), 0, rgb(240, 200, 0)});
    shape.faces.push_back({placeOutline(top, regularOutline(0, 0, 380, 8, 0.3927)), 0, rgb(40, 40, 40)});
    shape.faces.push_back({placeOutline(top, regularOutline(0, 0, 160, 8, 0.3927)), 0, rgb(230, 30, 20)});
    return shape;
}

} // namespace

std::vector<Shape> vehicleShapes() {
    return {car(), shot(), mine()};
}
