// The fast filler against the reference: the same pixels, the same edges left
// in the polygons and the same current colour, on every test scene and on views
// of every shipped level.
#include "render/fast_fill.hpp"

#include "render/scene_fill.hpp"
#include "render_test_support.hpp"
#include "synthetic_world.hpp"
#include "sim/player.hpp"
#include "world/texture.hpp"
#include "world/world.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <limits>
#include <string>

namespace {

struct Frames {
    std::unique_ptr<DeviceContext> reference, fast;
};

Frames twoFrames(i32 width, i32 height, i32 bitsPerPixel = 24) {
    Frames f{createMemoryContext(width, height, bitsPerPixel),
             createMemoryContext(width, height, bitsPerPixel)};
    // Something other than zero underneath, so that skipped pixels show.
    std::memset(f.reference->surface, 0x5A, f.reference->ownedSurface.size());
    std::memset(f.fast->surface, 0x5A, f.fast->ownedSurface.size());
    return f;
}

// Fills every polygon of the scene (copied, as filling consumes it) with both
// fillers and expects identical results.
void expectSameFill(const Scene& scene, Frames& frames, const std::string& what) {
    const i32 maxX = scene.screen->maxX, maxY = scene.screen->maxY;
    Scene forReference = scene;
    Scene forFast = scene;
    makeCurrentContext(frames.reference.get());
    for (ScenePolygon& p : forReference.polygons)
        fillPolygon(p, maxX, maxY);
    makeCurrentContext(frames.fast.get());
    for (ScenePolygon& p : forFast.polygons)
        fillPolygonFast(p, maxX, maxY);
    makeCurrentContext(nullptr);

    ASSERT_EQ(frames.reference->ownedSurface, frames.fast->ownedSurface) << what;
    EXPECT_EQ(frames.reference->color, frames.fast->color) << what;
    for (size_t i = 0; i < forReference.polygons.size(); ++i) {
        const std::vector<ScreenEdge>& a = forReference.polygons[i].edges;
        const std::vector<ScreenEdge>& b = forFast.polygons[i].edges;
        ASSERT_EQ(a.size(), b.size()) << what << " polygon " << i;
        for (size_t k = 0; k < a.size(); ++k)
            EXPECT_EQ(std::memcmp(&a[k], &b[k], sizeof a[k]), 0);
    }
}

ScreenEdge edge(f32 sx1, f32 sy1, f32 d1, f32 sx2, f32 sy2, f32 d2) {
    ScreenEdge e;
    e.sx1 = sx1;
    e.sy1 = sy1;
    e.depth1 = d1;
    e.sx2 = sx2;
    e.sy2 = sy2;
    e.depth2 = d2;
    e.texU1 = sx1 * 37;
    e.texV1 = sy1 * -11;
    e.texU2 = sx2 * 37;
    e.texV2 = sy2 * -11;
    e.shade1 = 0.2f;
    e.shade2 = 0.9f;
    return e;
}

class FastFill : public ::testing::Test {
  protected:
    void TearDown() override { resetGfx(); }
};

} // namespace

TEST_F(FastFill, MatchesTheReferenceOnTheSyntheticLevel) {
    SyntheticWorld world;
    buildSyntheticWorld(world);
    for (const u16 width : {640, 320}) {
        const u16 height = width * 3 / 4;
        const ScreenInfo screen = screenOf(width, height);
        Frames frames = twoFrames(width, height);
        for (int view = 0; view < 3; ++view) {
            const Camera camera = syntheticView(view);
            expectSameFill(buildScene(world.grid, camera, screen, world.colours), frames,
                           "view " + std::to_string(view) + " at " + std::to_string(width));
        }
        Camera camera = syntheticPathCamera(0);
        for (int step = 0; step < 120; ++step) {
            if (step % 6 == 0) {
                expectSameFill(buildScene(world.grid, camera, screen, world.colours), frames,
                               "path step " + std::to_string(step) + " at " +
                                   std::to_string(width));
            }
            camera = syntheticPathCamera(step + 1);
        }
    }
}

TEST_F(FastFill, MatchesTheReferenceOnAwkwardPolygons) {
    Texture odd(3, 7), even(4, 2);
    for (u32 i = 0; i < 3; ++i)
        for (u32 j = 0; j < 7; ++j)
            odd.texel(i, j) = static_cast<u16>(40 * i + 30 * j + 5);
    for (u32 i = 0; i < 4; ++i)
        for (u32 j = 0; j < 2; ++j)
            even.texel(i, j) = static_cast<u16>(300 - 50 * i - 90 * j);
    const f32 nan = std::numeric_limits<f32>::quiet_NaN();

    Scene scene;
    const ScreenInfo screen = screenOf(640, 480);
    scene.screen = &screen;
    const auto add = [&](u32 colour, u32 smooth, const Texture* texture,
                         std::vector<ScreenEdge> edges) {
        ScenePolygon& p = scene.polygons.emplace_back();
        p.colour = colour;
        p.smooth = smooth;
        p.texture = texture;
        p.edges = std::move(edges);
    };
    // Reaching past every side of the frame, smooth and textured.
    add(0x00FF8040, 1, &odd,
        {edge(-300, -200, 100, 900, 50, 140000), edge(900, 50, 140000, 200, 700, -50)});
    // A gap left by the near-side cut, and a thin sliver.
    add(0x00103070, 0, &even,
        {edge(100, 100, 10, 300, 120, 5000), edge(280, 300, 80000, 90, 250, 6)});
    add(0x00FFFFFF, 1, nullptr,
        {edge(10.2f, 5.5f, 0, 10.7f, 470.5f, 131072), edge(10.7f, 470.5f, 131072, 10.5f, 5.5f, 0)});
    // Edges below the filled rows, wholly above the frame, and not finite.
    add(0x00808080, 0, nullptr, {edge(5, 478.5f, 0, 600, 479, 0), edge(600, 479, 0, 5, 478.5f, 0)});
    add(0x00808080, 0, nullptr, {edge(5, -50, 0, 600, -10, 0), edge(600, -10, 0, 5, -50, 0)});
    add(0x00C0C0C0, 1, &odd,
        {edge(50, 60, 0, nan, 90, 0), edge(70, 200, 100, 50, 60, 0),
         edge(400, 300, 0, 70, 200, 100)});
    add(0x00C0C0C0, 0, nullptr,
        {edge(-3e38f, 30, 0, 3e38f, 40, 0), edge(3e38f, 40, 0, 0, 60, 1e9f)});
    // Texture coordinates and shades far outside their usual range: the pixel
    // loop's integer cuts saturate.
    std::vector<ScreenEdge> wild{edge(100, 320, 10, 500, 330, 10),
                                 edge(500, 330, 10, 300, 420, 10)};
    wild[0].texU1 = 5e9f;
    wild[1].texV2 = -4e9f;
    add(0x00A0B0C0, 1, &even, wild);
    wild[0].shade1 = 3e7f;
    wild[1].shade2 = -2e6f;
    add(0x00A0B0C0, 1, nullptr, wild);
    // Spans right of their left ends near a vertex, and a single point.
    add(0x00406080, 0, nullptr,
        {edge(320.9f, 10.9f, 0, 330.1f, 300.2f, 9), edge(330.1f, 300.2f, 9, 310.4f, 300.7f, 0)});
    add(0x00406080, 0, nullptr, {edge(200.5f, 200.5f, 0, 200.5f, 200.5f, 0)});

    Frames frames = twoFrames(640, 480);
    expectSameFill(scene, frames, "awkward polygons");

    // A frame clipped to a smaller rectangle, and one the fast path cannot write
    // directly (32 bits per pixel).
    Frames clipped = twoFrames(640, 480);
    setClipRect(*clipped.reference, {30, 40, 500, 400});
    setClipRect(*clipped.fast, {30, 40, 500, 400});
    expectSameFill(scene, clipped, "clipped frame");
    Frames wide = twoFrames(640, 480, 32);
    expectSameFill(scene, wide, "32-bit frame");
}

TEST_F(FastFill, MatchesTheReferenceOnEveryShippedLevel) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(TESSARON_DATA_DIR);
    loadTextures();
    for (u16 level = 0; level <= 4; ++level) {
        loadLevel(level);
        for (const std::unique_ptr<Player>& player : players) {
            for (u32 turn = 0; turn < 8; ++turn) {
                const Camera camera(player->startX, player->startY, 3072,
                                    static_cast<u16>(16384 + turn * 8192), 7168, 3584, 0, 131072);
                for (const u16 width : {640, 320}) {
                    const ScreenInfo screen = screenOf(width, width * 3 / 4);
                    Frames frames = twoFrames(width, width * 3 / 4);
                    expectSameFill(buildScene(worldGrid, camera, screen, playerColours), frames,
                                   std::string(levelFileName(level)) + " heading " +
                                       std::to_string(camera.heading));
                }
            }
        }
        resetWorld();
    }
    resetTextures();
    std::filesystem::current_path(previous);
}
