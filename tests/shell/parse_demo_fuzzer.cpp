// Feeds each input to the demo reader as a demo file's bytes.
#include "sim/demo_file.hpp"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    std::string error;
    const std::optional<Demo> demo = parseDemo(std::vector<u8>(data, data + size), "fuzz.dem", error);
    // Whatever is read must hang together: every step's clock reads lie in the list.
    if (demo) {
        for (const DemoStep& step : demo->steps)
            if (step.firstClockRead + step.clockReads > demo->clockReads.size()) __builtin_trap();
        if (demo->checks.size() != demo->steps.size() / demoCheckInterval) __builtin_trap();
    }
    return 0;
}
