#pragma once
// A 24-bit memory frame standing in for the framework's display, with the shell's
// globals pointing at it.
#include "base/types.hpp"
#include "framework/display.hpp"
#include "gfx/device_context.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <ostream>

struct Rgb {
    u8 r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
void PrintTo(const Rgb& rgb, std::ostream* os);

class ShellFrame : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A frame of that size, current, as the display's draw target; `screen` and
    // `menu` made for it; the current directory is the shipped run directory.
    void makeFrame(i32 width, i32 height);

    Rgb pixel(i32 x, i32 y) const;
    // Every pixel of a rectangle (right and bottom exclusive) has that colour.
    bool allPixels(i32 left, i32 top, i32 right, i32 bottom, Rgb colour) const;
    // Fills the frame with one colour.
    void fill(Rgb colour);

    std::unique_ptr<DeviceContext> frame;
    FrameworkDisplay frameDisplay;

private:
    std::filesystem::path previousDirectory;
};
