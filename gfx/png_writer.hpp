#pragma once
// Writes pictures as PNG files (through libpng), for screenshots that any viewer
// shows (the game's F12 key and the headless runner's shots) and for the desktop
// icons the icon maker paints. Built only with TESSARON_PNG: without it the game
// saves its screenshots as BMP files and needs neither libpng nor zlib.
#include "base/types.hpp"

#include <string>

// Writes width x height pixels of 24-bit frame rows (bytes blue, green, red; rows
// `bytesPerLine` apart, top row first) as an 8-bit RGB PNG, compressed lightly so
// a screenshot does not hold a match up. False when the file cannot be written
// completely.
bool savePng(const std::string& path, const u8* pixels, u32 width, u32 height, u32 bytesPerLine);

// Writes width x height pixels of bytes red, green, blue, alpha (rows packed, top
// row first) as an 8-bit RGBA PNG, compressed hardest: icons are made once and
// shipped. No time stamp, so a rerun writes the same bytes.
bool saveRgbaPng(const std::string& path, const u8* rgba, u32 width, u32 height);
