#pragma once
// The game reads its files relative to the current directory: every content
// test runs inside the shipped run directory, with a fresh world.
#include "tests/support/run_directory.hpp"
#include "world/texture.hpp"
#include "world/world.hpp"

#include <gtest/gtest.h>

class InRunDirectory : public ::testing::Test {
  protected:
    void SetUp() override {
        resetWorld();
        resetTextures();
    }
    void TearDown() override {
        resetWorld();
        resetTextures();
    }
    RunDirectory run{RunDirectory::Shipped};
};
