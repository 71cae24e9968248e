#pragma once
// Gamepads as keys. The back ends report what a pad does (plugged in, a button,
// an axis) and this turns it into key presses and releases of the pad's own scan
// codes (scanPadA and the rest in events.hpp), which reach the key table and the
// game's key callbacks like any key. The d-pad and the left stick press the same
// four direction keys, and either shoulder button the one shoulder key. Any
// number of pads may be plugged in and out at any time; the first that presses
// something drives, and its keys alone count until it is unplugged, when they
// are released and the next pad to press something drives.
#include "base/types.hpp"
#include "framework/platform.hpp"

#include <array>
#include <map>
#include <vector>

// The controls of a pad in the layout of SDL's game controllers (A is the
// bottom face button, Y the top one).
enum class PadButton : u8 {
    A,
    B,
    X,
    Y,
    Back,
    Start,
    LeftShoulder,
    RightShoulder,
    DpadUp,
    DpadDown,
    DpadLeft,
    DpadRight,
};
inline constexpr u32 padButtonCount = 12;

// Sticks run from -32768 to 32767 (y grows downward), triggers from 0 to 32767.
enum class PadAxis : u8 { LeftX, LeftY, LeftTrigger, RightTrigger };
inline constexpr u32 padAxisCount = 4;

// A stick or trigger presses its key past half way and releases it below three
// eighths, so a value shaking at the edge does not press it again and again.
inline constexpr i32 padPressAt = 16384;
inline constexpr i32 padReleaseBelow = 12288;

class GamepadKeys {
  public:
    // Each call adds the key messages it causes to `out` (time 0: the caller's).
    void plug(i32 pad);
    void unplug(i32 pad, std::vector<PlatformMessage>& out);
    void button(i32 pad, PadButton button, bool down, std::vector<PlatformMessage>& out);
    void axis(i32 pad, PadAxis axis, i32 value, std::vector<PlatformMessage>& out);

    // The pad that drives; -1 while none does.
    i32 driver() const { return driver_; }
    u32 padCount() const { return static_cast<u32>(pads_.size()); }

  private:
    struct Pad {
        std::array<bool, padButtonCount> buttons{};
        std::array<i32, padAxisCount> axes{};
        // Past the press point, per direction: stick x -, x +, y -, y +, left and right trigger.
        std::array<bool, 6> pushed{};
        u32 keysDown = 0; // bit per pad key (scan code - scanPadUp)
    };
    // Works out the pad's keys anew and reports the changes, if the pad drives.
    void update(i32 pad, Pad& state, std::vector<PlatformMessage>& out);

    std::map<i32, Pad> pads_; // by the back end's number of the pad
    i32 driver_ = -1;
};
