#pragma once
// Helpers of the graphics tests: a scratch directory that becomes the current
// directory, file writing, memory contexts.
#include "base/types.hpp"
#include "gfx/device_context.hpp"
#include "gfx/gfx_state.hpp"
#include "tests/support/run_directory.hpp"

#include "gfx_loader_cases.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

// A fresh current directory for the test's files; the graphics state starts clean.
struct ScratchDir {
    RunDirectory run{RunDirectory::Fresh};
    std::string path = run.root().string();
    ScratchDir() {
        resetGfx();
        ::unsetenv("RGL_ROOT");
    }
    ~ScratchDir() { resetGfx(); }
};

inline void writeBytes(const std::string& path, const std::vector<u8>& bytes) {
    ASSERT_TRUE(writeFileBytes(path, bytes.data(), bytes.size())) << path;
}

// A memory context made current.
inline std::unique_ptr<DeviceContext> currentMemoryContext(i32 width, i32 height, i32 bits) {
    auto dc = createMemoryContext(width, height, bits);
    makeCurrentContext(dc.get());
    return dc;
}

using Pixels = std::set<std::pair<i32, i32>>;

// The positions of a context whose pixels differ from 0.
inline Pixels inkOf(const DeviceContext& dc) {
    Pixels ink;
    for (i32 y = 0; y <= getMaxY(dc); ++y)
        for (i32 x = 0; x <= getMaxX(dc); ++x)
            if (readPixel(dc, x, y)) ink.insert({x, y});
    return ink;
}
