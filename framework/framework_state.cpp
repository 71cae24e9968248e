#include "framework/framework_state.hpp"

#include "base/clock.hpp"
#include "gfx/gfx_state.hpp"

namespace framework {

std::array<Event, eventQueueSize> emptyEventPool() {
    std::array<Event, eventQueueSize> pool{};
    for (u32 i = 0; i < eventQueueSize; ++i) {
        pool[i].next = i + 1 < eventQueueSize ? static_cast<i32>(i + 1) : -1;
        pool[i].prev = -1;
    }
    return pool;
}

State state;

} // namespace framework

// Forgets the display's and the back buffer's contexts.
void releaseDisplaySurfaces() {
    if (gfx::state.currentContext && (gfx::state.currentContext == framework::state.displayContext.get() ||
                                      gfx::state.currentContext == framework::state.backBufferContext.get()))
        makeCurrentContext(nullptr);
    framework::state.frameworkDisplay = FrameworkDisplay{};
    framework::state.displayContext.reset();
    framework::state.backBufferContext.reset();
    framework::state.displayPages.clear();
    framework::state.visiblePage = 0;
    framework::state.drawPage = 0;
    framework::state.scaledOutput = 0;
    framework::state.outputWidth = 0;
    framework::state.outputHeight = 0;
}

void resetFramework() {
    if (gfx::state.currentContext && (gfx::state.currentContext == framework::state.displayContext.get() ||
                                      gfx::state.currentContext == framework::state.backBufferContext.get()))
        makeCurrentContext(nullptr);
    if (framework::state.soundOpen && framework::state.platform) framework::state.platform->audio().close();
    if (framework::state.displayOpen && framework::state.platform) framework::state.platform->closeDisplay();

    std::unique_ptr<Platform> chosen = std::move(framework::state.platform);
    framework::state = framework::State{};
    framework::state.platform = std::move(chosen);
}

void selectPlatform(std::unique_ptr<Platform> chosen) {
    resetFramework();
    // A clock that a previous platform installed must not outlive it.
    resetClock();
    framework::state.platform = std::move(chosen);
}
