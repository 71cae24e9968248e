#pragma once
// The shell's program-wide values: what start-up creates and the menu, the frame
// composition and the key bindings share. They live until the program ends;
// tests start clean with resetShell().
#include "base/types.hpp"
#include "framework/display.hpp"
#include "framework/modes.hpp"
#include "render/scene.hpp"
#include "shell/screen_info.hpp"

#include <memory>

struct Bitmap;
struct OpaqueRuns;
struct Font;
struct GameMenu;

// The drivers the game allows and the modes it wants listed, handed to the framework.
extern DriverOptions gameDriverOptions;
// The framework's display record; its draw target is where every frame is drawn.
extern FrameworkDisplay* display;
// The display mode the game last asked for.
extern ModeEntry gameMode;
// Settings and menu state, created at start-up.
extern std::unique_ptr<GameMenu> menu;
// The current screen size and the cockpit bitmaps of the match.
extern std::unique_ptr<ScreenInfo> screen;
// The font of the frame-rate counter.
extern std::unique_ptr<Font> statusFont;
// The menu's font, loaded with the first menu drawn and kept.
extern std::unique_ptr<Font> menuFont;
// The winner screen's fonts, loaded when it is drawn.
struct WinnerFonts {
    std::unique_ptr<Font> title; // "We have a Winner!"
    std::unique_ptr<Font> name;  // the winner's name
    std::unique_ptr<Font> footer; // the farewell line
};
extern WinnerFonts winnerFonts;
// 1 while the frame-rate counter is shown (F in a match).
extern u32 showFps;
// Frames drawn since fpsValue was last updated.
extern u32 frameCount;
// Frames counted in the last completed second; 0 until the first second has passed.
extern u32 fpsValue;
// Whole-second time stamp of the last update of fpsValue; 0 before the first frame.
extern u32 lastSecond;
// The retrace wait a match's frames are shown with: 2, or 0 for a timed demo.
extern u32 frameSwapWait;

// The bitmaps LoadScreenResources loads, owned here; ScreenInfo and the menu point into them.
struct ScreenBitmaps {
    std::unique_ptr<Bitmap> cockpit;
    std::unique_ptr<OpaqueRuns> cockpitRuns; // the cockpit's pixels but its white
    std::unique_ptr<Bitmap> greenLight;
    std::unique_ptr<Bitmap> blueLight;
    std::unique_ptr<Bitmap> segmentV;
    std::unique_ptr<Bitmap> segmentH;
    std::unique_ptr<Bitmap> sky;
    std::unique_ptr<Bitmap> menuBackground;
};
extern ScreenBitmaps screenBitmaps;
// The scene of the frame being composed; kept, so that its buffers serve every frame.
extern Scene frameScene;

// The driver options of the game: every driver but OpenGL, full-screen modes of
// 8, 15/16, 24 and 32 bits listed, no window-only entries.
inline constexpr DriverOptions defaultGameDriverOptions{1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 15};

// Frees everything above and returns it to its start values.
void resetShell();
