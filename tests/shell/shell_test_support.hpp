#pragma once
// A 24-bit memory frame standing in for the framework's display, with the shell's
// state pointing at it.
#include "base/types.hpp"
#include "framework/display.hpp"
#include "gfx/device_context.hpp"
#include "tests/support/rgb.hpp"
#include "tests/support/run_directory.hpp"

#include <gtest/gtest.h>

#include <memory>

class ShellFrame : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A frame of that size, current, as the display's draw target; the current
    // screen and the game menu made for it. Tests run in the shipped run directory.
    void makeFrame(i32 width, i32 height);
    // The current screen of that size and the game menu on the open display.
    void makeScreen(i32 width, i32 height);

    Rgb pixel(i32 x, i32 y) const;
    // Every pixel of a rectangle (right and bottom exclusive) has that colour.
    bool allPixels(i32 left, i32 top, i32 right, i32 bottom, Rgb colour) const;
    // Fills the frame with one colour.
    void fill(Rgb colour);

    std::unique_ptr<DeviceContext> frame;
    FrameworkDisplay frameDisplay;

  private:
    RunDirectory run{RunDirectory::Shipped};
};
