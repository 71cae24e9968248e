#include "world/object_definition.hpp"

#include "base/program_exit.hpp"
#include "world/token_reader.hpp"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

std::unique_ptr<WorldObject> newObject(ShapeKind kind, u16 owner, bool smooth) {
    auto object = std::make_unique<WorldObject>();
    object->shapeKind = kind;
    object->owner = owner;
    object->smooth = smooth;
    object->active = true;
    return object;
}

// Reads polygons up to the end of the file. Each polygon is vertex triples up to
// "#", a texture number, a colour and "%"; makeVertex turns a triple into a vertex.
template <typename MakeVertex>
std::vector<Polygon> readBody(TokenReader& reader, const TextureTable& textures, MakeVertex makeVertex) {
    std::vector<Polygon> polygons;
    u8 c = reader.skipBlanks();
    do {
        Polygon polygon;
        do {
            const u32 a = reader.getint(c);
            const u32 b = reader.getint();
            const u32 z = reader.getint();
            polygon.vertices.push_back(makeVertex(a, b, z));
            c = reader.skipBlanks();
        } while (c != '#');
        polygon.texture = textureByNumber(textures, static_cast<u16>(reader.getint()));
        polygon.colour = reader.gethex();
        if (reader.skipBlanks() != '%') {
            std::fprintf(stderr, "Error: no %% after color in %s!\n", reader.fileName().c_str());
            exitProgram(1);
        }
        polygons.push_back(std::move(polygon));
        c = reader.skipBlanks();
    } while (c != endOfFile);
    return polygons;
}

Vertex vertexAt(u32 x, u32 y, u32 z) {
    Vertex vertex;
    vertex.x = x;
    vertex.y = y;
    vertex.z = z;
    return vertex;
}

} // namespace

std::unique_ptr<WorldObject> readMesh(TokenReader& reader, u32 x, u32 y, u16 owner, bool smooth,
                                      const TextureTable& textures) {
    auto object = newObject(ShapeKind::Mesh, owner, smooth);
    u32 maxX = x, maxY = y, height = 0;
    object->polygons = readBody(reader, textures, [&](u32 a, u32 b, u32 c) {
        const Vertex vertex = vertexAt(x + a, y + b, c);
        maxX = std::max(maxX, vertex.x);
        maxY = std::max(maxY, vertex.y);
        height = std::max(height, c);
        return vertex;
    });
    object->minX = x;
    object->minY = y;
    object->maxX = maxX;
    object->maxY = maxY;
    object->height = height;
    return object;
}

std::unique_ptr<WorldObject> readBox(TokenReader& reader, u32 x1, u32 y1, u32 z1, u32 x2, u32 y2, u32 z2,
                                     u16 owner, bool smooth, const TextureTable& textures) {
    // The level may give the corners in any order.
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (z1 > z2) std::swap(z1, z2);
    auto object = newObject(ShapeKind::Box, owner, smooth);
    object->polygons = readBody(reader, textures, [&](u32 a, u32 b, u32 c) {
        return vertexAt(a ? x2 : x1, b ? y2 : y1, c ? z2 : z1);
    });
    object->minX = x1;
    object->minY = y1;
    object->maxX = x2;
    object->maxY = y2;
    object->height = z2;
    return object;
}

std::unique_ptr<WorldObject> readTwoSided(TokenReader& reader, u32 x, u32 y, u16 owner, bool smooth,
                                          const TextureTable& textures) {
    auto object = newObject(ShapeKind::TwoSided, owner, smooth);
    // The billboard turns to face the viewer, so its depth along y is taken
    // from its width along x (the x offset a), centred on y.
    u32 maxX = x, farY = y, height = 0;
    object->polygons = readBody(reader, textures, [&](u32 a, u32 b, u32 c) {
        const Vertex vertex = vertexAt(x + a, y + b, c);
        maxX = std::max(maxX, vertex.x);
        farY = std::max(farY, y + a);
        height = std::max(height, c);
        return vertex;
    });
    object->minX = x;
    object->maxX = maxX;
    object->minY = (3 * y - farY) / 2; // half the depth on each side of y, wrapping
    object->maxY = (y + farY) / 2;
    object->height = height;
    return object;
}
