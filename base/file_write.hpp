#pragma once
// Writing a whole file at once, for the tools and tests that make data files.
#include "base/types.hpp"

#include <string>
#include <vector>

// Writes the bytes as the file's whole content. False when it cannot be written completely.
bool writeFileBytes(const std::string& path, const std::vector<u8>& bytes);
