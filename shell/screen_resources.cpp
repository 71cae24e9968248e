#include "shell/screen_resources.hpp"

#include "framework/display.hpp"
#include "gfx/bitmap.hpp"
#include "gfx/device_context.hpp"
#include "shell/game_menu.hpp"
#include "shell/hud.hpp"
#include "shell/screen_info.hpp"
#include "shell/shell_state.hpp"
#include "world/world.hpp"

#include <array>

namespace {

// Black but for white at 12 and 255 and pure blue at 13; it matters only in 8-bit modes.
void installPalette() {
    std::array<PaletteEntry, 256> entries{};
    entries[12] = PaletteEntry{255, 255, 255, 0};
    entries[13] = PaletteEntry{255, 0, 0, 0}; // blue, green, red
    entries[255] = PaletteEntry{255, 255, 255, 0};
    SetPalette(entries.data(), 256, 0);
    RealizePalette(256, 0, 1);
}

void loadCockpit(bool highResolution) {
    const char* const names[2][5] = {
        {"Bitmaps\\cockpit2.bmp", "Bitmaps\\green-light2.bmp", "Bitmaps\\blue-light2.bmp",
         "Bitmaps\\segment_v2.bmp", "Bitmaps\\segment_h2.bmp"},
        {"Bitmaps\\cockpit1.bmp", "Bitmaps\\green-light1.bmp", "Bitmaps\\blue-light1.bmp",
         "Bitmaps\\segment_v1.bmp", "Bitmaps\\segment_h1.bmp"},
    };
    const auto& set = names[highResolution ? 1 : 0];
    shell::state.screenBitmaps.cockpit = loadBitmap(set[0], 1);
    ScreenBitmaps& bitmaps = shell::state.screenBitmaps;
    bitmaps.cockpitRuns = bitmaps.cockpit
                              ? std::make_unique<OpaqueRuns>(findOpaqueRuns(*bitmaps.cockpit, cockpitWhite))
                              : nullptr;
    shell::state.screenBitmaps.greenLight = loadBitmap(set[1], 1);
    shell::state.screenBitmaps.blueLight = loadBitmap(set[2], 1);
    shell::state.screenBitmaps.segmentV = loadBitmap(set[3], 1);
    shell::state.screenBitmaps.segmentH = loadBitmap(set[4], 1);
}

} // namespace

void LoadScreenResources() {
    installPalette();

    const DeviceContext& target = *shell::state.openDisplay->drawTarget;
    auto info = std::make_unique<ScreenInfo>();
    info->maxX = static_cast<u16>(getMaxX(target));
    info->maxY = static_cast<u16>(getMaxY(target));
    info->size = screenSizeOf(info->maxX, info->maxY);

    placePlayerEyes();

    const bool size640 = info->size == ScreenSize::Size640x480;
    const bool size320 = info->size == ScreenSize::Size320x240;
    if (shell::state.gameMenu->cockpit && (size640 || size320)) {
        loadCockpit(size640);
    } else {
        shell::state.screenBitmaps.cockpit.reset();
        shell::state.screenBitmaps.cockpitRuns.reset();
        shell::state.screenBitmaps.greenLight.reset();
        shell::state.screenBitmaps.blueLight.reset();
        shell::state.screenBitmaps.segmentV.reset();
        shell::state.screenBitmaps.segmentH.reset();
    }
    info->cockpitBitmap = shell::state.screenBitmaps.cockpit.get();
    info->cockpitRuns = shell::state.screenBitmaps.cockpitRuns.get();
    info->greenLightBitmap = shell::state.screenBitmaps.greenLight.get();
    info->blueLightBitmap = shell::state.screenBitmaps.blueLight.get();
    info->segmentVBitmap = shell::state.screenBitmaps.segmentV.get();
    info->segmentHBitmap = shell::state.screenBitmaps.segmentH.get();
    shell::state.currentScreen = std::move(info);

    if (shell::state.gameMenu->realisticSky) {
        shell::state.screenBitmaps.sky = loadBitmap(size640 ? "Bitmaps\\sky1.bmp" : "Bitmaps\\sky2.bmp", 1);
        shell::state.gameMenu->skyBitmap = shell::state.screenBitmaps.sky.get();
    }
    shell::state.screenBitmaps.menuBackground = loadBitmap("Bitmaps\\main-256.bmp", 1);
    shell::state.gameMenu->menuBitmap = shell::state.screenBitmaps.menuBackground.get();
}
