// The game's filler against the fill oracle on random input (fixed seeds, so a
// failure repeats): thousands of screen polygons of every kind — open and
// closed outlines, ends off every side and far beyond, depths behind the eye and
// past the fog, shaded, textured with sides of every size, the odd non-finite
// end — and random eyes on every shipped level. Every case must give the same
// bytes, the same colour left set and the same edges left in the polygon. The
// filler keeps its buffers from case to case, as it does from frame to frame.
#include "render/fast_fill.hpp"
#include "render_test_support.hpp"
#include "tests/support/reference_fill.hpp"
#include "world/player.hpp"
#include "world/texture.hpp"
#include "world/world.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <string>

namespace {

using Random = std::mt19937;

f32 uniform(Random& random, f32 from, f32 to) {
    return std::uniform_real_distribution<f32>(from, to)(random);
}
u32 below(Random& random, u32 n) {
    return std::uniform_int_distribution<u32>(0, n - 1)(random);
}

// A screen coordinate: mostly around the frame, sometimes far beyond it, and
// sometimes on a whole or half pixel.
f32 coordinate(Random& random, f32 size) {
    switch (below(random, 10)) {
    case 0: return uniform(random, -1e6f, 1e6f);
    case 1: return static_cast<f32>(static_cast<i32>(uniform(random, -size, 2 * size)));
    case 2: return static_cast<f32>(static_cast<i32>(uniform(random, -size, 2 * size))) + 0.5f;
    default: return uniform(random, -0.5f * size, 1.5f * size);
    }
}

EdgeEnd randomEnd(Random& random, f32 width, f32 height) {
    EdgeEnd end;
    end.sx = coordinate(random, width);
    end.sy = coordinate(random, height);
    end.depth = below(random, 8) == 0 ? uniform(random, -500, 0) : uniform(random, 0, 160000);
    end.texU = uniform(random, -300000, 300000);
    end.texV = uniform(random, -300000, 300000);
    end.shade = uniform(random, 0, 1);
    return end;
}

// A polygon's outline: a closed chain of ends, or one with gaps (as the cut at
// the near side leaves them) and now and then an end that is not a number.
std::vector<ScreenEdge> randomOutline(Random& random, f32 width, f32 height) {
    const u32 corners = 3 + below(random, 7);
    std::vector<EdgeEnd> ends;
    for (u32 k = 0; k < corners; ++k) ends.push_back(randomEnd(random, width, height));
    const bool gaps = below(random, 3) == 0;
    std::vector<ScreenEdge> edges;
    for (u32 k = 0; k < corners; ++k) {
        ScreenEdge edge{ends[k], ends[(k + 1) % corners]};
        if (gaps && below(random, 3) == 0) edge.first = randomEnd(random, width, height);
        if (gaps && below(random, 4) == 0) continue; // an edge left out altogether
        edges.push_back(edge);
    }
    if (below(random, 60) == 0 && !edges.empty()) {
        edges[below(random, static_cast<u32>(edges.size()))].second.sx =
            below(random, 2) ? std::numeric_limits<f32>::quiet_NaN() : std::numeric_limits<f32>::infinity();
    }
    return edges;
}

// One 24-bit frame per filler over the same noise.
struct Frames {
    std::unique_ptr<DeviceContext> reference, fast;
};

Frames noisyFrames(i32 width, i32 height, Random& random) {
    Frames f{createMemoryContext(width, height, 24), createMemoryContext(width, height, 24)};
    for (size_t i = 0; i < f.reference->ownedSurface.size(); i += 97) {
        const u8 value = static_cast<u8>(below(random, 256));
        f.reference->ownedSurface[i] = f.fast->ownedSurface[i] = value;
    }
    return f;
}

// Fills the polygon with both fillers (the fast one with `buffers`) and says
// what differs, or nothing.
std::string compareFills(const ScenePolygon& polygon, Frames& frames, i32 maxX, i32 maxY,
                         SceneBuffers& buffers) {
    ScenePolygon forReference = polygon, forFast = polygon;
    makeCurrentContext(frames.reference.get());
    reference::fillPolygon(forReference, maxX, maxY);
    makeCurrentContext(frames.fast.get());
    fillPolygonFast(forFast, maxX, maxY, buffers);
    makeCurrentContext(nullptr);
    if (frames.reference->ownedSurface != frames.fast->ownedSurface) return "pixels differ";
    if (frames.reference->color != frames.fast->color) return "the colour left set differs";
    if (forReference.edges.size() != forFast.edges.size()) return "a different number of edges left";
    for (size_t k = 0; k < forReference.edges.size(); ++k)
        if (std::memcmp(&forReference.edges[k], &forFast.edges[k], sizeof(ScreenEdge)) != 0)
            return "different edges left";
    return {};
}

// Fills `cases` random polygons with both fillers; the first few that differ fail.
void fillRandomPolygons(int cases) {
    Random random(20261209);
    std::vector<Texture> textures;
    for (const auto& [w, h] : {std::pair{1, 1}, {2, 8}, {3, 7}, {16, 16}, {64, 32}, {5, 64}})
        textures.emplace_back(static_cast<u16>(w), static_cast<u16>(h));
    for (Texture& t : textures)
        for (u16& texel : t.texels) texel = static_cast<u16>(below(random, 600));

    SceneBuffers buffers;
    int failures = 0;
    for (int c = 0; c < cases && failures < 5; ++c) {
        const bool large = below(random, 10) == 0;
        const i32 width = large ? 320 : 64 + static_cast<i32>(below(random, 100));
        const i32 height = large ? 240 : 48 + static_cast<i32>(below(random, 80));
        Frames frames = noisyFrames(width, height, random);
        if (below(random, 5) == 0) {
            const Rect clip{static_cast<i32>(below(random, 20)), static_cast<i32>(below(random, 20)),
                            width - static_cast<i32>(below(random, 20)),
                            height - static_cast<i32>(below(random, 20))};
            setClipRect(*frames.reference, clip);
            setClipRect(*frames.fast, clip);
        }
        ScenePolygon polygon;
        polygon.edges = randomOutline(random, static_cast<f32>(width), static_cast<f32>(height));
        polygon.colour = below(random, 0x1000000);
        polygon.smooth = below(random, 2);
        if (below(random, 2)) polygon.texture = &textures[below(random, static_cast<u32>(textures.size()))];
        // The frame's last column and row as the scene gives them, or a frame
        // smaller than the surface.
        const i32 maxX = below(random, 6) == 0 ? width / 2 : width - 1;
        const i32 maxY = below(random, 6) == 0 ? height / 2 : height - 1;
        const std::string fault = compareFills(polygon, frames, maxX, maxY, buffers);
        if (!fault.empty()) {
            ++failures;
            ADD_FAILURE() << "case " << c << ": " << fault << " (" << polygon.edges.size() << " edges, "
                          << (polygon.texture ? "textured, " : "") << (polygon.smooth ? "smooth, " : "")
                          << width << "x" << height << ")";
        }
    }
}

} // namespace

// On processors with 256-bit vectors the filler colours eight pixels at a time;
// the four-at-a-time arithmetic of the others is checked here too.
TEST(FillProperty, RandomPolygonsFillAsTheOracleDoes) {
    fillRandomPolygons(5000);
    useWideColours(false);
    fillRandomPolygons(2000);
    useWideColours(true);
}

TEST(FillProperty, RandomEyesOnEveryShippedLevelFillAsTheOracleDoes) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(TESSARON_DATA_DIR);
    loadTextures();
    Random random(7);
    SceneBuffers buffers;
    for (u16 level = 0; level <= 3; ++level) {
        loadLevel(level);
        const WorldGrid& grid = world::state.worldGrid;
        for (int view = 0; view < 60; ++view) {
            const u32 x = below(random, u32{grid.width} * 65536);
            const u32 y = below(random, u32{grid.height} * 65536);
            const Camera camera = playerEye(x, y, static_cast<u16>(below(random, 65536)));
            const i32 width = view % 3 == 0 ? 640 : 320;
            const i32 height = width * 3 / 4;
            Scene scene = buildScene(grid, camera, width - 1, height - 1, world::state.playerColours);
            Scene copy = scene;
            Frames frames = noisyFrames(width, height, random);
            makeCurrentContext(frames.reference.get());
            for (ScenePolygon& polygon : scene.polygons)
                reference::fillPolygon(polygon, width - 1, height - 1);
            makeCurrentContext(frames.fast.get());
            for (ScenePolygon& polygon : copy.polygons)
                fillPolygonFast(polygon, width - 1, height - 1, buffers);
            makeCurrentContext(nullptr);
            const std::string where = std::string(levelFileName(level)) + " eye at " + std::to_string(x) +
                                      ", " + std::to_string(y) + " heading " + std::to_string(camera.heading);
            ASSERT_EQ(frames.reference->ownedSurface, frames.fast->ownedSurface) << where;
            ASSERT_EQ(frames.reference->color, frames.fast->color) << where;
            for (size_t i = 0; i < scene.polygons.size(); ++i) {
                const auto& a = scene.polygons[i].edges;
                const auto& b = copy.polygons[i].edges;
                ASSERT_EQ(a.size(), b.size()) << where << ", polygon " << i;
                for (size_t k = 0; k < a.size(); ++k)
                    ASSERT_EQ(std::memcmp(&a[k], &b[k], sizeof(ScreenEdge)), 0) << where << ", polygon " << i;
            }
        }
        resetWorld();
    }
    resetTextures();
    std::filesystem::current_path(previous);
}
