#pragma once
// A test in a run directory (the shipped one, or a fresh one for its own files)
// with an empty world and texture library, emptied again when it ends.
#include "tests/support/run_directory.hpp"
#include "world/texture.hpp"
#include "world/world.hpp"

#include <gtest/gtest.h>

template <RunDirectory::Kind kind> class WorldRun : public testing::Test {
  protected:
    void SetUp() override {
        resetWorld();
        resetTextures();
    }
    void TearDown() override {
        resetWorld();
        resetTextures();
    }

    RunDirectory run{kind};
};

// The content tests read the shipped files.
using InRunDirectory = WorldRun<RunDirectory::Shipped>;
