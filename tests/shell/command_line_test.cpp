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

namespace {

DemoRequest demoFor(std::initializer_list<const char*> words, std::string& error) {
    std::vector<const char*> argv = {"tessaron3d"};
    argv.insert(argv.end(), words);
    return demoRequestOf(static_cast<int>(argv.size()), argv.data(), error);
}

} // namespace

TEST(CommandLine, DemoOptionsTakeTheNextWordAsTheirFileInAnyCaseAndOrder) {
    std::string error;
    DemoRequest r = demoFor({"-novga", "-RECORD", "my.dem"}, error);
    EXPECT_EQ(r.mode, DemoMode::Record);
    EXPECT_EQ(r.file, "my.dem");
    r = demoFor({"-PlayDemo", "-novga", "-nolinear"}, error);
    EXPECT_EQ(r.mode, DemoMode::Play);
    EXPECT_EQ(r.file, "-novga"); // the next word, whatever it reads
    r = demoFor({"-playdemo", "a.dem", "-timedemo", "b.dem"}, error);
    EXPECT_EQ(r.mode, DemoMode::Time); // the last one counts
    EXPECT_EQ(r.file, "b.dem");
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(demoFor({"other", "words"}, error).mode, DemoMode::None);

    // A demo's file name is no driver option.
    const DriverOptions options = optionsFor({"-record", "-novga"});
    EXPECT_EQ(options.useVGA, 1u);
}

TEST(CommandLine, ADemoOptionWithoutAFileIsAnError) {
    std::string error;
    EXPECT_EQ(demoFor({"-novga", "-timedemo"}, error).mode, DemoMode::None);
    EXPECT_EQ(error, "Error: -timedemo needs a demo file after it!");
}

TEST(CommandLine, NoSoundInAnyCaseAndOrderButNotAsADemosFileName) {
    const char* plain[] = {"tessaron3d", "-novga"};
    EXPECT_TRUE(soundAllowed(2, plain));
    const char* quiet[] = {"tessaron3d", "-playdemo", "a.dem", "-NOSOUND", "-novga"};
    EXPECT_FALSE(soundAllowed(5, quiet));
    const char* named[] = {"tessaron3d", "-record", "-nosound"}; // a demo called -nosound
    EXPECT_TRUE(soundAllowed(3, named));
    const char* longer[] = {"tessaron3d", "-nosounds"};
    EXPECT_TRUE(soundAllowed(2, longer));
    DriverOptions options = defaultGameDriverOptions;
    applyCommandLine(5, quiet, options);
    EXPECT_EQ(options.useVGA, 0u) << "the other options still count";
}
