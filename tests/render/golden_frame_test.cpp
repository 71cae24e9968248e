// Exact frames of the synthetic level: every pixel the renderer writes, compared
// through a 64-bit FNV-1a hash of the frame bytes.
//
// After a deliberate change to the renderer's output, regenerate the hashes with
//     TESSARON_UPDATE_GOLDEN=1 ./build/tests/render/render_tests --gtest_filter='GoldenFrame*'
// which prints the new table to paste below. To look at the frames, also set
// TESSARON_GOLDEN_DIR=<directory>: each frame is written there as a PPM picture.
#include "render/scene.hpp"
#include "render/screen_info.hpp"
#include "render_test_support.hpp"
#include "synthetic_world.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

struct GoldenCase {
    const char* name;
    int view;
    u16 width, height;
    u32 renderToggle;
    u64 hash;
};

const GoldenCase goldenCases[] = {
    {"view0_640_fill", 0, 640, 480, 0, 0x9b09ab746ac1c829ull},
    {"view0_640_outline", 0, 640, 480, 1, 0xbadd28d72a68062dull},
    {"view0_320_fill", 0, 320, 240, 0, 0xead84191f6287addull},
    {"view0_320_outline", 0, 320, 240, 1, 0x17f58125c39eecf1ull},
    {"view1_640_fill", 1, 640, 480, 0, 0x3ae7dfc7d8b40d2aull},
    {"view1_320_fill", 1, 320, 240, 0, 0xae29143e7def601full},
    {"view2_640_fill", 2, 640, 480, 0, 0xedd470a42d3131ddull},
    {"view2_320_outline", 2, 320, 240, 1, 0xadf13bc40a03ab19ull},
};

void writePpm(const std::string& path, const DeviceContext& frame) {
    std::ofstream out(path, std::ios::binary);
    const i32 width = frame.deviceRect.right, height = frame.deviceRect.bottom;
    out << "P6\n" << width << " " << height << "\n255\n";
    for (i32 y = 0; y < height; ++y) {
        for (i32 x = 0; x < width; ++x) {
            const u8* p = frame.surface + y * frame.bytesPerLine + 3 * x;
            const char rgb[3] = {static_cast<char>(p[2]), static_cast<char>(p[1]),
                                 static_cast<char>(p[0])};
            out.write(rgb, 3);
        }
    }
}

class GoldenFrame : public FrameTest {};

} // namespace

TEST_F(GoldenFrame, SyntheticLevelFramesAreExact) {
    SyntheticWorld world;
    buildSyntheticWorld(world);
    const bool update = std::getenv("TESSARON_UPDATE_GOLDEN") != nullptr;
    const char* pictureDir = std::getenv("TESSARON_GOLDEN_DIR");

    for (const GoldenCase& c : goldenCases) {
        useFrame(c.width, c.height);
        paintFrame(40, 70, 110); // stands in for the sky and ground background
        const ScreenInfo screen = screenOf(c.width, c.height);
        const Camera camera = syntheticView(c.view);
        Scene scene = buildScene(world.grid, camera, screen, world.colours);
        drawScene(scene, c.renderToggle);
        freeScene(scene);

        const u64 hash = frameHash(*frame);
        if (pictureDir != nullptr)
            writePpm(std::string(pictureDir) + "/" + c.name + ".ppm", *frame);
        if (update) {
            std::printf("    {\"%s\", %d, %u, %u, %u, 0x%016llxull},\n", c.name, c.view, c.width,
                        c.height, c.renderToggle, static_cast<unsigned long long>(hash));
        } else {
            EXPECT_EQ(hash, c.hash)
                << c.name << ": frame differs (see the command at the top of this file)";
        }
    }
}
