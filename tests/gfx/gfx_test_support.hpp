#pragma once
// Helpers of the graphics tests: a scratch directory that becomes the current
// directory, file writing, and a builder for hand-made BMP files.
#include "base/types.hpp"
#include "gfx/device_context.hpp"
#include "gfx/gfx_state.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

// A fresh directory for the test's files, made current for its lifetime; the
// graphics state starts clean.
class ScratchDir {
public:
    ScratchDir() {
        char pattern[] = "/tmp/gfx_test_XXXXXX";
        path_ = ::mkdtemp(pattern);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(path_);
        resetGfx();
        ::unsetenv("RGL_ROOT");
    }
    ~ScratchDir() {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(path_);
        resetGfx();
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::filesystem::path previous_;
};

inline void writeBytes(const std::string& path, const std::vector<u8>& bytes) {
    const std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

inline void put16(std::vector<u8>& out, u32 v) {
    out.push_back(static_cast<u8>(v));
    out.push_back(static_cast<u8>(v >> 8));
}

inline void put32(std::vector<u8>& out, u32 v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A BMP file field by field, so tests can make every variant and every fault.
struct BmpBuilder {
    i32 width = 1;
    i32 height = 1;
    u32 bits = 24;
    u32 compression = 0;
    u32 colorsUsed = 0;
    u32 infoSize = 40;
    u32 planes = 1;
    std::vector<u8> palette; // raw bytes after the headers (palette or masks)
    std::vector<u8> rows;    // raw row bytes as stored in the file

    std::vector<u8> build() const {
        std::vector<u8> out{'B', 'M'};
        put32(out, static_cast<u32>(54 + palette.size() + rows.size()));
        put32(out, 0);
        put32(out, static_cast<u32>(54 + palette.size()));
        put32(out, infoSize);
        put32(out, static_cast<u32>(width));
        put32(out, static_cast<u32>(height));
        put16(out, planes);
        put16(out, bits);
        put32(out, compression);
        put32(out, static_cast<u32>(rows.size()));
        put32(out, 0);
        put32(out, 0);
        put32(out, colorsUsed);
        put32(out, 0);
        out.insert(out.end(), palette.begin(), palette.end());
        out.insert(out.end(), rows.begin(), rows.end());
        return out;
    }
};

// A memory context made current.
inline std::unique_ptr<DeviceContext> currentMemoryContext(i32 width, i32 height, i32 bits,
                                                           const PixelFormat* format = nullptr) {
    auto dc = createMemoryContext(width, height, bits, format);
    makeCurrentContext(dc.get());
    return dc;
}
