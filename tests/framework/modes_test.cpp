#include "framework/modes.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace {

constexpr DriverOptions gameOptions{1, 1, 1, 1, 1, 1, 1, 1, 0, 0, modeFilterAllDepths};

DriverOptions withFilter(u32 filter) {
    DriverOptions o = gameOptions;
    o.modeFilter = filter;
    return o;
}

// A desktop like the SDL back end describes: every mode up to its size; or, with
// `modes`, hardware that shows only those.
DisplayHardware desktop(u32 width, u32 height, std::vector<OfferedMode> modes = {}) {
    DisplayHardware hw{width, height, 24,
                       familyBit(DriverFamily::FullScreenDib) | familyBit(DriverFamily::DirectDraw),
                       offerModesUpTo(width, height, 2, modeCapPageFlip | modeCapDesktop)};
    if (!modes.empty()) hw.modes = modes;
    return hw;
}

const auto number = [](u32 w, u32 h, u32 bits) { return u32(graphicsModeNumber(w, h, bits)); };
const auto list = [](const DriverOptions& o, const DisplayHardware& hw) {
    return listModes(o, hw, registerDrivers(o));
};

const ModeEntry* find(const ModeList& l, u32 width, u32 height, u32 bits) {
    for (const ModeEntry& e : l.entries)
        if (e.width == width && e.height == height && e.bitsPerPixel == bits) return &e;
    return nullptr;
}

TEST(Drivers, TheOptionsChooseWhichAreRegistered) {
    auto families = [](const DriverOptions& o) {
        u32 bits = 0;
        for (const Driver& d : registerDrivers(o)) bits |= familyBit(d.family);
        return bits;
    };
    auto bit = [](DriverFamily f) { return familyBit(f); };
    EXPECT_EQ(families(frameworkDefaultOptions), 0xFFu); // every family
    DriverOptions o = gameOptions;
    o.useDirectHW = 0; // whatever VGA and VBE say
    EXPECT_EQ(families(o) & (bit(DriverFamily::Vga) | bit(DriverFamily::Linear) |
                             bit(DriverFamily::Accelerated) | bit(DriverFamily::OpenGL)),
              0u);
    o = gameOptions;
    o.useVGA = 0;    // takes unchained VGA with it
    o.useLinear = 0; // takes the accelerated drivers with it
    EXPECT_EQ(families(o) & (bit(DriverFamily::VgaX) | bit(DriverFamily::Accelerated)), 0u);
    // The memory drivers are always there, and draw every depth the game needs.
    EXPECT_EQ(registerDrivers(DriverOptions{}).size(), 6u);
    EXPECT_EQ(families(DriverOptions{}), bit(DriverFamily::PackedPixel));
}

TEST(ModeListing, OptionsAndDesktopsChooseTheFullScreenEntries) {
    DriverOptions noDisplayDriver = gameOptions;
    noDisplayDriver.useDirectDraw = noDisplayDriver.useFullScreenDIB = 0;
    DriverOptions directDrawOnly = noDisplayDriver;
    directDrawOnly.useDirectDraw = 1;
    // 11 sizes up to 1024x768 at five depths; 16 lists 15 and 16 bits; a filter without
    // depth bits lists every depth; without a driver that reaches the display, nothing.
    const std::tuple<DriverOptions, u32, u32, size_t> cases[] = {{gameOptions, 1024, 768, 55},
                                                                 {gameOptions, 640, 480, 45},
                                                                 {withFilter(modeFilter24), 800, 600, 10},
                                                                 {withFilter(modeFilter16), 800, 600, 20},
                                                                 {withFilter(0), 800, 600, 50},
                                                                 {noDisplayDriver, 1024, 768, 0},
                                                                 {directDrawOnly, 1024, 768, 55}};
    for (const auto& [options, width, height, entries] : cases) {
        const ModeList l = list(options, desktop(width, height));
        EXPECT_EQ(l.entries.size(), entries) << options.modeFilter << ' ' << width;
        EXPECT_EQ(l.fullScreenCount, entries);
    }
    EXPECT_TRUE(std::ranges::all_of(list(withFilter(modeFilter24), desktop(800, 600)).entries,
                                    [](const ModeEntry& e) { return e.bitsPerPixel == 24; }));

    const ModeList l = list(gameOptions, desktop(1024, 768));
    const ModeEntry* e = find(l, 640, 480, 16);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->mode, graphicsModeNumber(640, 480, 16));
    EXPECT_EQ((std::array{e->pages, e->scaling, e->windowScale}), (std::array{2u, 0u, 0u}));
    EXPECT_STREQ(e->name, "640x480x16");
    EXPECT_EQ(find(l, 320, 240, 24)->windowScale, 2u);
    EXPECT_EQ(find(l, 1152, 864, 24), nullptr);
}

TEST(ModeListing, AMissingModeIsShownLineDoubledOrPixelDoubled) {
    const ModeList l = list(gameOptions, desktop(1024, 768,
                                                 {{number(320, 400, 8), 2, modeCapPageFlip},
                                                  {number(640, 480, 24), 1, modeCapPageFlip}}));
    const ModeEntry* tall = find(l, 320, 200, 8);
    ASSERT_NE(tall, nullptr);
    EXPECT_EQ((std::pair{tall->mode, tall->scaling}), (std::pair{graphicsModeNumber(320, 400, 8), 1u}));
    EXPECT_STREQ(tall->name, "320x400x8");
    const ModeEntry* doubled = find(l, 320, 240, 24);
    ASSERT_NE(doubled, nullptr);
    EXPECT_EQ((std::array{doubled->scaling, doubled->pages}), (std::array{2u, 1u}));
    EXPECT_EQ(doubled->mode, graphicsModeNumber(640, 480, 24));
    EXPECT_EQ(find(l, 320, 240, 8), nullptr); // would need 320x480x8 or 640x480x8

    // Only modes up to 800x600 without the desktop flag carry a doubled one.
    const ModeList big = list(gameOptions, desktop(1024, 768, {{number(1024, 768, 24), 2, 0}}));
    EXPECT_EQ(find(big, 512, 384, 24), nullptr);
    const ModeList stretched =
        list(gameOptions, desktop(1024, 768, {{number(640, 480, 24), 2, modeCapDesktop}}));
    EXPECT_EQ(find(stretched, 320, 240, 24), nullptr);
}

TEST(ModeListing, AcceleratedAndDesktopFiltersAndWindowOnlyEntries) {
    const DisplayHardware hw =
        desktop(1024, 768,
                {{number(640, 480, 24), 2, modeCapAccelerated}, {number(800, 600, 24), 2, modeCapDesktop}});
    const ModeList fast = list(withFilter(modeFilter24 | modeFilterAccelerated), hw);
    ASSERT_EQ(fast.entries.size(), 1u);
    EXPECT_EQ(fast.entries[0].width, 640u);
    // Sizes below the 1024x768 desktop without a full-screen entry become window-only
    // entries at the desktop's depth, after the full-screen ones.
    const ModeList l = list(withFilter(modeFilter24 | modeFilterDesktopOnly | modeFilterWindowed), hw);
    EXPECT_EQ(l.fullScreenCount, 1u);
    ASSERT_EQ(l.entries.size(), 10u); // 800x600, then the 9 smaller sizes
    EXPECT_EQ(l.entries[0].mode, graphicsModeNumber(800, 600, 24));
    const ModeEntry& w = l.entries[1];
    EXPECT_EQ(w.mode, -1);
    EXPECT_EQ((std::array{w.width, w.height, w.bitsPerPixel, w.pages, w.windowScale}),
              (std::array{320u, 200u, 24u, 1u, 2u}));
    EXPECT_STREQ(w.name, "windowed");
}

TEST(ModeSizes, SmallSizesShowDoubledInAWindowAndFilteredDepthsAreLowered) {
    for (auto [w, h] : {std::pair{320u, 400u}, {320u, 480u}, {400u, 300u}, {512u, 384u}})
        EXPECT_EQ(windowScaleFor(w, h), w < 512 ? 2u : 0u) << w << 'x' << h;
    // Filter, depth, lowered depth; 64 has no depth bits.
    const std::array<u32, 3> lowered[] = {{15, 32, 32}, {7, 32, 24}, {3, 24, 15}, {3, 32, 15},
                                          {1, 16, 8},   {1, 24, 8},  {64, 24, 24}};
    for (auto [filter, bits, expected] : lowered)
        EXPECT_EQ(lowerDepthForFilter(filter, bits), expected) << filter << ' ' << bits;
}

} // namespace
