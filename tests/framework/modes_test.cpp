#include "framework/modes.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

constexpr DriverOptions gameOptions{1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 15};

DriverOptions withFilter(u32 filter) {
    DriverOptions o = gameOptions;
    o.modeFilter = filter;
    return o;
}

// A desktop like the SDL back end describes: every mode up to its size.
DisplayHardware desktop(u32 width, u32 height) {
    DisplayHardware hw;
    hw.desktopWidth = width;
    hw.desktopHeight = height;
    hw.desktopBitsPerPixel = 24;
    hw.families = familyBit(DriverFamily::FullScreenDib) | familyBit(DriverFamily::DirectDraw);
    hw.modes = offerModesUpTo(width, height, 2, modeCapPageFlip | modeCapDesktop);
    return hw;
}

// Hardware that shows only the listed modes, with those flags.
DisplayHardware showing(std::initializer_list<OfferedMode> modes) {
    DisplayHardware hw = desktop(1024, 768);
    hw.modes = modes;
    return hw;
}

u32 number(u32 width, u32 height, u32 bits) {
    const i32 n = graphicsModeNumber(width, height, bits);
    EXPECT_GE(n, 0);
    return static_cast<u32>(n);
}

ModeList list(const DriverOptions& options, const DisplayHardware& hw) {
    return listModes(options, hw, registerDrivers(options));
}

const ModeEntry* find(const ModeList& l, u32 width, u32 height, u32 bits) {
    const auto it = std::find_if(l.entries.begin(), l.entries.end(), [&](const ModeEntry& e) {
        return e.width == width && e.height == height && e.bitsPerPixel == bits;
    });
    return it == l.entries.end() ? nullptr : &*it;
}

TEST(ModeNumbers, RunThroughTheSizesAtFiveDepthsEach) {
    EXPECT_EQ(graphicsModeCount, 70u);
    const GraphicsMode m = graphicsMode(43);
    EXPECT_EQ(m.width, 640u);
    EXPECT_EQ(m.height, 480u);
    EXPECT_EQ(m.bitsPerPixel, 24u);
    EXPECT_EQ(graphicsModeNumber(320, 240, 8), 5);
    EXPECT_EQ(graphicsModeNumber(1600, 1200, 32), 69);
    EXPECT_EQ(graphicsModeNumber(640, 480, 4), -1);
    EXPECT_EQ(graphicsModeNumber(1920, 1080, 24), -1);
    char name[16];
    graphicsModeName(69, name);
    EXPECT_STREQ(name, "1600x1200x32");
}

TEST(Drivers, TheOptionsChooseWhichAreRegistered) {
    const auto has = [](const std::vector<Driver>& ds, DriverFamily f) {
        return std::any_of(ds.begin(), ds.end(), [f](const Driver& d) { return d.family == f; });
    };
    const std::vector<Driver> all = registerDrivers(frameworkDefaultOptions);
    for (DriverFamily f :
         {DriverFamily::Vga, DriverFamily::VgaX, DriverFamily::Linear, DriverFamily::Accelerated,
          DriverFamily::FullScreenDib, DriverFamily::DirectDraw, DriverFamily::OpenGL,
          DriverFamily::PackedPixel})
        EXPECT_TRUE(has(all, f));

    DriverOptions o = gameOptions;
    o.useDirectHW = 0; // whatever VGA and VBE say
    std::vector<Driver> ds = registerDrivers(o);
    EXPECT_FALSE(has(ds, DriverFamily::Vga) || has(ds, DriverFamily::Linear) ||
                 has(ds, DriverFamily::Accelerated));
    EXPECT_FALSE(has(ds, DriverFamily::OpenGL));

    o = gameOptions;
    o.useVGA = 0;    // takes unchained VGA with it
    o.useLinear = 0; // takes the accelerated drivers with it
    ds = registerDrivers(o);
    EXPECT_FALSE(has(ds, DriverFamily::VgaX) || has(ds, DriverFamily::Accelerated));

    // The memory drivers are always there, and draw every depth the game needs.
    o = DriverOptions{};
    ds = registerDrivers(o);
    EXPECT_EQ(ds.size(), 6u);
    EXPECT_TRUE(std::all_of(ds.begin(), ds.end(),
                            [](const Driver& d) { return d.family == DriverFamily::PackedPixel; }));
}

TEST(ModeListing, TheGameOptionsListEveryDepthOfEverySizeOnTheDesktop) {
    const ModeList l = list(gameOptions, desktop(1024, 768));
    // 11 sizes up to 1024x768, five depths each, no window-only entries.
    EXPECT_EQ(l.fullScreenCount, 55u);
    EXPECT_EQ(l.entries.size(), 55u);
    const ModeEntry* e = find(l, 640, 480, 16);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->mode, graphicsModeNumber(640, 480, 16));
    EXPECT_EQ(e->pages, 2u);
    EXPECT_EQ(e->scaling, 0u);
    EXPECT_EQ(e->windowScale, 0u);
    EXPECT_STREQ(e->name, "640x480x16");
    EXPECT_EQ(find(l, 320, 240, 24)->windowScale, 2u);
    EXPECT_EQ(find(l, 1152, 864, 24), nullptr);

    EXPECT_EQ(list(gameOptions, desktop(640, 480)).fullScreenCount, 45u);
}

TEST(ModeListing, DepthBitsFilterAndANoDepthFilterFallsBackToAll) {
    const DisplayHardware hw = desktop(800, 600);
    const ModeList only24 = list(withFilter(4), hw);
    EXPECT_EQ(only24.entries.size(), 10u);
    EXPECT_TRUE(std::all_of(only24.entries.begin(), only24.entries.end(),
                            [](const ModeEntry& e) { return e.bitsPerPixel == 24; }));
    const ModeList sixteen = list(withFilter(2), hw);
    EXPECT_EQ(sixteen.entries.size(), 20u); // 15 and 16 bits
    EXPECT_EQ(list(withFilter(0), hw).entries.size(), 50u);
}

TEST(ModeListing, AMissingModeIsShownLineDoubledOrPixelDoubled) {
    const u32 flags = modeCapPageFlip;
    const ModeList l = list(
        gameOptions, showing({{number(320, 400, 8), 2, flags}, {number(640, 480, 24), 1, flags}}));
    const ModeEntry* tall = find(l, 320, 200, 8);
    ASSERT_NE(tall, nullptr);
    EXPECT_EQ(tall->scaling, 1u);
    EXPECT_EQ(tall->mode, graphicsModeNumber(320, 400, 8));
    EXPECT_STREQ(tall->name, "320x400x8");
    const ModeEntry* doubled = find(l, 320, 240, 24);
    ASSERT_NE(doubled, nullptr);
    EXPECT_EQ(doubled->scaling, 2u);
    EXPECT_EQ(doubled->pages, 1u);
    EXPECT_EQ(doubled->mode, graphicsModeNumber(640, 480, 24));
    // Line doubling would need 320x480x8 or 640x480x8: no entry.
    EXPECT_EQ(find(l, 320, 240, 8), nullptr);
    EXPECT_EQ(l.fullScreenCount, static_cast<u32>(l.entries.size()));
}

TEST(ModeListing, OnlyModesUpTo800x600WithoutTheDesktopFlagCarryADoubledOne) {
    const ModeList big = list(gameOptions, showing({{number(1024, 768, 24), 2, 0}}));
    EXPECT_EQ(find(big, 512, 384, 24), nullptr);
    const ModeList stretched =
        list(gameOptions, showing({{number(640, 480, 24), 2, modeCapDesktop}}));
    EXPECT_EQ(find(stretched, 320, 240, 24), nullptr);
    EXPECT_NE(find(stretched, 640, 480, 24), nullptr);
}

TEST(ModeListing, AcceleratedAndDesktopFiltersAndWindowOnlyEntries) {
    const DisplayHardware hw = showing(
        {{number(640, 480, 24), 2, modeCapAccelerated}, {number(800, 600, 24), 2, modeCapDesktop}});
    const ModeList accelerated = list(withFilter(4 | 16), hw);
    ASSERT_EQ(accelerated.entries.size(), 1u);
    EXPECT_EQ(accelerated.entries[0].width, 640u);

    const ModeList desktopOnly = list(withFilter(4 | 32), hw);
    ASSERT_EQ(desktopOnly.entries.size(), 1u);
    EXPECT_EQ(desktopOnly.entries[0].width, 800u);

    // Sizes below the 1024x768 desktop without a full-screen entry become
    // window-only entries at the desktop's depth, after the full-screen ones.
    const ModeList windowed = list(withFilter(4 | 32 | 64), hw);
    EXPECT_EQ(windowed.fullScreenCount, 1u);
    ASSERT_EQ(windowed.entries.size(), 10u); // 9 smaller sizes + 800x600
    const ModeEntry& w = windowed.entries[1];
    EXPECT_EQ(w.mode, -1);
    EXPECT_EQ(w.width, 320u);
    EXPECT_EQ(w.height, 200u);
    EXPECT_EQ(w.bitsPerPixel, 24u);
    EXPECT_EQ(w.pages, 1u);
    EXPECT_STREQ(w.name, "windowed");
    EXPECT_EQ(w.windowScale, 2u);
    EXPECT_EQ(find(windowed, 800, 600, 24)->mode, graphicsModeNumber(800, 600, 24));
}

TEST(ModeListing, NoDriverThatReachesTheDisplayListsNothing) {
    DriverOptions o = gameOptions;
    o.useDirectDraw = 0;
    o.useFullScreenDIB = 0;
    const ModeList l = list(o, desktop(1024, 768));
    EXPECT_EQ(l.fullScreenCount, 0u);
    EXPECT_TRUE(l.entries.empty());
    // DirectDraw alone is enough.
    o.useDirectDraw = 1;
    EXPECT_EQ(list(o, desktop(1024, 768)).fullScreenCount, 55u);
}

TEST(ModeSizes, SmallSizesShowAtTwiceTheSizeInAWindow) {
    EXPECT_EQ(windowScaleFor(320, 200), 2u);
    EXPECT_EQ(windowScaleFor(400, 300), 2u);
    EXPECT_EQ(windowScaleFor(320, 400), 2u);
    EXPECT_EQ(windowScaleFor(320, 480), 2u);
    EXPECT_EQ(windowScaleFor(512, 384), 0u);
    EXPECT_EQ(windowScaleFor(640, 350), 0u);
}

TEST(ModeSizes, BackBufferDepthsAreLoweredWhereTheFilterForbidsThem) {
    EXPECT_EQ(lowerDepthForFilter(15, 32), 32u);
    EXPECT_EQ(lowerDepthForFilter(7, 32), 24u);
    EXPECT_EQ(lowerDepthForFilter(3, 24), 15u);
    EXPECT_EQ(lowerDepthForFilter(3, 32), 15u);
    EXPECT_EQ(lowerDepthForFilter(1, 16), 8u);
    EXPECT_EQ(lowerDepthForFilter(1, 24), 8u);
    EXPECT_EQ(lowerDepthForFilter(64, 24), 24u); // no depth bits: nothing forbidden
}

} // namespace
