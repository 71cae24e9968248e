#include "shell/command_line.hpp"

#include <strings.h>

namespace {

struct DriverSwitch {
    const char* word;
    u32 DriverOptions::*field;
};

constexpr DriverSwitch driverSwitches[] = {
    {"-nodirecthw", &DriverOptions::useDirectHW}, {"-nodirectdraw", &DriverOptions::useDirectDraw},
    {"-novga", &DriverOptions::useVGA},           {"-novgax", &DriverOptions::useVGAX},
    {"-novbe", &DriverOptions::useVBE},           {"-novbeaf", &DriverOptions::useVBEAF},
    {"-nolinear", &DriverOptions::useLinear},
};

struct DemoSwitch {
    const char* word;
    DemoMode mode;
};

constexpr DemoSwitch demoSwitches[] = {
    {"-record", DemoMode::Record}, {"-playdemo", DemoMode::Play}, {"-timedemo", DemoMode::Time}};

// The demo option a word names, or None.
DemoMode demoSwitchOf(const char* word) {
    for (const DemoSwitch& option : demoSwitches)
        if (::strcasecmp(word, option.word) == 0) return option.mode;
    return DemoMode::None;
}

} // namespace

void applyCommandLine(int argc, const char* const* argv, DriverOptions& options) {
    for (int i = 1; i < argc; ++i) {
        if (demoSwitchOf(argv[i]) != DemoMode::None) {
            ++i; // a demo's file name is no option
            continue;
        }
        for (const DriverSwitch& option : driverSwitches)
            if (::strcasecmp(argv[i], option.word) == 0) options.*option.field = 0;
    }
}

bool soundAllowed(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        if (demoSwitchOf(argv[i]) != DemoMode::None) {
            ++i; // a demo's file name is no option
            continue;
        }
        if (::strcasecmp(argv[i], "-nosound") == 0) return false;
    }
    return true;
}

DemoRequest demoRequestOf(int argc, const char* const* argv, std::string& error) {
    DemoRequest request;
    for (int i = 1; i < argc; ++i) {
        const DemoMode mode = demoSwitchOf(argv[i]);
        if (mode == DemoMode::None) continue;
        if (i + 1 >= argc) {
            error = std::string("Error: ") + argv[i] + " needs a demo file after it!";
            return {};
        }
        request.mode = mode;
        request.file = argv[++i];
    }
    return request;
}
