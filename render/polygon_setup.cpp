#include "render/polygon_setup.hpp"

#include "world/texture.hpp"
#include "world/world_object.hpp"

#include <cmath>

namespace {

u32 halfChannels(u32 colour) {
    // Each 8-bit channel halved on its own: the shifted-in bit of the channel
    // above is masked off.
    return (colour >> 1) & 0x007F7F7F;
}

bool finite(const Vec3f& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

struct TextureFrame {
    u16 axis = 0;
    Vec3f origin, uAxis, vAxis;
};

f32 determinant(u16 axis, const Vec3f& u, const Vec3f& v) {
    switch (axis) {
    case 0: return u.y * v.z - v.y * u.z;
    case 1: return u.x * v.z - v.x * u.z;
    default: return u.x * v.y - v.x * u.y;
    }
}

// The texture frame of a textured polygon with at least two vertices. Its values
// are not finite when the first two vertices coincide or the normal runs along
// the first edge.
TextureFrame textureFrame(const Polygon& polygon, const WorldObject& object) {
    const Vertex& v0 = polygon.vertices[0];
    const Vertex& v1 = polygon.vertices[1];
    const f32 nx = polygon.nx, ny = polygon.ny, nz = polygon.nz;

    // u runs along the first edge, from the second vertex toward the first.
    const f32 ex = static_cast<f32>(static_cast<i32>(v0.x - v1.x));
    const f32 ey = static_cast<f32>(static_cast<i32>(v0.y - v1.y));
    const f32 ez = static_cast<f32>(static_cast<i32>(v0.z - v1.z));
    const f32 eLength = std::sqrt(ex * ex + ey * ey + ez * ez);
    const Vec3f u{ex / eLength, ey / eLength, ez / eLength};

    // v lies in the plane across u: u x n, made unit length.
    const Vec3f cross{u.y * nz - u.z * ny, u.z * nx - u.x * nz, u.x * ny - u.y * nx};
    const f32 cLength = std::sqrt(cross.x * cross.x + cross.y * cross.y + cross.z * cross.z);
    const Vec3f v{cross.x / cLength, cross.y / cLength, cross.z / cLength};

    // Project along the normal's largest whole component; a normal with every
    // component below 1 in size projects along x.
    const f32 ax = std::fabs(std::trunc(nx));
    const f32 ay = std::fabs(std::trunc(ny));
    const f32 az = std::fabs(std::trunc(nz));
    const u16 axis = (ax >= ay && ax >= az) ? 0 : (ay >= ax && ay >= az) ? 1 : 2;

    // The origin lies in the polygon's plane, anchored to the object's box and to
    // height 0, so the faces of one object share the texture's phase.
    const f32 plane = nx * static_cast<f32>(v0.x) + ny * static_cast<f32>(v0.y) + nz * static_cast<f32>(v0.z);
    Vec3f origin;
    switch (axis) {
    case 0:
        origin.y = static_cast<f32>(nx >= 0 ? object.minY : object.maxY);
        origin.x = (plane - ny * origin.y) / nx;
        break;
    case 1:
        origin.x = static_cast<f32>(ny >= 0 ? object.maxX : object.minX);
        origin.y = (plane - nx * origin.x) / ny;
        break;
    default:
        origin.x = static_cast<f32>(object.minX);
        origin.y = static_cast<f32>(object.minY);
        origin.z = (plane - nx * origin.x - ny * origin.y) / nz;
        break;
    }

    return {axis, origin, u, v};
}

} // namespace

u32 tintedColour(u32 colour, u16 owner, std::span<const u32> ownerColours) {
    const u32 marker = colour >> 24;
    if (marker == 0) {
        return colour;
    }
    if (marker == 1) {
        if (owner == 0 || owner > ownerColours.size()) {
            return colour & 0x00FFFFFF;
        }
        return halfChannels(colour) + halfChannels(ownerColours[owner - 1]);
    }
    return halfChannels(colour) + halfChannels(colour);
}

f32 frameDeterminant(const ScenePolygon& polygon) {
    return determinant(polygon.axis, polygon.uAxis, polygon.vAxis);
}

TexturePoint textureCoordinates(const ScenePolygon& polygon, f32 x, f32 y, f32 z, f32 inverseDet) {
    const Vec3f& o = polygon.origin;
    const Vec3f& u = polygon.uAxis;
    const Vec3f& v = polygon.vAxis;
    const f32 px = x - o.x, py = y - o.y, pz = z - o.z;
    // Cramer's rule in the two coordinates that remain after dropping the axis.
    switch (polygon.axis) {
    case 0: return {(py * v.z - pz * v.y) * inverseDet, (pz * u.y - py * u.z) * inverseDet};
    case 1: return {(px * v.z - pz * v.x) * inverseDet, (pz * u.x - px * u.z) * inverseDet};
    default: return {(px * v.y - py * v.x) * inverseDet, (py * u.x - px * u.y) * inverseDet};
    }
}

ScenePolygon& setUpPolygon(const Polygon& polygon, const WorldObject& object, Scene& scene) {
    ScenePolygon& screen = addPolygon(scene);
    screen.colour = tintedColour(polygon.colour, object.owner, scene.colours);
    screen.smooth = object.smooth ? 1 : 0;

    const Texture* texture = polygon.texture;
    if (texture == nullptr || polygon.vertices.size() < 2) {
        return screen;
    }
    // A texture without texels cannot be sampled; draw the polygon plain.
    if (texture->width == 0 || texture->height == 0) {
        return screen;
    }
    const TextureFrame frame = textureFrame(polygon, object);
    const f32 det = determinant(frame.axis, frame.uAxis, frame.vAxis);
    // A degenerate frame (first two vertices equal, or a normal along the first
    // edge) would sample at not-a-number coordinates: the polygon stays plain.
    if (!finite(frame.origin) || !finite(frame.uAxis) || !finite(frame.vAxis) || det == 0 ||
        !std::isfinite(det)) {
        return screen;
    }
    screen.texture = texture;
    screen.axis = frame.axis;
    screen.origin = frame.origin;
    screen.uAxis = frame.uAxis;
    screen.vAxis = frame.vAxis;
    return screen;
}

namespace {

// The end of an edge at a projected point, with its texture coordinates when
// the polygon is textured (the others keep 0).
EdgeEnd edgeEnd(const ScenePolygon& polygon, const ScreenPoint& p) {
    EdgeEnd end;
    end.sx = p.sx;
    end.sy = p.sy;
    end.depth = p.depth;
    end.shade = p.shade;
    if (polygon.texture != nullptr) {
        const f32 inverseDet = 1.0f / frameDeterminant(polygon);
        const TexturePoint t = textureCoordinates(polygon, p.worldX, p.worldY, p.worldZ, inverseDet);
        end.texU = t.u;
        end.texV = t.v;
    }
    return end;
}

} // namespace

void emitEdge(ScenePolygon& polygon, const ScreenPoint& a, const ScreenPoint& b) {
    polygon.edges.push_back({edgeEnd(polygon, a), edgeEnd(polygon, b)});
}
