#pragma once
// The game reads its files relative to the current directory: every content
// test runs inside the shipped run directory, with a fresh world.
#include "world/texture.hpp"
#include "world/world.hpp"

#include <gtest/gtest.h>

#include <filesystem>

class InRunDirectory : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::current_path(TESSARON_CONTENT_DIR);
        resetWorld();
        resetTextures();
    }
    void TearDown() override {
        resetWorld();
        resetTextures();
        std::filesystem::current_path(previous);
    }
    std::filesystem::path previous = std::filesystem::current_path();
};
