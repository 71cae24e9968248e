#pragma once
// Where fonts and bitmaps are looked for: the name itself, then the library root
// + subdirectory + name, then "RGL_ROOT" + subdirectory + name. The first path that
// opens for reading is used (through openDataFile, so backslashes and case are
// handled).
#include "base/types.hpp"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// Sets the library's root directory (given when the layer is initialised).
void setLibraryRoot(std::string_view root);

// root + "\" (unless the root ends in a separator) + subdirectory ("FONTS\") + name.
std::string joinLibraryPath(std::string_view root, std::string_view subdirectory, std::string_view name);

// Opens the first candidate that opens; nullptr when none does.
std::FILE* openLibraryFile(std::string_view name, std::string_view subdirectory);

// Reads the rest of an open file, at most `limit` bytes, and closes it.
std::vector<u8> readAndClose(std::FILE* file, size_t limit);
