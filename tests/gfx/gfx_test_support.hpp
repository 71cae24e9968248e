#pragma once
// Helpers of the graphics tests: a scratch directory that becomes the current
// directory, file writing, memory contexts.
#include "base/types.hpp"
#include "gfx/device_context.hpp"
#include "gfx/gfx_state.hpp"

#include "gfx_loader_cases.hpp"

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

// A memory context made current.
inline std::unique_ptr<DeviceContext> currentMemoryContext(i32 width, i32 height, i32 bits,
                                                           const PixelFormat* format = nullptr) {
    auto dc = createMemoryContext(width, height, bits, format);
    makeCurrentContext(dc.get());
    return dc;
}
