#pragma once
// Shared pieces of the renderer tests: a 24-bit memory frame made current, and
// small world objects built in code.
#include "synthetic_world.hpp"
#include "base/types.hpp"
#include "gfx/device_context.hpp"
#include "gfx/gfx_state.hpp"
#include "gfx/primitives.hpp"
#include "render/camera.hpp"
#include "render/screen_info.hpp"
#include "world/world_object.hpp"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <memory>

struct Rgb {
    u32 red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

// One world cell in world units.
inline constexpr u32 cell = 65536;

// The camera every player gets: eye 3072 up, the standard view angles and depth range.
inline Camera standardCamera(u32 x, u32 y, u16 heading) {
    return Camera(x, y, 3072, heading, 7168, 3584, 0, 131072);
}

inline ScreenInfo screenOf(u16 width, u16 height) {
    ScreenInfo screen;
    screen.maxX = static_cast<u16>(width - 1);
    screen.maxY = static_cast<u16>(height - 1);
    return screen;
}

// A test with a 24-bit frame of the given size as the current context.
class FrameTest : public ::testing::Test {
  protected:
    void useFrame(i32 width, i32 height) {
        frame = createMemoryContext(width, height, 24);
        ASSERT_TRUE(frame);
        makeCurrentContext(frame.get());
    }
    void TearDown() override { resetGfx(); }

    Rgb pixel(i32 x, i32 y) const {
        const u32 value = readPixel(*frame, x, y);
        return {(value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF};
    }

    // Paints the whole frame one colour, so that untouched pixels show.
    void paintFrame(u8 r, u8 g, u8 b) {
        setColorRGB(r, g, b);
        for (i32 y = 0; y <= getMaxY(*frame); ++y)
            for (i32 x = 0; x <= getMaxX(*frame); ++x)
                drawPixel(x, y);
    }

    std::unique_ptr<DeviceContext> frame;
};

using Corner = std::array<u32, 3>;

// Appends a polygon with the given corners (counter-clockwise seen from the side
// it faces).
inline Polygon& addPolygon(WorldObject& object, std::initializer_list<Corner> corners, u32 colour,
                           const Texture* texture = nullptr) {
    Polygon& polygon = object.polygons.emplace_back();
    for (const Corner& c : corners) {
        Vertex v;
        v.x = c[0];
        v.y = c[1];
        v.z = c[2];
        polygon.vertices.push_back(v);
    }
    polygon.colour = colour;
    polygon.texture = texture;
    return polygon;
}

// A cuboid [x1, x2] x [y1, y2] x [z1, z2] with its six faces turned outward.
std::unique_ptr<WorldObject> makeCuboid(u32 x1, u32 y1, u32 z1, u32 x2, u32 y2, u32 z2, u32 colour,
                                        const Texture* texture = nullptr);

// 64-bit FNV-1a of the frame's visible bytes, row by row.
u64 frameHash(const DeviceContext& frame);
