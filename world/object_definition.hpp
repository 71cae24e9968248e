#pragma once
// The three readers of object definition files ("Objects\" + name + ".odf").
// Each reads the body of a definition whose header (kind, smooth, "%") the caller
// has already consumed, and returns a new active object with its polygons, box
// and height; the caller sets its type and computes its normals.
#include "base/types.hpp"
#include "world/texture.hpp"
#include "world/world_object.hpp"

#include <memory>

class TokenReader;

// A free mesh: each triple a b c is the vertex (x + a, y + b, c); the box runs
// from (x, y) to the largest vertex position.
std::unique_ptr<WorldObject> readMesh(TokenReader& reader, u32 x, u32 y, u16 owner, bool smooth,
                                      const TextureTable& textures);

// A cuboid stretched to two corners given in any order: each of a, b, c selects
// the smaller (0) or the larger (anything else) coordinate of its axis.
std::unique_ptr<WorldObject> readBox(TokenReader& reader, u32 x1, u32 y1, u32 z1, u32 x2, u32 y2, u32 z2,
                                     u16 owner, bool smooth, const TextureTable& textures);

// A billboard placed like a mesh; its footprint along y is centred on y with a
// depth equal to its extent along x, because it is always drawn facing the viewer.
std::unique_ptr<WorldObject> readTwoSided(TokenReader& reader, u32 x, u32 y, u16 owner, bool smooth,
                                          const TextureTable& textures);
