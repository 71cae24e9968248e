#pragma once
// The shell's program-wide values: what start-up creates and the menu, the frame
// composition and the key bindings share. One record, shell::state; it lives
// until the program ends, and tests start clean with resetShell().
#include "base/types.hpp"
#include "framework/display.hpp"
#include "framework/modes.hpp"
#include "render/scene.hpp"
#include "shell/demo_session.hpp"
#include "shell/pause.hpp"
#include "shell/screen_info.hpp"
#include "shell/settings.hpp"
#include "shell/sound_bank.hpp"

#include <memory>

struct Bitmap;
struct OpaqueRuns;
struct Font;
struct GameMenu;

// The winner screen's fonts, loaded when it is drawn.
struct WinnerFonts {
    std::unique_ptr<Font> title;  // "We have a Winner!"
    std::unique_ptr<Font> name;   // the winner's name
    std::unique_ptr<Font> footer; // the farewell line
};

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

// The driver options of the game: every driver but OpenGL, full-screen modes of
// 8, 15/16, 24 and 32 bits listed, no window-only entries.
inline constexpr DriverOptions defaultGameDriverOptions{1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 15};

namespace shell {

struct State {
    // The drivers the game allows and the modes it wants listed, handed to the framework.
    DriverOptions gameDriverOptions = defaultGameDriverOptions;
    // The framework's display record; its draw target is where every frame is drawn.
    FrameworkDisplay* openDisplay = nullptr;
    // The display mode the game last asked for.
    ModeEntry gameMode{};
    // Settings and menu state, created at start-up.
    std::unique_ptr<GameMenu> gameMenu;
    // The current frame's size and the cockpit bitmaps of the match.
    std::unique_ptr<ScreenInfo> currentScreen;
    // The font of the frame-rate counter.
    std::unique_ptr<Font> statusFont;
    // The menu's font, loaded with the first menu drawn and kept.
    std::unique_ptr<Font> menuFont;
    // The HUD's labels font, loaded with the first HUD drawn and kept.
    std::unique_ptr<Font> hudFont;
    // The winner screen's fonts, loaded when it is drawn.
    WinnerFonts winnerFonts;
    // 1 while the frame-rate counter is shown (F in a match).
    u32 showFps = 0;
    // Frames drawn since fpsValue was last updated.
    u32 frameCount = 0;
    // Frames counted in the last completed second; 0 until the first second has passed.
    u32 fpsValue = 0;
    // Whole-second time stamp of the last update of fpsValue; 0 before the first frame.
    u32 lastSecond = 0;
    // The retrace wait a match's frames are shown with: 2, or 0 for a timed demo.
    u32 frameSwapWait = 2;
    // The bitmaps LoadScreenResources loads; currentScreen and the menu point into them.
    ScreenBitmaps screenBitmaps;
    // The demo recorded or played in this run.
    DemoSession demo;
    // The game's sound effects, loaded at start-up when the game has sound (all 0
    // without: -nosound, a timed demo, no sound device).
    SoundBank soundBank;
    // The scene of the frame being composed; kept, so that its buffers serve every frame.
    Scene frameScene;
    // The match's pause and the seconds it stood paused.
    PauseState pause;
    // The file the menu's choices are remembered in.
    SettingsStore settings;
};

extern State state;

} // namespace shell

// Frees everything above and assigns a fresh record.
void resetShell();
