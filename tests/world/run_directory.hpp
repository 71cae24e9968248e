#pragma once
// Loader tests run in a fresh temporary run directory, where they write their
// own data files by the game's names ("Objects\stone1.odf").
#include "tests/support/world_run.hpp"

#include <array>
#include <string>
#include <string_view>
#include <utility>

class WorldFiles : public WorldRun<RunDirectory::Fresh> {
  protected:
    // Writes a file named the game's way, creating its folder.
    static void write(std::string gameName, std::string_view text) {
        RunDirectory::write(std::move(gameName), text);
    }
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
