#pragma once
// F12: the frame on show, in the game's own pixels, as a PNG file (a BMP file in
// a game built without libpng).

// Writes the current frame as shotNNNN.png (the next free number) into
// $XDG_DATA_HOME/tessaron3d/screenshots/ (~/.local/share/... when XDG_DATA_HOME
// is not set), making the folder when it is missing, and prints the file's path
// on standard output. When that fails, one line on standard error says so and
// the game goes on.
void SaveScreenshot();
