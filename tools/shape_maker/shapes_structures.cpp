#include "tools/shape_maker/shapes.hpp"
#include "tools/texture_maker/texture_numbers.hpp"

namespace {

// A wall: a box whose corners the level gives (kind 1). Each vertex triple
// selects the smaller (0) or larger (1) coordinate per axis. The sides list a
// level edge first so the texture's u runs along the wall and its courses lie
// level; the floor is left out (never seen from above the ground).
Shape wall(const char* name, const char* description, int texture, std::uint32_t colour) {
    Shape shape{name, description, 1, false, {}};
    struct Side {
        V3 a, b, c, d;
        V3 normal;
    };
    const Side sides[] = {
        {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}, {0, -1, 0}},
        {{1, 1, 0}, {0, 1, 0}, {0, 1, 1}, {1, 1, 1}, {0, 1, 0}},
        {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}, {1, 0, 0}},
        {{0, 1, 0}, {0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {-1, 0, 0}},
        {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}, {0, 0, 1}},
    };
    for (const Side& s : sides)
        shape.faces.push_back({{s.a, s.b, s.c, s.d}, texture, litColour(colour, s.normal)});
    return shape;
}

// A box part from (x0, y0, z0) to (x1, y1, z1) as a convex part.
std::vector<V3> boxPoints(V3 lo, V3 hi) {
    std::vector<V3> p;
    for (int i = 0; i < 8; ++i) p.push_back({i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z});
    return p;
}

// The headquarters: a square house in its owner's colour, 20000 across, walls
// 8000 high under a pyramid roof up to 14000, with hazard bands along the foot
// and a dark gate on every side. House and roof together are convex, so its
// faces never hide one another wrongly.
Shape hq() {
    Shape shape{"hq",
                "A player's headquarters: 20000 square, 14000 high, in the owner's colour.\n"
                "A car carrying another player's flag delivers it by touching this.",
                0,
                false,
                {}};
    std::vector<V3> points = boxPoints({0, 0, 0}, {20000, 20000, 8000});
    points.push_back({10000, 10000, 14000});
    addConvexPart(shape, points, [](std::vector<V3> face, V3 n) {
        const bool roof = n.z > 0;
        const std::uint32_t colour = roof ? ownerTint | rgb(50, 50, 60) : ownerTint | rgb(120, 120, 120);
        return Face{std::move(face), roof ? texture_number::metalPlate : texture_number::none,
                    litColour(colour, n)};
    });
    const V3 normals[] = {{0, -1, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}};
    for (const V3& n : normals) {
        const V3 centre{10000 + n.x * 10000, 10000 + n.y * 10000, 0};
        const FaceFrame frame = frameOn(centre, n);
        shape.faces.push_back({placeOutline(frame, rectOutline(0, 700, 10000, 700)),
                               texture_number::hqMarking, litColour(rgb(250, 200, 30), n)});
        shape.faces.push_back({placeOutline(frame, rectOutline(0, 3000, 2600, 3000)),
                               texture_number::metalPlate, litColour(rgb(60, 62, 70), n)});
        // A lamp above the gate in the owner's colour, bright.
        shape.faces.push_back(
            {placeOutline(frame, rectOutline(0, 6900, 1800, 350)), 0, ownerTint | rgb(255, 255, 255)});
    }
    return shape;
}

// A flag: a thin pole 11900 high (seen over every stone) with a cloth in its
// owner's colour near the top and a gold knob. Small footprint: 4000 x 500.
Shape flag() {
    Shape shape{"flag", "A player's flag: a pole 11900 high, cloth in the owner's colour.", 0, false, {}};
    // Pole: sides only, its top is under the knob.
    addConvexPart(shape, boxPoints({100, 100, 0}, {400, 400, 11500}), [](std::vector<V3> face, V3 n) {
        return Face{std::move(face), texture_number::none, litColour(rgb(190, 190, 196), n)};
    });
    std::erase_if(shape.faces, [](const Face& f) { return faceNormal(f.vertices).z != 0; });
    // Cloth: a thin slab beside the pole; its side against the pole is left out.
    Shape cloth;
    addConvexPart(cloth, boxPoints({400, 175, 8300}, {4000, 325, 11300}), [](std::vector<V3> face, V3 n) {
        return Face{std::move(face), texture_number::none, litColour(ownerTint | rgb(100, 100, 100), n)};
    });
    for (Face& f : cloth.faces)
        if (faceNormal(f.vertices).x >= 0 || faceNormal(f.vertices).y != 0 || faceNormal(f.vertices).z != 0)
            shape.faces.push_back(f);
    // A stripe on both sides of the cloth.
    for (std::int64_t side : {175, 325}) {
        const V3 n{0, side == 175 ? -1 : 1, 0};
        const FaceFrame frame = frameOn({2200, side, 9800}, n);
        shape.faces.push_back(
            {placeOutline(frame, rectOutline(0, 0, 1800, 380)), 0, litColour(rgb(250, 250, 250), n)});
    }
    addConvexPart(shape, boxPoints({0, 0, 11500}, {500, 500, 11900}), [](std::vector<V3> face, V3 n) {
        return Face{std::move(face), texture_number::none, litColour(rgb(240, 190, 40), n)};
    });
    return shape;
}

} // namespace

std::vector<Shape> structureShapes() {
    return {
        wall("brickwall", "A brick wall: a box stretched to the two corners its level entry gives.",
             texture_number::brick, rgb(206, 108, 78)),
        wall("oldbrickwall", "An old, weathered brick wall: a box stretched to its level's corners.",
             texture_number::oldBrick, rgb(176, 140, 116)),
        wall("woodwall", "A wooden fence or wall of planks: a box stretched to its level's corners.",
             texture_number::woodPlanks, rgb(186, 136, 84)),
        hq(),
        flag(),
    };
}
