#include "tests/support/synthetic_world.hpp"

#include <algorithm>

namespace {

// World units of a position given in cells.
constexpr u32 at(double cells) {
    return static_cast<u32>(cells * 65536);
}

std::unique_ptr<WorldObject> finished(std::unique_ptr<WorldObject> object) {
    finishObject(*object);
    return object;
}

// A flat patch a little above the ground, facing up.
std::unique_ptr<WorldObject> patch(u32 x1, u32 y1, u32 x2, u32 y2, u32 z, u32 colour,
                                   const Texture* texture) {
    auto object = std::make_unique<WorldObject>();
    addPolygon(*object, {{x1, y1, z}, {x2, y1, z}, {x2, y2, z}, {x1, y2, z}}, colour, texture);
    return finished(std::move(object));
}

// A smooth rock: a square base, a ring turned by 45 degrees at mid-height and an apex.
std::unique_ptr<WorldObject> rock(u32 cx, u32 cy, u32 r, u32 height, u32 colour) {
    auto object = std::make_unique<WorldObject>();
    const u32 h = r * 7 / 10, mid = height / 2;
    const Corner base[4] = {
        {cx - h, cy - h, 0}, {cx + h, cy - h, 0}, {cx + h, cy + h, 0}, {cx - h, cy + h, 0}};
    const Corner ring[4] = {{cx, cy - r, mid}, {cx + r, cy, mid}, {cx, cy + r, mid}, {cx - r, cy, mid}};
    const Corner apex{cx + r / 5, cy - r / 7, height};
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        addPolygon(*object, {base[i], base[j], ring[j]}, colour);
        addPolygon(*object, {base[i], ring[j], ring[i]}, colour);
        addPolygon(*object, {ring[i], ring[j], apex}, colour);
    }
    object = finished(std::move(object));
    object->smooth = true;
    return object;
}

// A two-sided tree authored in the x-z plane: a trunk and a two-part crown.
std::unique_ptr<WorldObject> tree(u32 x, u32 y) {
    auto object = std::make_unique<WorldObject>();
    addPolygon(*object, {{x + 2600, y, 6000}, {x + 3400, y, 6000}, {x + 3400, y, 0}, {x + 2600, y, 0}},
               0x00604020);
    addPolygon(*object, {{x + 3000, y, 11000}, {x + 6000, y, 5000}, {x, y, 5000}}, 0x00208030);
    addPolygon(*object, {{x + 3000, y, 15000}, {x + 5400, y, 9000}, {x + 600, y, 9000}}, 0x0030A040);
    object = finished(std::move(object));
    object->shapeKind = ShapeKind::TwoSided;
    return object;
}

// A flag: a thin pole and an owner-tinted cloth, one face to each side.
std::unique_ptr<WorldObject> flag(u32 x, u32 y, u16 owner) {
    auto object = makeCuboid(x, y, 0, x + 300, y + 300, 12000, 0x00C0C0C0);
    const Corner low{x + 300, y + 150, 8000}, tip{x + 3300, y + 150, 9500}, high{x + 300, y + 150, 11800};
    addPolygon(*object, {high, tip, low}, 0x01FFFFFF);
    addPolygon(*object, {tip, high, low}, 0x01FFFFFF);
    object = finished(std::move(object));
    object->owner = owner;
    return object;
}

template <class TexelOf> std::unique_ptr<Texture> makeTexture(u16 width, u16 height, TexelOf texelOf) {
    auto t = std::make_unique<Texture>(width, height);
    for (u32 i = 0; i < width; ++i)
        for (u32 j = 0; j < height; ++j) t->texel(i, j) = static_cast<u16>(texelOf(i, j));
    return t;
}

} // namespace

Polygon& addPolygon(WorldObject& object, const std::vector<Corner>& corners, u32 colour,
                    const Texture* texture) {
    Polygon& polygon = object.polygons.emplace_back();
    for (const Corner& c : corners) {
        Vertex& v = polygon.vertices.emplace_back();
        v.x = c[0];
        v.y = c[1];
        v.z = c[2];
    }
    polygon.colour = colour;
    polygon.texture = texture;
    return polygon;
}

std::unique_ptr<WorldObject> makeCuboid(u32 x1, u32 y1, u32 z1, u32 x2, u32 y2, u32 z2, u32 colour,
                                        const Texture* texture) {
    auto o = std::make_unique<WorldObject>();
    addPolygon(*o, {{x1, y1, z2}, {x2, y1, z2}, {x2, y2, z2}, {x1, y2, z2}}, colour, texture);
    addPolygon(*o, {{x1, y1, z1}, {x1, y2, z1}, {x2, y2, z1}, {x2, y1, z1}}, colour, texture);
    addPolygon(*o, {{x1, y1, z1}, {x2, y1, z1}, {x2, y1, z2}, {x1, y1, z2}}, colour, texture);
    addPolygon(*o, {{x1, y2, z1}, {x1, y2, z2}, {x2, y2, z2}, {x2, y2, z1}}, colour, texture);
    addPolygon(*o, {{x1, y1, z1}, {x1, y1, z2}, {x1, y2, z2}, {x1, y2, z1}}, colour, texture);
    addPolygon(*o, {{x2, y1, z1}, {x2, y2, z1}, {x2, y2, z2}, {x2, y1, z2}}, colour, texture);
    return finished(std::move(o));
}

void finishObject(WorldObject& object) {
    object.minX = object.minY = ~0u;
    for (const Polygon& polygon : object.polygons) {
        for (const Vertex& v : polygon.vertices) {
            object.minX = std::min(object.minX, v.x);
            object.maxX = std::max(object.maxX, v.x);
            object.minY = std::min(object.minY, v.y);
            object.maxY = std::max(object.maxY, v.y);
            object.height = std::max(object.height, v.z);
        }
    }
    computeNormals(object);
    object.active = true;
}

WorldObject& placeObject(SyntheticWorld& world, std::unique_ptr<WorldObject> object) {
    WorldObject& o = *object;
    for (u32 cx = cellOf(o.minX); cx <= cellOf(o.maxX); ++cx)
        for (u32 cy = cellOf(o.minY); cy <= cellOf(o.maxY); ++cy)
            if (cx < world.grid.width && cy < world.grid.height) world.grid.cellFor(cx, cy).add(&o);
    world.objects.push_back(std::move(object));
    return o;
}

void buildSyntheticWorld(SyntheticWorld& world) {
    world.grid.resize(8, 8);
    auto& t = world.textures;
    t.push_back(makeTexture(8, 8, [](u32 i, u32 j) { return (i + j) % 2 ? 256 : 176; }));
    t.push_back(makeTexture(16, 8, [](u32 i, u32 j) { // bricks and mortar
        return (j % 4 == 3 || (i + (j / 4) * 8) % 16 == 0) ? 330 : 200 + (i * 7 + j * 13) % 56;
    }));
    t.push_back(makeTexture(4, 16, [](u32 i, u32 j) { return 180 + 60 * ((j / 2) % 2) + 4 * i; }));
    // Six by five texels: a size that is not a power of two, so the wrap divides.
    t.push_back(
        makeTexture(6, 5, [](u32 i, u32 j) { return (i == 0 || j == 0) ? 150 : 240 + 5 * i - 3 * j; }));
    const Texture *sand = t[0].get(), *brick = t[1].get(), *wood = t[2].get(), *tile = t[3].get();
    const auto place = [&](std::unique_ptr<WorldObject> o) -> WorldObject& {
        return placeObject(world, std::move(o));
    };

    place(patch(at(3.7), at(3.2), at(4.6), at(3.9), 16, 0x00D8C080, sand));
    place(patch(at(4.7), at(3.0), at(5.4), at(4.2), 8, 0x003070C0, wood));
    place(patch(at(2.6), at(2.4), at(3.4), at(3.0), 12, 0x0070A050, sand));
    place(makeCuboid(at(4.2), at(3.55), 0, at(4.25), at(3.95), 30000, 0x00B04030, brick));
    place(makeCuboid(at(3.9), at(3.05), 0, at(4.6), at(3.1), 20000, 0x00906030, wood));
    place(makeCuboid(at(2.8), at(3.8), 0, at(3.3), at(3.85), 26000, 0x00A05040, tile));
    place(rock(at(4.1), at(3.42), 4000, 6000, 0x00808070));
    place(rock(at(3.1), at(3.2), 9000, 14000, 0x00706860));
    place(makeCuboid(at(3.85), at(3.6), 0, at(3.95), at(3.67), 4000, 0x01FFFFFF)).owner = 2;
    place(tree(at(4.4), at(3.3)));
    place(tree(at(3.6), at(2.8)));
    place(flag(at(4.05), at(3.75), 1));
    // Runs from behind the eye to well in front of it, just beside it: cut at the near side.
    place(makeCuboid(at(3.2), at(3.44), 0, at(3.8), at(3.45), 2500, 0x00C0B0A0));
    place(makeCuboid(at(5.3), at(3.5), 0, at(5.4), at(3.6), 40000, 0x00FF00FF)); // deep in fog
    place(makeCuboid(at(3.75), at(3.35), 0, at(3.8), at(3.4), 3000, 0x02F0A050));
    place(makeCuboid(at(3.7), at(3.48), 0, at(3.72), at(3.52), 9000, 0x00FFFF00)).active = false;
}

Camera syntheticView(int view) {
    const u32 x[] = {at(3.5), at(4.9), at(3.3)}, y[] = {at(3.5), at(3.9), at(3.1)};
    const u16 heading[] = {15000, 45000, 8000};
    return playerEye(x[view], y[view], heading[view]);
}

Camera syntheticPathCamera(int step) {
    // A slow loop around the middle of the level, turning as it goes.
    Camera camera = playerEye(at(3.3), at(3.5));
    for (int i = 0; i < step; ++i)
        camera.moveAndTurn(static_cast<i32>(1200 * camera.sinHeading),
                           static_cast<i32>(1200 * camera.cosHeading), 300);
    return camera;
}
