#include "tests/support/world_run.hpp"

#include "gfx/bitmap.hpp"
#include "tests/support/rgb.hpp"

#include <array>
#include <fstream>
#include <string>

namespace {

using BitmapContent = InRunDirectory;

TEST_F(BitmapContent, EveryBitmapLoadsAtItsSizeAndDepth) {
    const struct {
        const char* file;
        int width, height, bits;
    } cases[] = {
        {"Bitmaps\\main-256.bmp", 638, 478, 8},  {"Bitmaps\\sky1.bmp", 1280, 320, 24},
        {"Bitmaps\\sky2.bmp", 640, 160, 24},     {"Bitmaps\\cockpit1.bmp", 640, 480, 24},
        {"Bitmaps\\cockpit2.bmp", 320, 240, 24}, {"Bitmaps\\green-light1.bmp", 16, 16, 24},
        {"Bitmaps\\green-light2.bmp", 8, 8, 24}, {"Bitmaps\\blue-light1.bmp", 16, 16, 24},
        {"Bitmaps\\blue-light2.bmp", 8, 8, 24},  {"Bitmaps\\segment_h1.bmp", 10, 2, 24},
        {"Bitmaps\\segment_v1.bmp", 2, 9, 24},   {"Bitmaps\\segment_h2.bmp", 5, 1, 24},
        {"Bitmaps\\segment_v2.bmp", 1, 5, 24},   {"Bitmaps\\icon.bmp", 64, 64, 32},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto b = loadBitmap(c.file, 1);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->width, c.width);
        EXPECT_EQ(b->height, c.height);
        EXPECT_EQ(b->bitsPerPixel, c.bits);
        if (c.bits == 8) {
            EXPECT_EQ(b->palette.size(), 256u);
        }
    }
}

// The sky slides left and wraps after one screen width: columns x and
// x + width must match, and its bottom row meets the fog colour.
TEST_F(BitmapContent, SkiesWrapSeamlesslyIntoTheFog) {
    for (const auto& [file, screen] :
         {std::pair{"Bitmaps\\sky1.bmp", 640}, std::pair{"Bitmaps\\sky2.bmp", 320}}) {
        SCOPED_TRACE(file);
        const auto sky = loadBitmap(file, 1);
        ASSERT_NE(sky, nullptr);
        ASSERT_EQ(sky->width, 2 * screen);
        for (int y = 0; y < sky->height; ++y)
            for (int x = 0; x < screen; ++x)
                ASSERT_EQ(pixelAt(*sky, x, y), pixelAt(*sky, x + screen, y)) << x << "," << y;
        for (int x = 0; x < sky->width; ++x)
            EXPECT_EQ(pixelAt(*sky, x, sky->height - 1), (Rgb{240, 240, 240}));
    }
}

struct Rect {
    int x0, y0, x1, y1; // inclusive
};

// The cockpit is see-through (pure white) over the view, and the wells where
// the head-up display draws hold no white, so nothing drawn there vanishes.
void checkCockpit(const char* file, const Rect& view, const std::vector<Rect>& instruments) {
    SCOPED_TRACE(file);
    const auto cockpit = loadBitmap(file, 1);
    ASSERT_NE(cockpit, nullptr);
    const auto isWhite = [&](int x, int y) { return pixelAt(*cockpit, x, y) == Rgb{255, 255, 255}; };
    for (int y = view.y0; y <= view.y1; ++y)
        for (int x = view.x0; x <= view.x1; ++x) ASSERT_TRUE(isWhite(x, y)) << x << "," << y;
    for (const Rect& r : instruments)
        for (int y = r.y0; y <= r.y1; ++y)
            for (int x = r.x0; x <= r.x1; ++x) ASSERT_FALSE(isWhite(x, y)) << x << "," << y;
}

TEST_F(BitmapContent, CockpitsShowTheViewAndGiveTheInstrumentsTheirWells) {
    // Speed bar, compass, nitro lamp, flag lamp, ammunition and mine digits, shield bars.
    checkCockpit("Bitmaps\\cockpit1.bmp", {90, 15, 590, 370},
                 {{92, 439, 257, 459},
                  {9, 412, 69, 472},
                  {19, 365, 34, 380},
                  {448, 453, 463, 468},
                  {291, 441, 323, 464},
                  {361, 441, 393, 464},
                  {517, 399, 615, 463}});
    checkCockpit("Bitmaps\\cockpit2.bmp", {45, 8, 295, 185},
                 {{46, 221, 129, 231},
                  {4, 207, 34, 237},
                  {11, 176, 18, 183},
                  {226, 228, 233, 235},
                  {145, 222, 164, 234},
                  {179, 222, 198, 234},
                  {259, 201, 311, 233}});
}

} // namespace

// The desktop's icons, one PNG of each size of the hicolor theme, with alpha.
TEST_F(BitmapContent, TheDesktopIconsComeInEveryThemeSizeWithTransparency) {
    for (const u32 size : {16u, 22u, 24u, 32u, 48u, 64u, 128u, 256u}) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const std::string file = "icons/hicolor/" + name + "/apps/tessaron3d.png";
        SCOPED_TRACE(file);
        std::ifstream in(file, std::ios::binary);
        u8 head[26] = {};
        in.read(reinterpret_cast<char*>(head), sizeof head);
        ASSERT_TRUE(in);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(head) + 1, 3), "PNG");
        const auto big = [&](int at) {
            return u32{head[at]} << 24 | u32{head[at + 1]} << 16 | u32{head[at + 2]} << 8 | head[at + 3];
        };
        EXPECT_EQ(big(16), size);
        EXPECT_EQ(big(20), size);
        EXPECT_EQ(head[24], 8); // bits per channel
        EXPECT_EQ(head[25], 6); // red, green, blue and alpha
    }
}
