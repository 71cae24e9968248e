#include "render_test_support.hpp"

#include <algorithm>

std::unique_ptr<WorldObject> makeCuboid(u32 x1, u32 y1, u32 z1, u32 x2, u32 y2, u32 z2, u32 colour,
                                        const Texture* texture) {
    auto object = std::make_unique<WorldObject>();
    WorldObject& o = *object;
    addPolygon(o, {{x1, y1, z2}, {x2, y1, z2}, {x2, y2, z2}, {x1, y2, z2}}, colour, texture); // top
    addPolygon(o, {{x1, y1, z1}, {x1, y2, z1}, {x2, y2, z1}, {x2, y1, z1}}, colour,
               texture); // bottom
    addPolygon(o, {{x1, y1, z1}, {x2, y1, z1}, {x2, y1, z2}, {x1, y1, z2}}, colour, texture); // -y
    addPolygon(o, {{x1, y2, z1}, {x1, y2, z2}, {x2, y2, z2}, {x2, y2, z1}}, colour, texture); // +y
    addPolygon(o, {{x1, y1, z1}, {x1, y1, z2}, {x1, y2, z2}, {x1, y2, z1}}, colour, texture); // -x
    addPolygon(o, {{x2, y1, z1}, {x2, y2, z1}, {x2, y2, z2}, {x2, y1, z2}}, colour, texture); // +x
    finishObject(o);
    return object;
}

u64 frameHash(const DeviceContext& frame) {
    u64 hash = 14695981039346656037ull;
    const i32 width = frame.deviceRect.right - frame.deviceRect.left;
    const i32 height = frame.deviceRect.bottom - frame.deviceRect.top;
    const i32 bytesPerPixel = (frame.bitsPerPixel + 7) / 8;
    for (i32 y = 0; y < height; ++y) {
        const u8* row = frame.surface + static_cast<i64>(y) * frame.bytesPerLine;
        for (i32 i = 0; i < width * bytesPerPixel; ++i) {
            hash = (hash ^ row[i]) * 1099511628211ull;
        }
    }
    return hash;
}
