#include "synthetic_world.hpp"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace {

constexpr u32 cell = 65536;

// World units of a position given in cells.
constexpr u32 at(double cells) {
    return static_cast<u32>(cells * cell);
}

using Corner = std::array<u32, 3>;

// Appends a polygon; its corners are reversed when needed so that the normal
// points away from `inside`.
void addFace(WorldObject& object, std::initializer_list<Corner> corners, u32 colour,
             const Texture* texture, const std::array<double, 3>& inside) {
    std::vector<Corner> c(corners);
    const auto d = [](const Corner& a, const Corner& b, int i) {
        return static_cast<double>(a[i]) - static_cast<double>(b[i]);
    };
    const double ax = d(c[1], c[0], 0), ay = d(c[1], c[0], 1), az = d(c[1], c[0], 2);
    const double bx = d(c[2], c[1], 0), by = d(c[2], c[1], 1), bz = d(c[2], c[1], 2);
    const double nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
    const double ox = c[0][0] - inside[0], oy = c[0][1] - inside[1], oz = c[0][2] - inside[2];
    if (nx * ox + ny * oy + nz * oz < 0) std::reverse(c.begin(), c.end());
    Polygon& polygon = object.polygons.emplace_back();
    for (const Corner& corner : c) {
        Vertex v;
        v.x = corner[0];
        v.y = corner[1];
        v.z = corner[2];
        polygon.vertices.push_back(v);
    }
    polygon.colour = colour;
    polygon.texture = texture;
}

std::unique_ptr<WorldObject> cuboid(u32 x1, u32 y1, u32 z1, u32 x2, u32 y2, u32 z2, u32 colour,
                                    const Texture* texture = nullptr) {
    auto object = std::make_unique<WorldObject>();
    const std::array<double, 3> c{(x1 + 0.5 * (x2 - x1)), (y1 + 0.5 * (y2 - y1)),
                                  (z1 + 0.5 * (z2 - z1))};
    addFace(*object, {{x1, y1, z2}, {x2, y1, z2}, {x2, y2, z2}, {x1, y2, z2}}, colour, texture, c);
    addFace(*object, {{x1, y1, z1}, {x1, y2, z1}, {x2, y2, z1}, {x2, y1, z1}}, colour, texture, c);
    addFace(*object, {{x1, y1, z1}, {x2, y1, z1}, {x2, y1, z2}, {x1, y1, z2}}, colour, texture, c);
    addFace(*object, {{x1, y2, z1}, {x1, y2, z2}, {x2, y2, z2}, {x2, y2, z1}}, colour, texture, c);
    addFace(*object, {{x1, y1, z1}, {x1, y1, z2}, {x1, y2, z2}, {x1, y2, z1}}, colour, texture, c);
    addFace(*object, {{x2, y1, z1}, {x2, y2, z1}, {x2, y2, z2}, {x2, y1, z2}}, colour, texture, c);
    finishObject(*object);
    return object;
}

// A flat patch a little above the ground, facing up.
std::unique_ptr<WorldObject> patch(u32 x1, u32 y1, u32 x2, u32 y2, u32 z, u32 colour,
                                   const Texture* texture) {
    auto object = std::make_unique<WorldObject>();
    addFace(*object, {{x1, y1, z}, {x2, y1, z}, {x2, y2, z}, {x1, y2, z}}, colour, texture,
            {x1 + 0.5 * (x2 - x1), y1 + 0.5 * (y2 - y1), z - 1000.0});
    finishObject(*object);
    return object;
}

// A rock: a square base, a ring turned by 45 degrees at mid-height and an apex,
// shaded smoothly.
std::unique_ptr<WorldObject> rock(u32 cx, u32 cy, u32 radius, u32 height, u32 colour) {
    auto object = std::make_unique<WorldObject>();
    const std::array<double, 3> centre{double(cx), double(cy), height * 0.4};
    const u32 r = radius, h = radius * 7 / 10;
    const Corner base[4] = {
        {cx - h, cy - h, 0}, {cx + h, cy - h, 0}, {cx + h, cy + h, 0}, {cx - h, cy + h, 0}};
    const Corner ring[4] = {{cx, cy - r, height / 2},
                            {cx + r, cy, height / 2},
                            {cx, cy + r, height / 2},
                            {cx - r, cy, height / 2}};
    const Corner apex{cx + r / 5, cy - r / 7, height};
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        addFace(*object, {base[i], base[j], ring[j]}, colour, nullptr, centre);
        addFace(*object, {base[i], ring[j], ring[i]}, colour, nullptr, centre);
        addFace(*object, {ring[i], ring[j], apex}, colour, nullptr, centre);
    }
    finishObject(*object);
    object->smooth = true;
    return object;
}

// A billboard tree authored in the x-z plane: a trunk and a two-part crown.
std::unique_ptr<WorldObject> tree(u32 x, u32 y) {
    auto object = std::make_unique<WorldObject>();
    const std::array<double, 3> behind{x + 0.0, y - 1000.0, 0.0};
    addFace(*object, {{x + 2600, y, 0}, {x + 3400, y, 0}, {x + 3400, y, 6000}, {x + 2600, y, 6000}},
            0x00604020, nullptr, behind);
    addFace(*object, {{x, y, 5000}, {x + 6000, y, 5000}, {x + 3000, y, 11000}}, 0x00208030, nullptr,
            behind);
    addFace(*object, {{x + 600, y, 9000}, {x + 5400, y, 9000}, {x + 3000, y, 15000}}, 0x0030A040,
            nullptr, behind);
    finishObject(*object);
    object->shapeKind = ShapeKind::TwoSided;
    return object;
}

// A flag: a thin pole and an owner-tinted cloth.
std::unique_ptr<WorldObject> flag(u32 x, u32 y, u16 owner) {
    auto object = cuboid(x, y, 0, x + 300, y + 300, 12000, 0x00C0C0C0);
    const std::array<double, 3> side{x + 150.0, y - 1000.0, 10000.0};
    addFace(*object,
            {{x + 300, y + 150, 8000}, {x + 3300, y + 150, 9500}, {x + 300, y + 150, 11800}},
            0x01FFFFFF, nullptr, side);
    addFace(*object,
            {{x + 300, y + 150, 8000}, {x + 300, y + 150, 11800}, {x + 3300, y + 150, 9500}},
            0x01FFFFFF, nullptr, {x + 150.0, y + 1000.0, 10000.0});
    finishObject(*object);
    object->owner = owner;
    return object;
}

std::unique_ptr<Texture> checker() {
    auto t = std::make_unique<Texture>(8, 8);
    for (u32 i = 0; i < 8; ++i)
        for (u32 j = 0; j < 8; ++j)
            t->texel(i, j) = ((i + j) % 2) ? 256 : 176;
    return t;
}

std::unique_ptr<Texture> bricks() {
    auto t = std::make_unique<Texture>(16, 8);
    for (u32 i = 0; i < 16; ++i) {
        for (u32 j = 0; j < 8; ++j) {
            const bool mortarRow = j % 4 == 3;
            const bool mortarJoint = ((i + (j / 4) * 8) % 16) == 0;
            t->texel(i, j) =
                (mortarRow || mortarJoint) ? 330 : static_cast<u16>(200 + (i * 7 + j * 13) % 56);
        }
    }
    return t;
}

std::unique_ptr<Texture> stripes() {
    auto t = std::make_unique<Texture>(4, 16);
    for (u32 i = 0; i < 4; ++i)
        for (u32 j = 0; j < 16; ++j)
            t->texel(i, j) = static_cast<u16>(180 + 60 * ((j / 2) % 2) + 4 * i);
    return t;
}

// Six by five texels: a size that is not a power of two, so the wrap divides.
std::unique_ptr<Texture> tiles() {
    auto t = std::make_unique<Texture>(6, 5);
    for (u32 i = 0; i < 6; ++i)
        for (u32 j = 0; j < 5; ++j)
            t->texel(i, j) = static_cast<u16>((i == 0 || j == 0) ? 150 : 240 + 5 * i - 3 * j);
    return t;
}

void place(SyntheticWorld& world, std::unique_ptr<WorldObject> object) {
    WorldObject& o = *object;
    for (u32 cx = cellOf(o.minX); cx <= cellOf(o.maxX); ++cx)
        for (u32 cy = cellOf(o.minY); cy <= cellOf(o.maxY); ++cy)
            if (cx < world.grid.width && cy < world.grid.height) world.grid.cellFor(cx, cy).add(&o);
    world.objects.push_back(std::move(object));
}

} // namespace

void buildSyntheticWorld(SyntheticWorld& world) {
    world.grid.resize(8, 8);
    world.textures.push_back(checker());
    world.textures.push_back(bricks());
    world.textures.push_back(stripes());
    world.textures.push_back(tiles());
    const Texture* sand = world.textures[0].get();
    const Texture* brick = world.textures[1].get();
    const Texture* wood = world.textures[2].get();
    const Texture* tile = world.textures[3].get();

    place(world, patch(at(3.7), at(3.2), at(4.6), at(3.9), 16, 0x00D8C080, sand));
    place(world, patch(at(4.7), at(3.0), at(5.4), at(4.2), 8, 0x003070C0, wood));
    place(world, patch(at(2.6), at(2.4), at(3.4), at(3.0), 12, 0x0070A050, sand));
    place(world, cuboid(at(4.2), at(3.55), 0, at(4.25), at(3.95), 30000, 0x00B04030, brick));
    place(world, cuboid(at(3.9), at(3.05), 0, at(4.6), at(3.1), 20000, 0x00906030, wood));
    place(world, cuboid(at(2.8), at(3.8), 0, at(3.3), at(3.85), 26000, 0x00A05040, tile));
    place(world, rock(at(4.1), at(3.42), 4000, 6000, 0x00808070));
    place(world, rock(at(3.1), at(3.2), 9000, 14000, 0x00706860));
    auto car = cuboid(at(3.85), at(3.6), 0, at(3.95), at(3.67), 4000, 0x01FFFFFF);
    car->owner = 2;
    place(world, std::move(car));
    place(world, tree(at(4.4), at(3.3)));
    place(world, tree(at(3.6), at(2.8)));
    place(world, flag(at(4.05), at(3.75), 1));
    // Runs from behind the eye to well in front of it, just beside it: cut at the near side.
    place(world, cuboid(at(3.2), at(3.44), 0, at(3.8), at(3.45), 2500, 0x00C0B0A0));
    place(world, cuboid(at(5.3), at(3.5), 0, at(5.4), at(3.6), 40000, 0x00FF00FF));
    place(world, cuboid(at(3.75), at(3.35), 0, at(3.8), at(3.4), 3000, 0x02F0A050));
    auto ghost = cuboid(at(3.7), at(3.48), 0, at(3.72), at(3.52), 9000, 0x00FFFF00);
    ghost->active = false;
    place(world, std::move(ghost));
}

Camera syntheticView(int view) {
    switch (view) {
    case 0:
        return Camera(at(3.5), at(3.5), 3072, 15000, 7168, 3584, 0, 131072);
    case 1:
        return Camera(at(4.9), at(3.9), 3072, 45000, 7168, 3584, 0, 131072);
    default:
        return Camera(at(3.3), at(3.1), 3072, 8000, 7168, 3584, 0, 131072);
    }
}

Camera syntheticPathCamera(int step) {
    // A slow loop around the middle of the level, turning as it goes.
    Camera camera(at(3.3), at(3.5), 3072, 16384, 7168, 3584, 0, 131072);
    for (int i = 0; i < step; ++i) {
        const i32 dx = static_cast<i32>(1200 * camera.sinHeading);
        const i32 dy = static_cast<i32>(1200 * camera.cosHeading);
        camera.moveAndTurn(dx, dy, 300);
    }
    return camera;
}

void finishObject(WorldObject& object) {
    bool first = true;
    for (const Polygon& polygon : object.polygons) {
        for (const Vertex& v : polygon.vertices) {
            if (first) {
                object.minX = object.maxX = v.x;
                object.minY = object.maxY = v.y;
                first = false;
            }
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
