#pragma once
// Every framework test starts on a fresh memory platform with a 1024x768 desktop
// and leaves no platform, clock or context behind.
#include "base/fatal.hpp"
#include "framework/framework.hpp"
#include "framework/memory_platform.hpp"
#include "gfx/gfx_state.hpp"

#include <gtest/gtest.h>

#include <array>
#include <utility>

class FrameworkTest : public testing::Test {
  protected:
    void SetUp() override { useDesktop(1024, 768); }
    void TearDown() override {
        selectPlatform(nullptr);
        resetFatalHook();
        resetGfx();
    }

    // A fresh memory platform with a desktop of that size.
    MemoryPlatform& useDesktop(u32 width, u32 height) {
        resetGfx();
        machine = &useMemoryPlatform(width, height);
        machine->keepLastFrame = true; // the tests look at the frames shown
        return *machine;
    }

    // InitFramework, then setMode.
    void openMode(u32 width, u32 height, i32 bits, u32 windowed) {
        EXPECT_NE(InitFramework("Tessaron 3d"), nullptr);
        setMode(width, height, bits, windowed);
    }

    // SetMode (two pages, a back buffer) with the list's entry of that size and depth.
    static void setMode(u32 width, u32 height, i32 bits, u32 windowed) {
        ModeEntry entry{};
        ASSERT_EQ(FindMode(entry, width, height, bits), 1u);
        ASSERT_EQ(SetMode(entry, windowed, 2, 1), 1u);
    }

    MemoryPlatform* machine = nullptr;
};

// The blue, green and red bytes of pixel (x, y) of the last presented frame.
inline u32 presentedPixel(const MemoryPlatform& m, u32 x, u32 y) {
    const u8* p = m.lastFrame.data() + (static_cast<size_t>(y) * m.lastFrameWidth + x) * 3;
    return p[0] | p[1] << 8 | p[2] << 16;
}
