#include "framework/display.hpp"

#include "base/fatal.hpp"
#include "base/program_exit.hpp"
#include "framework/frame_copy.hpp"
#include "framework/framework_state.hpp"
#include "framework/sound.hpp"
#include "gfx/bitmap.hpp"
#include "gfx/gfx_error.hpp"
#include "gfx/gfx_state.hpp"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr size_t maxTitleLength = 79;

// What frame and caption leave of a desktop length for the client area.
u32 lengthLess(u32 length, u32 less) {
    return length > less ? length - less : 0;
}

// A window of that client size would cover the desktop in width or height.
bool reachesDesktop(u32 clientWidth, u32 clientHeight) {
    return clientWidth + framework::state.windowFrame.width >=
               framework::state.displayHardware.desktopWidth ||
           clientHeight + framework::state.windowFrame.height >=
               framework::state.displayHardware.desktopHeight;
}

// Closes the window and lets go of the display.
void closeDisplay() {
    releaseDisplaySurfaces();
    if (!framework::state.displayOpen) return;
    if (framework::state.windowExists) framework::state.platform->destroyWindow();
    framework::state.windowExists = false;
    // Messages still on their way concern a window that is gone.
    PlatformMessage message;
    while (framework::state.platform->pollMessage(message)) {
    }
    framework::state.platform->closeDisplay();
    framework::state.displayOpen = false;
}

bool ensureWindow() {
    if (framework::state.windowExists) return true;
    // The maximise box asks for a mode switch, which only means something once
    // the game takes the switch back to its own settings.
    if (!framework::state.platform->createWindow(framework::state.windowTitle.c_str(),
                                                 framework::state.modeSwitchCallback != nullptr))
        return false;
    framework::state.windowExists = true;
    framework::state.windowFrame = framework::state.platform->frameExtent();
    return true;
}

// Builds the display's pages and contexts and, when asked, the back buffer, all
// starting black. The display is width x height at its depth; with two or more
// pages drawing starts on page 1 while page 0 is shown.
bool makeSurfaces(u32 width, u32 height, u32 bitsPerPixel, u32 pages, bool withBackBuffer, u32 backWidth,
                  u32 backHeight, u32 backBitsPerPixel) {
    const PixelFormat displayFormat = defaultPixelFormat(static_cast<int>(bitsPerPixel));
    const u32 pitch = width * ((bitsPerPixel + 7) / 8);
    framework::state.displayPages.assign(pages, std::vector<u8>(static_cast<size_t>(pitch) * height));
    framework::state.visiblePage = 0;
    framework::state.drawPage = pages > 1 ? 1 : 0;
    framework::state.displayContext = createContextOver(
        framework::state.displayPages[framework::state.drawPage].data(), static_cast<i32>(width),
        static_cast<i32>(height), static_cast<i32>(pitch), static_cast<i32>(bitsPerPixel), &displayFormat);
    if (!framework::state.displayContext) return false;
    if (withBackBuffer) {
        const PixelFormat backFormat = defaultPixelFormat(static_cast<int>(backBitsPerPixel));
        framework::state.backBufferContext =
            createMemoryContext(static_cast<i32>(backWidth), static_cast<i32>(backHeight),
                                static_cast<i32>(backBitsPerPixel), &backFormat);
        if (!framework::state.backBufferContext) return false;
    }
    DeviceContext* target =
        withBackBuffer ? framework::state.backBufferContext.get() : framework::state.displayContext.get();
    framework::state.frameworkDisplay = {target, framework::state.displayContext.get(),
                                         framework::state.backBufferContext.get()};
    framework::state.shownPalette = framework::state.displayContext->palette;
    const u32 outWidth = surfaceWidth(*framework::state.displayContext);
    const u32 outHeight = surfaceHeight(*framework::state.displayContext);
    framework::state.scaledOutput = withBackBuffer && (backWidth != outWidth || backHeight != outHeight);
    framework::state.outputWidth = outWidth;
    framework::state.outputHeight = outHeight;
    return true;
}

u32 setWindowedMode(const ModeEntry& entry) {
    if (!ensureWindow()) return 0;
    const u32 desktopWidth = framework::state.displayHardware.desktopWidth;
    const u32 desktopHeight = framework::state.displayHardware.desktopHeight;

    // The client size: 320-wide modes of other heights show as 320x240 and 640-wide
    // ones as 640x480, so the picture keeps the 4:3 shape of the screen.
    u32 width = entry.width;
    u32 height = entry.height;
    if (width == 320 && (height == 200 || height == 400 || height == 480)) height = 240;
    if (width == 640) height = 480;
    // A size as large as the desktop in either direction takes the whole desktop,
    // less what the frame and caption need, in both directions.
    if (width >= desktopWidth || height >= desktopHeight) {
        width = lengthLess(desktopWidth, framework::state.windowFrame.width);
        height = lengthLess(desktopHeight, framework::state.windowFrame.height);
    }
    // Small modes show at twice the size when that still fits on the desktop.
    u32 scaleX = entry.windowScale >= 2 ? 2 : 1;
    u32 scaleY = entry.windowScale >= 1 ? 2 : 1;
    if (reachesDesktop(scaleX * width, scaleY * height)) scaleX = scaleY = 1;
    const u32 clientWidth = scaleX * width;
    const u32 clientHeight = scaleY * height;

    if (!framework::state.windowPlaced) {
        const u32 outerWidth = clientWidth + framework::state.windowFrame.width;
        const u32 outerHeight = clientHeight + framework::state.windowFrame.height;
        // Centred; a window larger than the desktop starts at its top-left corner.
        framework::state.windowPosition.x =
            outerWidth < desktopWidth ? static_cast<i32>(desktopWidth - outerWidth) / 2 : 0;
        framework::state.windowPosition.y =
            outerHeight < desktopHeight ? static_cast<i32>(desktopHeight - outerHeight) / 2 : 0;
        framework::state.windowPlaced = true;
    } else if (!framework::state.fullScreen) {
        // Keep the window where the player may have moved it.
        framework::state.windowPosition = framework::state.platform->windowPlace();
    }
    framework::state.platform->showWindow(framework::state.windowPosition, clientWidth, clientHeight);

    // The back buffer has the entry's own size and the desktop's depth; the mode's
    // depth plays no part in a window.
    const u32 backBits = lowerDepthForFilter(framework::state.driverOptions.modeFilter,
                                             framework::state.displayHardware.desktopBitsPerPixel);
    if (!makeSurfaces(clientWidth, clientHeight, framework::state.displayHardware.desktopBitsPerPixel, 1,
                      true, entry.width, entry.height, backBits))
        return 0;
    framework::state.fullScreen = 0;
    return 1;
}

u32 setFullScreenMode(const ModeEntry& entry, u32 pages, u32 systemMemoryBuffer) {
    if (entry.mode < 0) return 0;
    const OfferedMode* offered = findOfferedMode(
        framework::state.displayHardware, framework::state.registeredDrivers, static_cast<u32>(entry.mode));
    if (!offered) return 0;
    const GraphicsMode mode = graphicsMode(offered->mode);

    if (framework::state.windowExists && framework::state.windowPlaced && !framework::state.fullScreen)
        framework::state.windowPosition = framework::state.platform->windowPlace();
    if (!ensureWindow()) return 0;
    const u32 usedPages = std::max(1u, std::min(offered->pages, pages));
    if (!framework::state.platform->enterFullScreen(mode.width, mode.height)) return 0;
    // Keys held across the switch read as up afterwards.
    ResetEvents();

    u32 backWidth = mode.width;
    u32 backHeight = mode.height;
    if (entry.scaling == 1) backHeight = mode.height / 2;
    if (entry.scaling == 2) {
        backWidth = mode.width / 2;
        backHeight = mode.height / 2;
    }
    // Only a double-buffered display without scaling lets the game draw straight
    // into its hidden page.
    const bool canDrawOnPage = usedPages >= 2 && (offered->flags & modeCapPageFlip);
    const bool withBackBuffer = entry.scaling != 0 || systemMemoryBuffer == 1 || !canDrawOnPage;
    const u32 backBits = lowerDepthForFilter(framework::state.driverOptions.modeFilter, mode.bitsPerPixel);
    if (!makeSurfaces(mode.width, mode.height, mode.bitsPerPixel, usedPages, withBackBuffer, backWidth,
                      backHeight, backBits))
        return 0;
    framework::state.fullScreen = 1;
    return 1;
}

void rebuildModeList() {
    framework::state.registeredDrivers = registerDrivers(framework::state.driverOptions);
    framework::state.modeList = listModes(framework::state.driverOptions, framework::state.displayHardware,
                                          framework::state.registeredDrivers);
}

} // namespace

void SetDriverOptions(const DriverOptions& options) {
    if (options == framework::state.driverOptions) return;
    framework::state.driverOptions = options;
    framework::state.registeredDrivers.clear();
    if (framework::state.displayOpen) rebuildModeList();
}

FrameworkDisplay* InitFramework(const char* title) {
    // Start from scratch, keeping only the options the game has given.
    const DriverOptions options = framework::state.driverOptions;
    resetFramework();
    framework::state.driverOptions = options;

    framework::state.windowTitle = std::string(title ? title : "").substr(0, maxTitleLength);
    setFatalHook(FatalError);
    if (!framework::state.platform ||
        !framework::state.platform->openDisplay(framework::state.displayHardware)) {
        setLastError(gfxHardwareNotDetected);
        return nullptr;
    }
    framework::state.displayOpen = true;
    rebuildModeList();
    return &framework::state.frameworkDisplay;
}

u32 FindMode(ModeEntry& entry, u32 width, u32 height, i32 bitsPerPixel) {
    for (const ModeEntry& e : framework::state.modeList.entries) {
        if (e.width != width || e.height != height) continue;
        if (bitsPerPixel != -1 && e.bitsPerPixel != static_cast<u32>(bitsPerPixel)) continue;
        entry = e;
        return 1;
    }
    return 0;
}

u32 SetMode(const ModeEntry& entry, u32 windowed, u32 pages, u32 systemMemoryBuffer) {
    // An entry that names no size (a FindMode that found nothing) cannot be shown.
    if (!framework::state.displayOpen || entry.width == 0 || entry.height == 0) return 0;
    const ModeEntry chosen = entry; // the game may pass currentMode itself
    releaseDisplaySurfaces();
    const u32 ok =
        windowed == 1 ? setWindowedMode(chosen) : setFullScreenMode(chosen, pages, systemMemoryBuffer);
    if (!ok) {
        releaseDisplaySurfaces();
        return 0;
    }
    framework::state.currentMode = chosen;
    framework::state.currentPages = pages;
    framework::state.currentSystemMemory = systemMemoryBuffer;
    makeCurrentContext(framework::state.frameworkDisplay.drawTarget);
    return 1;
}

void SwapBuffers(u32 wait) {
    if (!framework::state.displayContext) return;
    DeviceContext& display = *framework::state.displayContext;
    if (framework::state.backBufferContext) {
        const DeviceContext& back = *framework::state.backBufferContext;
        if (framework::state.scaledOutput)
            copyFrame(back, surfaceWidth(back), surfaceHeight(back), display, framework::state.outputWidth,
                      framework::state.outputHeight);
        else {
            const u32 width = std::min(surfaceWidth(back), surfaceWidth(display));
            const u32 height = std::min(surfaceHeight(back), surfaceHeight(display));
            copyFrame(back, width, height, display, width, height);
        }
    }
    if (framework::state.displayPages.size() > 1) {
        // The page just drawn goes on show; drawing moves on to the next one.
        framework::state.visiblePage = framework::state.drawPage;
        framework::state.drawPage =
            (framework::state.drawPage + 1) % static_cast<u32>(framework::state.displayPages.size());
        display.surface = framework::state.displayPages[framework::state.drawPage].data();
    }
    // While the display is taken away there is nothing to show it on.
    if (framework::state.windowExists && framework::state.active) {
        PresentedFrame frame =
            presentableFrame(framework::state.displayPages[framework::state.visiblePage].data(), display,
                             framework::state.shownPalette, framework::state.presentScratch);
        frame.paced = wait != 0;
        framework::state.platform->present(frame);
    }
}

PresentedFrame CurrentFrame(std::vector<u8>& scratch) {
    const DeviceContext* drawn = framework::state.backBufferContext ? framework::state.backBufferContext.get()
                                                                    : framework::state.displayContext.get();
    if (!drawn || !drawn->surface) return {};
    return presentableFrame(drawn->surface, *drawn, framework::state.shownPalette, scratch);
}

void SetPalette(const PaletteEntry* entries, u32 count, u32 first) {
    if (framework::state.displayContext)
        setPalette(*framework::state.displayContext, entries, static_cast<i32>(count),
                   static_cast<i32>(first));
    if (framework::state.backBufferContext)
        setPalette(*framework::state.backBufferContext, entries, static_cast<i32>(count),
                   static_cast<i32>(first));
}

void RealizePalette(u32 count, u32 first, u32 /*wait*/) {
    if (!framework::state.displayContext) return;
    for (u32 i = first; i < first + count && i < framework::state.shownPalette.size(); ++i)
        framework::state.shownPalette[i] = framework::state.displayContext->palette[i];
}

void SetWindowIcon(const Bitmap* icon) {
    if (!framework::state.platform || !icon || icon->bitsPerPixel != 32 ||
        icon->pixelFormat != pixelFormatARGB32)
        return;
    WindowIcon shown;
    shown.width = static_cast<u32>(icon->width);
    shown.height = static_cast<u32>(icon->height);
    shown.pixels.reserve(static_cast<size_t>(shown.width) * shown.height);
    for (i32 y = 0; y < icon->height; ++y) {
        const u8* p = icon->row(y);
        // Each pixel is blue, green, red, alpha in memory: 0xAARRGGBB read little-endian.
        for (i32 x = 0; x < icon->width; ++x, p += 4)
            shown.pixels.push_back(u32{p[0]} | u32{p[1]} << 8 | u32{p[2]} << 16 | u32{p[3]} << 24);
    }
    framework::state.platform->setWindowIcon(shown);
}

void ShutdownFramework() {
    StopSound(); // before the display: closing it may end the platform's sound too
    if (framework::state.platform) closeDisplay();
    resetFramework();
}

[[noreturn]] void FatalError(const char* text) {
    const std::string message = text ? text : "";
    // Standard error first: it is seen even where no box can be shown.
    std::fprintf(stderr, "%s\n", message.c_str());
    if (framework::state.platform) {
        StopSound();
        closeDisplay();
        framework::state.platform->showError(message.c_str(), "RGL Fatal Error!");
    }
    exitProgram(1);
}
