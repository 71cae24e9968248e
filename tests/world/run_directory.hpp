#pragma once
// Tests of the loaders run in a fresh temporary run directory, where they write
// their own data files by the game's names ("Objects\stone1.odf").
#include "world/texture.hpp"
#include "world/world.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

class RunDirectory : public testing::Test {
protected:
    void SetUp() override {
        previous = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "tessaron-world-XXXXXX");
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
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
    static void write(std::string_view gameName, std::string_view text) {
        std::string path(gameName);
        for (char& c : path)
            if (c == '\\') c = '/';
        const std::filesystem::path file(path);
        if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }

    std::filesystem::path previous, root;
};

// A regular expression that matches exactly this text (death-test output).
inline std::string exactly(std::string_view text) {
    std::string pattern = "^";
    for (char c : text) {
        if (std::string_view("\\^$.|?*+()[]{}").find(c) != std::string_view::npos) pattern += '\\';
        pattern += c;
    }
    return pattern + "$";
}
