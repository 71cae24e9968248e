#pragma once
// The one way data files are opened. Data files are named the way the game's
// files always were, with backslashes ("Levels\Level-A.lvl") and without care
// for case; this turns such a name into a path that opens here.
#include <cstdio>
#include <string>
#include <string_view>

// The name with every backslash turned into '/'.
std::string toSlashPath(std::string_view name);

// The path that names an existing file for `name`: the name itself (backslashes
// turned into '/') when that exists, else the same path with each component
// matched without regard to case. Empty when nothing matches.
std::string findDataFile(std::string_view name);

// Opens a data file found by findDataFile; nullptr when there is none.
std::FILE* openDataFile(std::string_view name, const char* mode = "rb");
