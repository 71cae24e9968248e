#pragma once
// Everything in a level is a WorldObject: flat polygons in world coordinates
// (unsigned 16.16 units, one grid cell = 65536) and an axis-aligned box.
#include "base/types.hpp"

#include <memory>
#include <vector>

struct Texture;

enum class ShapeKind : u16 {
    Mesh = 0,     // a free mesh placed by offsets
    Box = 1,      // corner selectors stretched to the two corners the level gives
    TwoSided = 3, // a billboard drawn flat to the viewer, every polygon kept
};

enum class ObjectType : u16 {
    Block = 0,
    Car = 1,
    Flag = 2,
    Hq = 3,
    Mine = 4,
    Sea = 5,
    Sand = 6,
    FirePak = 7,
    MinePak = 8,
    HealthPak = 9,
    NitroPak = 10,
    Plant = 11,
    Shot = 12,
};

struct Vertex {
    u32 x = 0, y = 0, z = 0;    // world units
    f32 nx = 0, ny = 0, nz = 0; // vertex normal, not normalised
};

struct Polygon {
    std::vector<Vertex> vertices;     // in file order
    const Texture* texture = nullptr; // shared with the texture table; null = untextured
    // 0xMMRRGGBB: colour in the low 24 bits, tint marker in the top byte.
    u32 colour = 0;
    f32 nx = 0, ny = 0, nz = 0; // face normal, not normalised
};

struct WorldObject {
    std::vector<Polygon> polygons; // in file order
    u32 minX = 0, minY = 0;        // box on the ground plane
    u32 maxX = 0, maxY = 0;
    u32 height = 0; // highest z of the shape
    ShapeKind shapeKind = ShapeKind::Mesh;
    u16 owner = 0; // 1-based player number, 0 for nobody
    ObjectType type = ObjectType::Block;
    bool smooth = false; // shade with the vertex normals
    bool active = false; // false: neither drawn nor collided with
};

// An axis-aligned box on the ground plane, 16.16 world units.
struct Box {
    u32 minX = 0, minY = 0;
    u32 maxX = 0, maxY = 0;
};

inline Box boxOf(const WorldObject& object) {
    return {object.minX, object.minY, object.maxX, object.maxY};
}

inline void setBox(WorldObject& object, const Box& box) {
    object.minX = box.minX;
    object.minY = box.minY;
    object.maxX = box.maxX;
    object.maxY = box.maxY;
}

// Operations on an object's shape. None of them touches the box: callers that
// move an object update minX, minY, maxX and maxY themselves.

// Adds dx and dy to every vertex (wrapping at 32 bits).
void translate(WorldObject& object, u32 dx, u32 dy);

// Turns every vertex about the centre of the box by an angle of 65536 to the
// full turn (only the low 16 bits count). Each call truncates toward zero, so
// many small turns drift; turn by the difference of headings instead.
void rotate(WorldObject& object, u32 angle);

// An independent copy: its own polygons and vertices, the same shared textures.
std::unique_ptr<WorldObject> clone(const WorldObject& object);

// Face normals from each polygon's first three vertices, and vertex normals as
// the sum of the face normals of every polygon with a vertex at that position.
// Neither is normalised; a polygon of fewer than three vertices gets zero.
void computeNormals(WorldObject& object);
