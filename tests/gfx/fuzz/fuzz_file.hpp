#pragma once
// The loaders read named files, so each fuzz input is written to one scratch file
// per process first.
#include "base/types.hpp"

#include <cstdio>
#include <string>
#include <unistd.h>

inline const std::string& fuzzFilePath(const char* suffix) {
    static const std::string path = "/tmp/gfx_fuzz_" + std::to_string(::getpid()) + suffix;
    return path;
}

inline bool writeFuzzFile(const std::string& path, const u8* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    if (size) std::fwrite(data, 1, size, f);
    return std::fclose(f) == 0;
}
