#pragma once
// Shared pieces of the renderer tests: the standard camera and screens, and a
// 24-bit memory frame made current.
#include "base/types.hpp"
#include "frame_bounds.hpp"
#include "gfx/device_context.hpp"
#include "gfx/gfx_state.hpp"
#include "gfx/primitives.hpp"
#include "render/scene.hpp"
#include "tests/support/rgb.hpp"
#include "tests/support/synthetic_world.hpp"
#include "world/camera.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

// One world cell in world units.
inline constexpr u32 cell = 65536;

// An edge from (sx1, sy1) to (sx2, sy2) at the given end depths; the other values
// keep their defaults.
inline ScreenEdge screenEdge(f32 sx1, f32 sy1, f32 depth1, f32 sx2, f32 sy2, f32 depth2) {
    ScreenEdge e;
    e.first.sx = sx1;
    e.first.sy = sy1;
    e.first.depth = depth1;
    e.second.sx = sx2;
    e.second.sy = sy2;
    e.second.depth = depth2;
    return e;
}

inline ScenePolygon scenePolygon(std::vector<ScreenEdge> edges, u32 colour) {
    ScenePolygon polygon;
    polygon.edges = std::move(edges);
    polygon.colour = colour;
    return polygon;
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

    Rgb pixel(i32 x, i32 y) const { return pixelAt(*frame, x, y); }

    // Paints the whole frame one colour, so that untouched pixels show.
    void paintFrame(u8 r, u8 g, u8 b) {
        setColorRGB(r, g, b);
        for (i32 y = 0; y <= getMaxY(*frame); ++y)
            for (i32 x = 0; x <= getMaxX(*frame); ++x) drawPixel(x, y);
    }

    std::unique_ptr<DeviceContext> frame;
};
