// A composed frame in steady play allocates nothing: the frame of a match on
// every shipped level, at both sizes, with the cockpit and the sliding sky, the
// eye moving and turning, drawn a few hundred times (once the scene's buffers
// have grown to what the views need) while every call of the global operator
// new is counted. This executable replaces operator new, so it
// holds this one test.
#include "base/clock.hpp"
#include "framework/display.hpp"
#include "framework/memory_platform.hpp"
#include "framework/modes.hpp"
#include "gfx/font.hpp"
#include "shell/draw_frame.hpp"
#include "shell/game_menu.hpp"
#include "shell/reset_game.hpp"
#include "shell/screen_resources.hpp"
#include "shell/shell_state.hpp"
#include "world/camera.hpp"
#include "world/player.hpp"
#include "world/texture.hpp"
#include "world/world.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

namespace {
std::atomic<u64> allocations{0};

} // namespace

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

u32 fakeSeconds = 0;
u32 fakeClock() {
    return fakeSeconds;
}

// The eye goes round a path of this many frames; buffers grow during the
// first laps and serve every lap after.
constexpr u32 lap = 120;

// The allocations of `laps` laps after `warmUpLaps`, the eye of player 1
// wandering about its start and turning.
u64 allocationsOfLaps(u16 level, u32 width, u32 height, u32 warmUpLaps, u32 laps) {
    resetGame();
    useMemoryPlatform(1024, 768);
    setClockSource(fakeClock);
    shell::state.openDisplay = InitFramework("test");
    EXPECT_NE(shell::state.openDisplay, nullptr);
    EXPECT_EQ(FindMode(shell::state.gameMode, width, height, 24), 1u);
    EXPECT_EQ(SetMode(shell::state.gameMode, 0, 2, 1), 1u);
    shell::state.gameMenu = std::make_unique<GameMenu>(shell::state.openDisplay);
    shell::state.gameMenu->cockpit = 1;
    shell::state.gameMenu->realisticSky = 1;
    shell::state.gameMenu->inMenu = 0;
    loadTextures();
    loadLevel(level);
    LoadScreenResources();
    shell::state.statusFont = loadFont("Fonts\\Char16.fnt");
    shell::state.showFps = 1;

    Player& human = *world::state.players[0];
    u64 counted = 0;
    for (u32 frame = 0; frame < (warmUpLaps + laps) * lap; ++frame) {
        const u32 x = human.startX + (frame % 40) * 700;
        const u32 y = human.startY + (frame % 24) * 500;
        *human.camera = playerEye(x, y, static_cast<u16>(initialHeading + (frame % lap) * 546));
        fakeSeconds = 1000 + frame / 30; // the frame counter shows from the second second
        const u64 before = allocations;
        DrawFrame();
        if (frame >= warmUpLaps * lap) counted += allocations - before;
    }
    resetGame();
    resetClock();
    return counted;
}

} // namespace

TEST(FrameAllocations, AComposedFrameInSteadyPlayAllocatesNothing) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(TESSARON_DATA_DIR);
    for (u16 level = 0; level < 4; ++level) {
        EXPECT_EQ(allocationsOfLaps(level, 640, 480, 2, 3), 0u) << "level " << level << " at 640x480";
        EXPECT_EQ(allocationsOfLaps(level, 320, 240, 2, 3), 0u) << "level " << level << " at 320x240";
    }
    std::filesystem::current_path(previous);
}
