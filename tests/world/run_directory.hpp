#pragma once
// Loader tests run in a fresh temporary run directory, where they write their
// own data files by the game's names ("Objects\stone1.odf").
#include "world/texture.hpp"
#include "world/world.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class RunDirectory : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = std::filesystem::temp_directory_path() / "tessaron-world-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        previous = std::filesystem::current_path();
        root = pattern;
        std::filesystem::current_path(root);
        resetWorld();
        resetTextures();
    }
    void TearDown() override {
        resetWorld();
        resetTextures();
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(root);
    }

    // Writes a file named the game's way, creating its folder.
    static void write(std::string gameName, std::string_view text) {
        std::replace(gameName.begin(), gameName.end(), '\\', '/');
        const std::filesystem::path file(gameName);
        if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }

    std::filesystem::path previous, root;
};

// Death-test output of exactly this text.
inline testing::Matcher<const std::string&> exactly(const std::string& text) {
    return text;
}

// An object's ground box and height: {minX, minY, maxX, maxY, height}.
using Extent = std::array<u32, 5>;
inline Extent extentOf(const WorldObject& o) {
    return {o.minX, o.minY, o.maxX, o.maxY, o.height};
}

inline const auto exitsWithOne = testing::ExitedWithCode(1);
