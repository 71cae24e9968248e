#pragma once
// Where fonts and bitmaps are looked for: the name itself, then the library root
// + subdirectory + name, then "RGL_ROOT" + subdirectory + name. The first path that
// opens for reading is used (through openDataFile, so backslashes and case are
// handled).
#include <cstdio>
#include <string>
#include <string_view>

// Sets the library's root directory (given when the layer is initialised).
void setLibraryRoot(std::string_view root);

// The candidate paths in search order for `name` in `subdirectory` ("FONTS\").
std::string joinLibraryPath(std::string_view root, std::string_view subdirectory, std::string_view name);

// Opens the first candidate that opens; nullptr when none does.
std::FILE* openLibraryFile(std::string_view name, std::string_view subdirectory);
