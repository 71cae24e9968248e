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

} // namespace

void applyCommandLine(int argc, const char* const* argv, DriverOptions& options) {
    for (int i = 1; i < argc; ++i)
        for (const DriverSwitch& option : driverSwitches)
            if (::strcasecmp(argv[i], option.word) == 0) options.*option.field = 0;
}
