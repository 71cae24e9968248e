#include "shell/command_line.hpp"
#include "shell/shell_state.hpp"

#include <gtest/gtest.h>

namespace {

DriverOptions optionsFor(std::initializer_list<const char*> words) {
    std::vector<const char*> argv = {"tessaron3d"};
    argv.insert(argv.end(), words);
    DriverOptions options = defaultGameDriverOptions;
    applyCommandLine(static_cast<int>(argv.size()), argv.data(), options);
    return options;
}

} // namespace

TEST(CommandLine, NoArgumentsUseEveryDriverButOpenGl) {
    const DriverOptions options = optionsFor({});
    EXPECT_EQ(options, (DriverOptions{1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 15}));
}

TEST(CommandLine, EachOptionTurnsItsDriverOffWithoutRegardToCase) {
    EXPECT_EQ(optionsFor({"-NODIRECTHW"}).useDirectHW, 0u);
    EXPECT_EQ(optionsFor({"-NoDirectDraw"}).useDirectDraw, 0u);
    EXPECT_EQ(optionsFor({"-novbe", "-NoLinear", "-novbeaf"}),
              (DriverOptions{1, 1, 1, 1, 0, 0, 0, 1, 0, 0, 15}));
    // Repeats and any order.
    EXPECT_EQ(optionsFor({"-novgax", "-novga", "-novgax"}),
              (DriverOptions{1, 1, 0, 0, 1, 1, 1, 1, 0, 0, 15}));
}

TEST(CommandLine, OnlyWholeWordsCount) {
    const DriverOptions untouched = defaultGameDriverOptions;
    EXPECT_EQ(optionsFor({"/novga", "x-novga", "-novga2", "-novg", "novga", "--novga", ""}), untouched);
    // "-novga" is not a prefix match of "-novgax", nor the other way round.
    const DriverOptions vgaOff = optionsFor({"-novga"});
    EXPECT_EQ(vgaOff.useVGA, 0u);
    EXPECT_EQ(vgaOff.useVGAX, 1u);
}
