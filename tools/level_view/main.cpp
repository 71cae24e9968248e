// level_view: one frame of a level, as the player would see it, written as a BMP.
//
//   level_view <run directory> <level 0-4> <out.bmp> [player [heading [x y]]] [--cockpit]
//
// The camera stands at the player's start (player 1 by default) looking along
// `heading` (65536 to the turn, 16384 = +x, the start heading), or at (x, y).
// With --cockpit the game's head-up display is drawn over the view, with the
// cockpit, lamps and digits of 640x480, for that player.
#include "gfx/bitmap.hpp"
#include "gfx/bitmap_writer.hpp"
#include "gfx/device_context.hpp"
#include "gfx/primitives.hpp"
#include "render/scene.hpp"
#include "shell/background.hpp"
#include "shell/hud.hpp"
#include "shell/screen_info.hpp"
#include "world/camera.hpp"
#include "world/player.hpp"
#include "world/texture.hpp"
#include "world/world.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    bool cockpit = false;
    std::erase_if(args, [&](const std::string& a) { return a == "--cockpit" && (cockpit = true); });
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: level_view <run directory> <level 0-4> <out.bmp> "
                             "[player [heading [x y]]] [--cockpit]\n");
        return 2;
    }
    const std::string out = std::filesystem::absolute(args[2]).string();
    std::filesystem::current_path(args[0]);
    loadTextures();
    loadLevel(static_cast<u16>(std::atoi(args[1].c_str())));
    const int player = args.size() > 3 ? std::atoi(args[3].c_str()) : 1;
    if (player < 1 || player > world::state.playerCount) {
        std::fprintf(stderr, "level_view: the level has %u players\n", world::state.playerCount);
        return 2;
    }
    Player& p = *world::state.players[player - 1];
    const u16 heading = args.size() > 4 ? static_cast<u16>(std::atoi(args[4].c_str())) : initialHeading;
    const u32 x = args.size() > 6 ? static_cast<u32>(std::atol(args[5].c_str())) : p.startX;
    const u32 y = args.size() > 6 ? static_cast<u32>(std::atol(args[6].c_str())) : p.startY;

    auto dc = createMemoryContext(640, 480, 24);
    makeCurrentContext(dc.get());
    const auto sky = loadBitmap("Bitmaps\\sky1.bmp", 1);
    paintBackground(*dc, 639, true, sky.get(), 0);

    p.camera = std::make_unique<Camera>(playerEye(x, y, heading));
    ScreenInfo screen;
    screen.maxX = 639;
    screen.maxY = 479;
    screen.size = screenSizeOf(screen.maxX, screen.maxY);
    Scene scene =
        buildScene(world::state.worldGrid, *p.camera, screen.maxX, screen.maxY, world::state.playerColours);
    drawScene(scene, 0);
    freeScene(scene);
    if (cockpit) {
        const auto panel = loadBitmap("Bitmaps\\cockpit1.bmp", 1);
        const auto green = loadBitmap("Bitmaps\\green-light1.bmp", 1);
        const auto blue = loadBitmap("Bitmaps\\blue-light1.bmp", 1);
        const auto vertical = loadBitmap("Bitmaps\\segment_v1.bmp", 1);
        const auto horizontal = loadBitmap("Bitmaps\\segment_h1.bmp", 1);
        const OpaqueRuns panelRuns = panel ? findOpaqueRuns(*panel, cockpitWhite) : OpaqueRuns{};
        screen.cockpitBitmap = panel.get();
        screen.cockpitRuns = &panelRuns;
        screen.greenLightBitmap = green.get();
        screen.blueLightBitmap = blue.get();
        screen.segmentVBitmap = vertical.get();
        screen.segmentHBitmap = horizontal.get();
        DrawHud(p, *dc, screen, 1);
        resetHud();
    }
    if (!saveContextBitmap(out, *dc)) {
        std::fprintf(stderr, "level_view: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}
