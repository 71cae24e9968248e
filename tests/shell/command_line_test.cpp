#include "shell/command_line.hpp"
#include "shell/shell_state.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

DriverOptions optionsFor(const std::vector<const char*>& words) {
    std::vector<const char*> argv = {"tessaron3d"};
    argv.insert(argv.end(), words.begin(), words.end());
    DriverOptions options = defaultGameDriverOptions;
    applyCommandLine(static_cast<int>(argv.size()), argv.data(), options);
    return options;
}

} // namespace

TEST(CommandLine, EachOptionTurnsItsDriverOffAsAWholeWordInAnyCase) {
    const DriverOptions untouched = defaultGameDriverOptions;
    const struct {
        std::vector<const char*> words;
        DriverOptions options;
    } cases[] = {
        {{}, {1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 15}}, // every driver but OpenGL
        {{"-NODIRECTHW"}, {0, 1, 1, 1, 1, 1, 1, 1, 0, 0, 15}},
        {{"-NoDirectDraw"}, {1, 0, 1, 1, 1, 1, 1, 1, 0, 0, 15}},
        {{"-novbe", "-NoLinear", "-novbeaf"}, {1, 1, 1, 1, 0, 0, 0, 1, 0, 0, 15}},
        {{"-novgax", "-novga", "-novgax"}, {1, 1, 0, 0, 1, 1, 1, 1, 0, 0, 15}}, // repeats, any order
        // "-novga" is not a prefix match of "-novgax", nor the other way round.
        {{"-novga"}, {1, 1, 0, 1, 1, 1, 1, 1, 0, 0, 15}},
        {{"/novga", "x-novga", "-novga2", "-novg", "novga", "--novga", ""}, untouched},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(optionsFor(cases[i].words), cases[i].options) << "case " << i;
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
