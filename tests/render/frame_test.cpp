// Whole frames. The synthetic level's frames are exact: every pixel the renderer
// writes, compared through a 64-bit FNV-1a hash of the frame bytes. And the fast
// filler matches the reference one: the same pixels, the same edges left in the
// polygons and the same current colour, on every test scene and on views of every
// shipped level.
//
// After a deliberate change to the renderer's output, regenerate the hashes with
//     TESSARON_UPDATE_GOLDEN=1 ./build/tests/render/render_tests --gtest_filter='GoldenFrame*'
// which prints the new table to paste below.
#include "render/fast_fill.hpp"
#include "render/scene_fill.hpp"
#include "render_test_support.hpp"
#include "tests/support/reference_fill.hpp"
#include "tests/support/run_directory.hpp"
#include "world/player.hpp"
#include "world/world.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>

namespace {

const struct GoldenCase {
    const char* name;
    int view;
    u16 width, height;
    u32 renderToggle;
    u64 hash;
} goldenCases[] = {
    {"view0_640_fill", 0, 640, 480, 0, 0xd5042ecbdfda8309ull},
    {"view0_640_outline", 0, 640, 480, 1, 0x2ebd26b9d8ef1322ull},
    {"view0_320_fill", 0, 320, 240, 0, 0x5248fca050011b88ull},
    {"view0_320_outline", 0, 320, 240, 1, 0xc1d1c0a668b88b9cull},
    {"view1_640_fill", 1, 640, 480, 0, 0xd991b84129e5929full},
    {"view1_320_fill", 1, 320, 240, 0, 0xc3b48fc6dd3f8ca4ull},
    {"view2_640_fill", 2, 640, 480, 0, 0x61ed66e4f66aae98ull},
    {"view2_320_outline", 2, 320, 240, 1, 0xacd54df7b6586640ull},
};

// 64-bit FNV-1a of the frame's visible bytes, row by row.
u64 frameHash(const DeviceContext& frame) {
    u64 hash = 14695981039346656037ull;
    for (i32 y = 0; y < frame.deviceRect.bottom; ++y)
        for (i32 i = 0; i < frame.deviceRect.right * 3; ++i)
            hash = (hash ^ frame.surface[y * frame.bytesPerLine + i]) * 1099511628211ull;
    return hash;
}

class GoldenFrame : public FrameTest {};

// Fills every polygon of the scene (copied, as filling consumes it) with both
// fillers into frames of the given size and expects identical results.
void expectSameFill(const Scene& scene, i32 width, i32 height, const std::string& what, i32 bitsPerPixel = 24,
                    const Rect* clip = nullptr) {
    Scene scenes[2] = {scene, scene};
    std::unique_ptr<DeviceContext> frames[2];
    for (int k = 0; k < 2; ++k) {
        frames[k] = createMemoryContext(width, height, bitsPerPixel);
        // Something other than zero underneath, so that skipped pixels show.
        std::memset(frames[k]->surface, 0x5A, frames[k]->ownedSurface.size());
        if (clip != nullptr) setClipRect(*frames[k], *clip);
        makeCurrentContext(frames[k].get());
        for (ScenePolygon& p : scenes[k].polygons) {
            if (k == 0)
                reference::fillPolygon(p, scene.maxX, scene.maxY);
            else
                fillPolygonFast(p, scene.maxX, scene.maxY, scenes[k].buffers);
        }
    }
    makeCurrentContext(nullptr);
    ASSERT_EQ(frames[0]->ownedSurface, frames[1]->ownedSurface) << what;
    EXPECT_EQ(frames[0]->color, frames[1]->color) << what;
    for (size_t i = 0; i < scene.polygons.size(); ++i) {
        const std::vector<ScreenEdge>& a = scenes[0].polygons[i].edges;
        const std::vector<ScreenEdge>& b = scenes[1].polygons[i].edges;
        ASSERT_EQ(a.size(), b.size()) << what << " polygon " << i;
        for (size_t k = 0; k < a.size(); ++k) // bitwise, so that NaN ends compare too
            EXPECT_EQ(std::memcmp(&a[k], &b[k], sizeof(ScreenEdge)), 0) << what << " polygon " << i;
    }
}

// An edge whose texture coordinates and shade vary along it.
ScreenEdge edge(f32 sx1, f32 sy1, f32 d1, f32 sx2, f32 sy2, f32 d2) {
    ScreenEdge e = screenEdge(sx1, sy1, d1, sx2, sy2, d2);
    e.first.texU = sx1 * 37;
    e.first.texV = sy1 * -11;
    e.second.texU = sx2 * 37;
    e.second.texV = sy2 * -11;
    e.first.shade = 0.2f;
    e.second.shade = 0.9f;
    return e;
}

class FastFill : public FrameTest {};

} // namespace

TEST_F(GoldenFrame, SyntheticLevelFramesAreExact) {
    SyntheticWorld world;
    buildSyntheticWorld(world);
    const bool update = std::getenv("TESSARON_UPDATE_GOLDEN") != nullptr;
    for (const GoldenCase& c : goldenCases) {
        useFrame(c.width, c.height);
        paintFrame(40, 70, 110); // stands in for the sky and ground background
        const FrameBounds screen = boundsOf(c.width, c.height);
        const Camera camera = syntheticView(c.view);
        Scene scene = buildScene(world.grid, camera, screen.maxX, screen.maxY, world.colours);
        drawScene(scene, c.renderToggle);
        freeScene(scene);
        const u64 hash = frameHash(*frame);
        if (update) {
            std::printf("    {\"%s\", %d, %u, %u, %u, 0x%016llxull},\n", c.name, c.view, c.width, c.height,
                        c.renderToggle, static_cast<unsigned long long>(hash));
        } else {
            EXPECT_EQ(hash, c.hash) << c.name << ": frame differs (see the command at the top)";
        }
    }
}

TEST_F(FastFill, MatchesTheReferenceOnTheSyntheticLevel) {
    SyntheticWorld world;
    buildSyntheticWorld(world);
    for (const u16 width : {640, 320}) {
        const u16 height = width * 3 / 4;
        const FrameBounds screen = boundsOf(width, height);
        const auto check = [&](const Camera& camera, const std::string& what) {
            expectSameFill(buildScene(world.grid, camera, screen.maxX, screen.maxY, world.colours), width,
                           height, what + " at " + std::to_string(width));
        };
        for (int view = 0; view < 3; ++view) check(syntheticView(view), "view " + std::to_string(view));
        for (int step = 0; step < 120; step += 6)
            check(syntheticPathCamera(step), "path step " + std::to_string(step));
    }
}

TEST_F(FastFill, MatchesTheReferenceOnAwkwardPolygons) {
    Texture odd(3, 7), even(4, 2); // texel (i, j) is texels[i * height + j]
    for (size_t k = 0; k < 21; ++k) odd.texels[k] = static_cast<u16>(40 * (k / 7) + 30 * (k % 7) + 5);
    for (size_t k = 0; k < 8; ++k) even.texels[k] = static_cast<u16>(300 - 50 * (k / 2) - 90 * (k % 2));
    const f32 nan = std::numeric_limits<f32>::quiet_NaN();

    Scene scene;
    scene.maxX = 639;
    scene.maxY = 479;
    const auto add = [&](u32 colour, u32 smooth, const Texture* texture, std::vector<ScreenEdge> edges) {
        ScenePolygon& p = scene.polygons.emplace_back();
        p.colour = colour;
        p.smooth = smooth;
        p.texture = texture;
        p.edges = std::move(edges);
    };
    // Reaching past every side of the frame, smooth and textured.
    add(0x00FF8040, 1, &odd, {edge(-300, -200, 100, 900, 50, 140000), edge(900, 50, 140000, 200, 700, -50)});
    // A gap left by the near-side cut, and a thin sliver.
    add(0x00103070, 0, &even, {edge(100, 100, 10, 300, 120, 5000), edge(280, 300, 80000, 90, 250, 6)});
    add(0x00FFFFFF, 1, nullptr,
        {edge(10.2f, 5.5f, 0, 10.7f, 470.5f, 131072), edge(10.7f, 470.5f, 131072, 10.5f, 5.5f, 0)});
    // Edges below the filled rows, wholly above the frame, and not finite.
    add(0x00808080, 0, nullptr, {edge(5, 478.5f, 0, 600, 479, 0), edge(600, 479, 0, 5, 478.5f, 0)});
    add(0x00808080, 0, nullptr, {edge(5, -50, 0, 600, -10, 0), edge(600, -10, 0, 5, -50, 0)});
    add(0x00C0C0C0, 1, &odd,
        {edge(50, 60, 0, nan, 90, 0), edge(70, 200, 100, 50, 60, 0), edge(400, 300, 0, 70, 200, 100)});
    add(0x00C0C0C0, 0, nullptr, {edge(-3e38f, 30, 0, 3e38f, 40, 0), edge(3e38f, 40, 0, 0, 60, 1e9f)});
    // Texture coordinates and shades far outside their usual range: the pixel
    // loop's integer cuts saturate.
    std::vector<ScreenEdge> wild{edge(100, 320, 10, 500, 330, 10), edge(500, 330, 10, 300, 420, 10)};
    wild[0].first.texU = 5e9f;
    wild[1].second.texV = -4e9f;
    add(0x00A0B0C0, 1, &even, wild);
    wild[0].first.shade = 3e7f;
    wild[1].second.shade = -2e6f;
    add(0x00A0B0C0, 1, nullptr, wild);
    // Spans right of their left ends near a vertex, and a single point.
    add(0x00406080, 0, nullptr,
        {edge(320.9f, 10.9f, 0, 330.1f, 300.2f, 9), edge(330.1f, 300.2f, 9, 310.4f, 300.7f, 0)});
    add(0x00406080, 0, nullptr, {edge(200.5f, 200.5f, 0, 200.5f, 200.5f, 0)});

    expectSameFill(scene, 640, 480, "awkward polygons");
    // A frame clipped to a smaller rectangle, and one the fast path cannot write
    // directly (32 bits per pixel).
    const Rect clip{30, 40, 500, 400};
    expectSameFill(scene, 640, 480, "clipped frame", 24, &clip);
    expectSameFill(scene, 640, 480, "32-bit frame", 32);
}

TEST_F(FastFill, MatchesTheReferenceOnEveryShippedLevel) {
    const RunDirectory run(RunDirectory::Shipped);
    loadTextures();
    for (u16 level = 0; level <= 4; ++level) {
        loadLevel(level);
        for (const std::unique_ptr<Player>& player : world::state.players) {
            for (u32 turn = 0; turn < 8; ++turn) {
                const Camera camera =
                    playerEye(player->startX, player->startY, static_cast<u16>(16384 + turn * 8192));
                for (const u16 width : {640, 320}) {
                    const FrameBounds screen = boundsOf(width, width * 3 / 4);
                    expectSameFill(buildScene(world::state.worldGrid, camera, screen.maxX, screen.maxY,
                                              world::state.playerColours),
                                   width, width * 3 / 4,
                                   std::string(levelFileName(level)) + " heading " +
                                       std::to_string(camera.heading));
                }
            }
        }
        resetWorld();
    }
    resetTextures();
}
