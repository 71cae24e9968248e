#pragma once
// The menu's choices remembered between runs: players, level, cockpit,
// resolution, window and sky, kept in a small INI file,
//
//     [menu]
//     players = 2
//     level = Level-A
//     cockpit = on
//     resolution = 320x240
//     window = off
//     sky = realistic
//
// loaded at start-up and saved when a match starts and when the game quits. Only
// the program's entry names the file (the user's); tests and tools run without
// one and so never read or write it. A file that is missing gives the defaults;
// a damaged one gives the defaults for what is wrong, with one line on standard
// error, and is written whole at the next save; a file that cannot be written
// costs one line on standard error, never the game. A save writes a temporary
// file beside it and renames it over the old one, so a crash never leaves half
// a file.
#include "base/types.hpp"

#include <string>

struct GameMenu;

// The settings file of this run, kept in shell::state.
struct SettingsStore {
    std::string file;        // empty: nothing is loaded or saved
    bool saveFailed = false; // a failed save was reported (once a run is enough)
};

// The user's settings file: $XDG_CONFIG_HOME/tessaron3d/settings.ini, or
// ~/.config/tessaron3d/settings.ini when XDG_CONFIG_HOME is unset, empty or not
// an absolute path; empty when HOME is unset too.
std::string userSettingsFile();

// The file this run loads and saves; empty (the start value) for none.
void useSettingsFile(const std::string& path);

// The settings as the file holds them.
std::string settingsText(const GameMenu& menu);

// Sets the menu's settings from a file's text, each to the default (a new
// GameMenu's) when its line is wrong or the lines disagree (a cockpit in a
// window, a level of the other player count); settings without a line keep
// their value. Returns the number of lines found wrong, and in `problem` a
// short description of the first.
u32 applySettingsText(const std::string& text, GameMenu& menu, std::string& problem);

// Loads the run's file into the menu's settings (nothing without a file).
void loadSettings(GameMenu& menu);
// Saves the menu's settings into the run's file (nothing without a file).
void saveSettings(const GameMenu& menu);

// Back to no file (tests, a new run).
void resetSettings();
