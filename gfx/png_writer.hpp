#pragma once
// Writes frames as PNG files (through libpng), for screenshots that any viewer
// shows: the game's F12 key and the headless runner's shots.
#include "base/types.hpp"

#include <string>

// Writes width x height pixels of 24-bit frame rows (bytes blue, green, red; rows
// `bytesPerLine` apart, top row first) as an 8-bit RGB PNG. False when the file
// cannot be written completely.
bool savePng(const std::string& path, const u8* pixels, u32 width, u32 height, u32 bytesPerLine);
