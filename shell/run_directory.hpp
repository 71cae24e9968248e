#pragma once
// The game reads its data by paths relative to the current directory. Started
// from elsewhere, it moves once to the data directory it was built or installed
// with, found relative to the executable.

// Changes to the run directory when the current directory has no "textures.dat".
void enterRunDirectory(const char* argv0);
