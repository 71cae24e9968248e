#include "shell/game_menu.hpp"

#include "base/clock.hpp"
#include "base/program_exit.hpp"
#include "framework/display.hpp"
#include "framework/events.hpp"
#include "framework/main_loop.hpp"
#include "framework/sound.hpp"
#include "gfx/bitmap.hpp"
#include "gfx/font.hpp"
#include "gfx/primitives.hpp"
#include "gfx/text.hpp"
#include "shell/demo.hpp"
#include "shell/draw_frame.hpp"
#include "shell/key_bindings.hpp"
#include "shell/match_sound.hpp"
#include "shell/pause.hpp"
#include "shell/screen_resources.hpp"
#include "shell/settings.hpp"
#include "shell/shell_state.hpp"
#include "shell/sound_bank.hpp"
#include "sim/match_state.hpp"
#include "sim/update_frame.hpp"
#include "world/world.hpp"

namespace {

constexpr const char* levelLines[] = {"Level: Level-A", "Level: Level-B", "Level: Level-C", "Level: Level-D"};

// The menu's clicks, at half volume like every effect.
constexpr u8 menuVolume = 56;

void ignoreEvent(Event*) {}

// A windowed match that loses the keyboard stops until P goes on with it.
void OnMatchActivate(u32 state) {
    if (state == 0) pauseMatch();
}

} // namespace

const char* menuLineText(const GameMenu& m, i32 line) {
    if (m.page == 0) {
        switch (line) {
        case 0: return "Start Game!";
        case 1: return "Graphical Settings";
        case 2:
            if (m.playerChoice == 2) return "Players: 2";
            if (m.playerChoice == 3) return "Players: 3";
            return nullptr;
        case 3: return m.level < 4 ? levelLines[m.level] : nullptr;
        case 4: return "Quit Game";
        }
        return nullptr;
    }
    switch (line) {
    case 0: return m.cockpit ? "Cockpit: On" : "Cockpit: Off";
    case 1: return m.highResolution ? "640x480 @ 24bpp" : "320x240 @ 24bpp";
    case 2: return m.windowed ? "Windowed" : "Not Windowed";
    case 3: return m.realisticSky ? "Realistic Sky" : "Ordinary Sky";
    case 4: return "Go Back";
    }
    return nullptr;
}

void DrawMenu() {
    GameMenu& m = *shell::state.gameMenu;
    putBitmap(*m.display->drawTarget, 1, 1, m.menuBitmap, writeReplace);
    if (!shell::state.menuFont) shell::state.menuFont = loadFont("Fonts\\Char30b.fnt");
    useFont(shell::state.menuFont.get());

    // A grey shadow first, then the lines two pixels right and down of it.
    setColorRGB(115, 115, 115);
    for (i32 line = 0; line < menuLineCount; ++line)
        if (const char* text = menuLineText(m, line)) drawText(100, 160 + 50 * line, text);
    for (i32 line = 0; line < menuLineCount; ++line) {
        if (line == m.cursor)
            setColorRGB(255, 0, 0);
        else
            setColorRGB(255, 255, 255);
        if (const char* text = menuLineText(m, line)) drawText(102, 162 + 50 * line, text);
    }
    SwapBuffers(2);
}

void MenuSelect() {
    GameMenu& m = *shell::state.gameMenu;
    if (m.page == 0) {
        switch (m.cursor) {
        case 1:
            m.page = 1;
            m.cursor = 0;
            break;
        case 2:
            if (m.playerChoice == 2) {
                m.playerChoice = 3;
                m.level = 2;
            } else {
                m.playerChoice = 2;
                m.level = 0;
            }
            break;
        case 3:
            if (m.playerChoice == 2)
                m.level = m.level == 0 ? 1 : m.level == 1 ? 0 : m.level;
            else if (m.playerChoice == 3)
                m.level = m.level == 2 ? 3 : m.level == 3 ? 2 : m.level;
            break;
        case 4: saveSettings(m); exitProgram(0);
        }
    } else {
        switch (m.cursor) {
        case 0:
            // The cockpit covers a full screen; it is not offered in a window.
            if (m.cockpit == 0) {
                m.cockpit = 1;
                m.windowed = 0;
            } else {
                m.cockpit = 0;
            }
            break;
        case 1: m.highResolution ^= 1; break;
        case 2:
            if (m.windowed == 1) {
                m.windowed = 0;
            } else {
                m.windowed = 1;
                m.cockpit = 0;
            }
            break;
        case 3: m.realisticSky ^= 1; break;
        case 4:
            m.page = 0;
            m.cursor = 0;
            break;
        }
    }
    DrawMenu();
}

void StartMatch() {
    GameMenu& m = *shell::state.gameMenu;
    m.inMenu = 0;
    if (!demoPlaying()) saveSettings(m);
    if (demoPlaying())
        loadLevelFile(demoLevelFile());
    else
        loadLevel(m.level);
    sim::match.playerChoice = m.playerChoice;

    // A demo, recorded or played, steps the match through its own callbacks.
    const bool demo = demoActive();
    setMatchSteps(true);
    setDrawFrameHook(demo ? DemoStepDone : DrawFrame);
    // With sound the match is heard: its events play (and each step moves the
    // engines, through the frame callback setMatchSteps chose).
    if (SoundStarted()) setMatchEventListener(OnMatchEvent);
    // The computer players count played seconds: a pause does not run their waits out.
    setMatchClockHook(playedSeconds);
    SetKeyUpCallback(OnKeyUp);
    SetKeyRepeatCallback(ignoreEvent);
    SetMouseDownCallback(ignoreEvent);
    SetModeSwitchCallback(OnModeSwitched);
    SetActivateCallback(OnMatchActivate);

    if (m.highResolution == 1)
        FindMode(shell::state.gameMode, 640, 480, 24);
    else
        FindMode(shell::state.gameMode, 320, 240, 24);
    if (!SetMode(shell::state.gameMode, m.windowed, 2, 1))
        FatalError("ups, Tessaron3D (tm) runs only in 320x240/640x480 with -> 24bit <- color depth :(");
    LoadScreenResources();
    if (demo) beginDemo();
}

void OnModeSwitched(const ModeEntry& /*mode*/, u32 /*windowed*/) {
    SetMode(shell::state.gameMode, shell::state.gameMenu->windowed, 2, 1);
    // The new mode's surfaces start blank; a paused match shows its frame again.
    redrawPaused();
}

void MenuKeyDown() {
    GameMenu& m = *shell::state.gameMenu;
    if (IsControlDown(menuChooseKeys)) {
        PlayEffect(Effect::MenuSelect, SoundLane::Effect, {}, menuVolume);
        if (m.page == 0 && m.cursor == 0)
            StartMatch();
        else
            MenuSelect();
    }
    if (IsControlDown(menuUpKeys)) {
        PlayEffect(Effect::MenuMove, SoundLane::Effect, {}, menuVolume);
        m.cursor = m.cursor == 0 ? menuLineCount - 1 : m.cursor - 1;
        DrawMenu();
    }
    if (IsControlDown(menuDownKeys)) {
        PlayEffect(Effect::MenuMove, SoundLane::Effect, {}, menuVolume);
        m.cursor = m.cursor == menuLineCount - 1 ? 0 : m.cursor + 1;
        DrawMenu();
    }
}
