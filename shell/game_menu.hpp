#pragma once
// The two-page text menu shown before a match, and the settings it keeps for the
// whole run. The match reads the settings from it.
#include "base/types.hpp"

struct Bitmap;
struct FrameworkDisplay;
struct ModeEntry;

struct GameMenu {
    explicit GameMenu(FrameworkDisplay* menuDisplay) : display(menuDisplay) {}

    u32 page = 0;                       // 0 main page, 1 graphics page
    i32 cursor = 0;                     // highlighted line, 0 to 4
    FrameworkDisplay* display;          // the menu is drawn into its draw target
    u32 cockpit = 1;                    // show the cockpit bitmaps in a match
    u32 realisticSky = 1;               // sliding sky bitmap instead of a plain gradient
    u32 windowed = 0;                   // play the match in a window
    u32 highResolution = 0;             // 0: match at 320x240; 1: at 640x480
    u32 inMenu = 1;                     // 1 while the menu is shown
    u32 renderToggle = 0;               // outline drawing of the scene (F10 in a match)
    const Bitmap* menuBitmap = nullptr; // "Bitmaps\main-256.bmp"
    const Bitmap* skyBitmap = nullptr;  // the sky of the match's resolution
    i32 skyScroll = 0;                  // x position of the sky bitmap
    u16 playerChoice = 2;               // 2 or 3 players: the levels offered and the win rule
    u16 level = 0;                      // 0 to 3: Level-A to Level-D
};

// Number of lines on each page.
inline constexpr i32 menuLineCount = 5;

// The text of a line of the current page; null for a players or level line whose
// value is out of range (such a line is not drawn).
const char* menuLineText(const GameMenu& gameMenu, i32 line);

// Draws the current page over the background picture and shows it.
void DrawMenu();

// The action of Enter on any line but "Start Game!".
void MenuSelect();

// The action of Enter on "Start Game!": loads the level, registers the match
// callbacks, sets the match's display mode and fits the screen resources to it.
void StartMatch();

// After a switch the framework made by itself (Alt+Enter, maximise, a desktop
// change): back to the mode and window choice of the settings.
void OnModeSwitched(const ModeEntry& mode, u32 windowed);

// The menu's keys: Enter, Up, Down (a gamepad's A and its d-pad or stick up and down).
void MenuKeyDown();
