#include "framework/framework_state.hpp"

#include "base/clock.hpp"
#include "gfx/gfx_state.hpp"

std::unique_ptr<Platform> platform;

DrawCallback drawCallback = nullptr;
FrameCallback frameCallback = nullptr;
EventCallback keyDownCallback = nullptr;
EventCallback keyRepeatCallback = nullptr;
EventCallback keyUpCallback = nullptr;
EventCallback mouseDownCallback = nullptr;
ActivateCallback activateCallback = nullptr;
SuspendCallback suspendCallback = nullptr;
ModeSwitchCallback modeSwitchCallback = nullptr;

u32 active = 1;
u32 quitRequested = 0;

std::array<Event, eventQueueSize> eventPool{};
i32 firstQueued = -1;
i32 lastQueued = -1;
i32 firstFree = -1;
u32 queuedCount = 0;
i32 waitingMouseMove = -1;
std::array<u16, 256> keyTable{};

DriverOptions driverOptions = frameworkDefaultOptions;
std::vector<Driver> registeredDrivers;
DisplayHardware displayHardware;
ModeList modeList;
ModeEntry currentMode{};
u32 currentPages = 0;
u32 currentSystemMemory = 0;

bool displayOpen = false;
std::string windowTitle;
bool windowExists = false;
FrameExtent windowFrame;
WindowPlace windowPosition;
bool windowPlaced = false;
u32 fullScreen = 0;
u32 switching = 0;
u32 windowActive = 0;
u32 windowMinimised = 0;

bool soundOpen = false;
bool soundMuted = false;

u32 scaledOutput = 0;
u32 outputWidth = 0;
u32 outputHeight = 0;
FrameworkDisplay frameworkDisplay;
std::unique_ptr<DeviceContext> displayContext;
std::unique_ptr<DeviceContext> backBufferContext;
std::vector<std::vector<u8>> displayPages;
u32 visiblePage = 0;
u32 drawPage = 0;
Palette shownPalette{};
std::vector<u8> presentScratch;

// Forgets the display's and the back buffer's contexts.
void releaseDisplaySurfaces() {
    if (gfx::state.currentContext &&
        (gfx::state.currentContext == displayContext.get() || gfx::state.currentContext == backBufferContext.get()))
        makeCurrentContext(nullptr);
    frameworkDisplay = FrameworkDisplay{};
    displayContext.reset();
    backBufferContext.reset();
    displayPages.clear();
    visiblePage = 0;
    drawPage = 0;
    scaledOutput = 0;
    outputWidth = 0;
    outputHeight = 0;
}

void resetFramework() {
    if (gfx::state.currentContext &&
        (gfx::state.currentContext == displayContext.get() || gfx::state.currentContext == backBufferContext.get()))
        makeCurrentContext(nullptr);
    if (soundOpen && platform) platform->audio().close();
    if (displayOpen && platform) platform->closeDisplay();

    drawCallback = nullptr;
    frameCallback = nullptr;
    keyDownCallback = nullptr;
    keyRepeatCallback = nullptr;
    keyUpCallback = nullptr;
    mouseDownCallback = nullptr;
    activateCallback = nullptr;
    suspendCallback = nullptr;
    modeSwitchCallback = nullptr;

    active = 1;
    quitRequested = 0;
    ResetEvents();

    driverOptions = frameworkDefaultOptions;
    registeredDrivers.clear();
    displayHardware = DisplayHardware{};
    modeList = ModeList{};
    currentMode = ModeEntry{};
    currentPages = 0;
    currentSystemMemory = 0;

    displayOpen = false;
    windowTitle.clear();
    windowExists = false;
    windowFrame = FrameExtent{};
    windowPosition = WindowPlace{};
    windowPlaced = false;
    fullScreen = 0;
    switching = 0;
    windowActive = 0;
    windowMinimised = 0;

    soundOpen = false;
    soundMuted = false;

    releaseDisplaySurfaces();
    shownPalette = defaultPalette();
    presentScratch.clear();
}

void selectPlatform(std::unique_ptr<Platform> chosen) {
    resetFramework();
    // A clock that a previous platform installed must not outlive it.
    resetClock();
    platform = std::move(chosen);
}
