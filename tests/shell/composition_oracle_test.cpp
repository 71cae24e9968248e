// The fast frame composition against the literal drawing it replaces: the
// background as one clear and one clipped line per band row, the cockpit as a
// compare per pixel. The same bytes, the same colours left set, at both frame
// sizes, with both skies and every shipped cockpit.
#include "gfx/bitmap.hpp"
#include "gfx/device_context.hpp"
#include "gfx/font.hpp"
#include "gfx/gfx_state.hpp"
#include "gfx/primitives.hpp"
#include "gfx/text.hpp"
#include "shell/background.hpp"
#include "shell/hud.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

namespace {

// The background exactly as the game first drew it, one band row at a time.
void drawRow(i32 maxX, i32 y) {
    drawLine(0, y, maxX + 1, y);
}

void literalBackground(DeviceContext& dc, i32 maxX, bool realisticSky, const Bitmap* sky, i32 skyX) {
    makeCurrentContext(&dc);
    setBackColor(16777215);
    clearDevice();
    const i32 s = maxX == 639 ? 1 : 2;
    for (i32 y = 480 / s; y >= 360 / s; --y) {
        const i32 r = (480 / s - y) * s;
        const i32 g = static_cast<i32>(y * 0.125 + (s == 1 ? 127 : 170));
        setColorRGB(static_cast<u8>(r), static_cast<u8>(g), static_cast<u8>(r));
        drawRow(maxX, y);
    }
    for (i32 y = 360 / s; y >= 320 / s; --y) {
        const i32 r = static_cast<i32>(s == 1 ? 1216 - 3.05 * y : 1216 - 6.1 * y);
        const i32 g = static_cast<i32>(s == 1 ? 784 - 1.7 * y : 624 - 2.4 * y);
        setColorRGB(static_cast<u8>(r), static_cast<u8>(g), static_cast<u8>(r));
        drawRow(maxX, y);
    }
    if (realisticSky) {
        putBitmap(dc, skyX, 0, sky, writeReplace);
        return;
    }
    setColorRGB(240, 240, 240);
    for (i32 y = (maxX + 1) / 2; y >= 240 / s + 1; --y) drawRow(maxX, y);
    for (i32 v = 240; v >= 0; --v) {
        setColorRGB(static_cast<u8>(v), static_cast<u8>(v), 240);
        drawRow(maxX, v / s);
    }
}

// Bitmap text exactly as the game first drew it: every set bit of every glyph
// tested against the drawable rectangle on its own.
void literalText(DeviceContext& dc, const Font& font, i32 x, i32 y, const char* text) {
    const i32 top = y - (font.descent() + font.fontHeight() - 1 - font.ascent());
    for (const u8* p = reinterpret_cast<const u8*>(text); *p; ++p) {
        const u8 code = font.glyphCode(*p);
        const i32 imageWidth = font.imageWidth(code);
        const i32 rows = font.fontHeight();
        const size_t bytesPerRow = static_cast<size_t>(imageWidth + 7) / 8;
        const size_t start = Font::glyphImagesOffset + font.glyphOffset(code);
        if (imageWidth > 0 && rows > 0 &&
            start + bytesPerRow * static_cast<size_t>(rows) <= font.record.size()) {
            const u8* image = font.record.data() + start;
            for (i32 r = 0; r < rows; ++r, image += bytesPerRow)
                for (i32 i = 0; i < imageWidth; ++i)
                    if (image[i >> 3] & (0x80 >> (i & 7)) && isDrawable(dc, x + i, top + r))
                        storePixel(dc, x + i + dc.viewport.left, top + r + dc.viewport.top, dc.color);
        }
        x += font.width(code);
    }
}

// Two frames of one kind filled with the same noise, so that skipped pixels show.
struct FramePair {
    std::unique_ptr<DeviceContext> literal, fast;
};

FramePair framePair(i32 width, i32 height, i32 bits = 24) {
    FramePair pair{createMemoryContext(width, height, bits), createMemoryContext(width, height, bits)};
    u32 noise = 12345;
    for (size_t i = 0; i < pair.literal->ownedSurface.size(); ++i) {
        noise = noise * 1103515245 + 12345;
        pair.literal->ownedSurface[i] = pair.fast->ownedSurface[i] = static_cast<u8>(noise >> 16);
    }
    return pair;
}

void expectSame(const FramePair& pair, const std::string& what) {
    ASSERT_EQ(pair.literal->ownedSurface, pair.fast->ownedSurface) << what;
    EXPECT_EQ(pair.literal->color, pair.fast->color) << what;
    EXPECT_EQ(pair.literal->backColor, pair.fast->backColor) << what;
}

class CompositionOracle : public testing::Test {
  protected:
    void SetUp() override {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(TESSARON_DATA_DIR);
    }
    void TearDown() override {
        makeCurrentContext(nullptr);
        std::filesystem::current_path(previous);
    }
    std::filesystem::path previous;
};

} // namespace

TEST_F(CompositionOracle, BackgroundMatchesTheBandsDrawnLineByLine) {
    const auto sky1 = loadBitmap("Bitmaps\\sky1.bmp", 1);
    const auto sky2 = loadBitmap("Bitmaps\\sky2.bmp", 1);
    ASSERT_TRUE(sky1 && sky2);
    const struct {
        i32 width, height;
        const Bitmap* sky;
    } sizes[] = {
        {640, 480, sky1.get()}, {320, 240, sky2.get()}, {800, 600, sky1.get()}, {200, 100, sky2.get()}};
    for (const auto& size : sizes) {
        const i32 maxX = size.width - 1;
        const std::string name = std::to_string(size.width) + "x" + std::to_string(size.height);
        {
            FramePair pair = framePair(size.width, size.height);
            literalBackground(*pair.literal, maxX, false, nullptr, 0);
            paintBackground(*pair.fast, maxX, false, nullptr, 0);
            expectSame(pair, name + " plain sky");
        }
        // Every place the sliding sky takes, and past them.
        for (i32 skyX = 2; skyX >= -size.width - 4; skyX -= 2) {
            FramePair pair = framePair(size.width, size.height);
            literalBackground(*pair.literal, maxX, true, size.sky, skyX);
            paintBackground(*pair.fast, maxX, true, size.sky, skyX);
            expectSame(pair, name + " sky at " + std::to_string(skyX));
        }
        FramePair pair = framePair(size.width, size.height);
        literalBackground(*pair.literal, maxX, true, nullptr, 0);
        paintBackground(*pair.fast, maxX, true, nullptr, 0);
        expectSame(pair, name + " realistic sky without its bitmap");
    }
}

TEST_F(CompositionOracle, BackgroundMatchesOnClippedMovedAndOtherDepthFrames) {
    const auto sky = loadBitmap("Bitmaps\\sky2.bmp", 1);
    const Rect clips[] = {{10, 5, 300, 230}, {0, 0, 320, 100}, {-5, 150, 400, 400}};
    for (const Rect& clip : clips) {
        for (const bool realistic : {false, true}) {
            FramePair pair = framePair(320, 240);
            setClipRect(*pair.literal, clip);
            setClipRect(*pair.fast, clip);
            literalBackground(*pair.literal, 319, realistic, sky.get(), -40);
            paintBackground(*pair.fast, 319, realistic, sky.get(), -40);
            expectSame(pair, "clip " + std::to_string(clip.left) + "," + std::to_string(clip.top));
        }
    }
    FramePair moved = framePair(640, 480);
    for (DeviceContext* dc : {moved.literal.get(), moved.fast.get()})
        setViewport(*dc, Rect{20, 30, 600, 470});
    literalBackground(*moved.literal, 639, false, nullptr, 0);
    paintBackground(*moved.fast, 639, false, nullptr, 0);
    expectSame(moved, "moved viewport");
    // A frame wider than the bands: their rows end one column past maxX.
    FramePair wide = framePair(700, 480);
    literalBackground(*wide.literal, 639, false, nullptr, 0);
    paintBackground(*wide.fast, 639, false, nullptr, 0);
    expectSame(wide, "wider frame");
    for (const i32 bits : {8, 16, 32}) {
        FramePair pair = framePair(320, 240, bits);
        literalBackground(*pair.literal, 319, false, nullptr, 0);
        paintBackground(*pair.fast, 319, false, nullptr, 0);
        expectSame(pair, std::to_string(bits) + " bits per pixel");
    }
}

TEST_F(CompositionOracle, CockpitRunsMatchThePixelByPixelCopy) {
    for (const char* name : {"Bitmaps\\cockpit1.bmp", "Bitmaps\\cockpit2.bmp"}) {
        const auto cockpit = loadBitmap(name, 1);
        ASSERT_NE(cockpit, nullptr) << name;
        const OpaqueRuns runs = findOpaqueRuns(*cockpit, cockpitWhite);
        EXPECT_FALSE(runs.runs.empty()) << name;
        // In place, and moved partly off every side of the frame.
        const i32 w = cockpit->width, h = cockpit->height;
        const std::pair<i32, i32> places[] = {{0, 0}, {-w / 3, 7}, {w / 2, -h / 4}, {3, h - 5}, {-w, 0}};
        for (const auto& [x, y] : places) {
            FramePair pair = framePair(w, h);
            putBitmapTransparent(*pair.literal, x, y, cockpit.get(), cockpitWhite, 1);
            putOpaqueRuns(*pair.fast, x, y, runs);
            expectSame(pair, std::string(name) + " at " + std::to_string(x) + "," + std::to_string(y));
        }
        FramePair clipped = framePair(w, h);
        for (DeviceContext* dc : {clipped.literal.get(), clipped.fast.get()})
            setClipRect(*dc, Rect{w / 5, h / 6, w - 9, h - 2});
        putBitmapTransparent(*clipped.literal, 0, 0, cockpit.get(), cockpitWhite, 1);
        putOpaqueRuns(*clipped.fast, 0, 0, runs);
        expectSame(clipped, std::string(name) + " clipped");
    }
}

TEST_F(CompositionOracle, OpaqueRunsOfOtherDepthsFallBackToTheSameDrawing) {
    // A 32-bit picture on a 24-bit frame is refused alike; a 16-bit one in
    // another channel layout is converted alike.
    Bitmap deep = makeBitmap(9, 4, 32);
    std::memset(deep.pixels.data(), 0x40, deep.pixels.size());
    FramePair pair = framePair(16, 8);
    resetGfx();
    putBitmapTransparent(*pair.literal, 0, 0, &deep, 0, 1);
    const i32 literalError = gfx::state.lastErrorCode;
    resetGfx();
    putOpaqueRuns(*pair.fast, 0, 0, findOpaqueRuns(deep, 0));
    EXPECT_EQ(gfx::state.lastErrorCode, literalError);
    expectSame(pair, "refused");

    const PixelFormat bgr565{31, 63, 31, 0, 0, 3, 5, 2, 11, 3, 0, 0};
    Bitmap swapped = makeBitmap(9, 4, 16, &bgr565);
    for (size_t i = 0; i < swapped.pixels.size(); ++i) swapped.pixels[i] = static_cast<u8>(i * 37);
    FramePair sixteen = framePair(16, 8, 16);
    putBitmapTransparent(*sixteen.literal, 2, 1, &swapped, 0x2561, 1);
    putOpaqueRuns(*sixteen.fast, 2, 1, findOpaqueRuns(swapped, 0x2561));
    expectSame(sixteen, "converted");
}

TEST_F(CompositionOracle, TextMatchesTheGlyphsDrawnBitByBit) {
    for (const char* name : {"Fonts\\Char16bi.fnt", "Fonts\\Char16.fnt", "Fonts\\Lucs40bi.fnt"}) {
        const auto font = loadFont(name);
        ASSERT_NE(font, nullptr) << name;
        const Rect clips[] = {{0, 0, 320, 240}, {7, 9, 100, 31}, {150, 0, 320, 12}};
        for (const Rect& clip : clips) {
            FramePair pair = framePair(320, 240);
            for (DeviceContext* dc : {pair.literal.get(), pair.fast.get()}) {
                setClipRect(*dc, clip);
                dc->color = 0x123456;
            }
            for (const auto& [x, y] : {std::pair{5, 10}, {-13, 4}, {200, 230}, {290, -8}, {40, 20}}) {
                literalText(*pair.literal, *font, x, y, "Velocity Shields 0123 Yep!");
                makeCurrentContext(pair.fast.get());
                useFont(font.get());
                drawText(x, y, "Velocity Shields 0123 Yep!");
            }
            expectSame(pair, std::string(name) + " clipped at " + std::to_string(clip.left) + "," +
                                 std::to_string(clip.top));
        }
    }
}
