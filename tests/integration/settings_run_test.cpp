// The menu's choices remembered from one run to the next, and a played demo
// that keeps its own settings.
#include "game_run.hpp"

#include "shell/game_menu.hpp"
#include "shell/settings.hpp"
#include "shell/shell_state.hpp"
#include "shell/startup.hpp"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class SettingsRun : public GameRun {
  protected:
    void SetUp() override {
        GameRun::SetUp();
        file = fs::temp_directory_path() / ("tessaron-remembered-" + std::to_string(::getpid())) /
               "settings.ini";
        useSettingsFile(file.string());
    }
    void TearDown() override {
        GameRun::TearDown();
        fs::remove_all(file.parent_path());
    }
    // A new run of the program with the same settings file.
    void nextRun() {
        GameRun::TearDown();
        GameRun::SetUp();
        useSettingsFile(file.string());
        scriptPass = 1;
    }
    std::string fileText() const {
        std::ifstream in(file);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    fs::path file;
};

} // namespace

TEST_F(SettingsRun, AMatchStartedKeepsTheChoicesForTheNextRun) {
    chooseSettings(3, true, false, true); // Level-D, 640x480, in a window
    startMatch();
    idle(2);
    ASSERT_EQ(run(), 0);
    EXPECT_NE(
        fileText().find("players = 3\nlevel = Level-D\ncockpit = off\nresolution = 640x480\nwindow = on\n"),
        std::string::npos)
        << fileText();

    nextRun();
    startMatch(); // straight from the menu: the remembered choices
    idle(2);
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(shell::state.gameMenu->playerChoice, 3u);
    EXPECT_EQ(shell::state.gameMenu->level, 3u);
    EXPECT_EQ(shell::state.gameMenu->windowed, 1u);
    EXPECT_EQ(shell::state.currentScreen->maxX, 639u);
    EXPECT_FALSE(machine->fullScreen);
}

TEST_F(SettingsRun, QuittingFromTheMenuKeepsChoicesMadeWithoutAMatch) {
    tap(scanDown);
    tap(scanDown);
    tap(scanEnter);      // Players: 3
    ASSERT_EQ(run(), 0); // Esc does nothing in the menu; the close box ends the run
    EXPECT_NE(fileText().find("players = 3\nlevel = Level-C\n"), std::string::npos) << fileText();
}

TEST_F(SettingsRun, APlayedDemoUsesItsOwnSettingsAndLeavesTheRememberedOnes) {
    fs::create_directories(file.parent_path());
    const std::string remembered = "[menu]\nplayers = 3\nlevel = Level-D\ncockpit = off\nresolution = "
                                   "640x480\nwindow = on\nsky = ordinary\n";
    std::ofstream(file) << remembered;
    fs::current_path(runDirectory);
    // level-a: 320x240 full screen without the cockpit, the realistic sky.
    std::vector<std::string> words = {"tessaron3d", "-timedemo", "demos/level-a.dem"};
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    // The demo ends the program with its winner; what the match was set to is
    // printed on the way out.
    EXPECT_EXIT(
        {
            std::freopen("/dev/null", "w", stdout);
            std::atexit([] {
                std::fprintf(stderr, "players %u windowed %u high %u sky %u\n",
                             shell::state.gameMenu->playerChoice, shell::state.gameMenu->windowed,
                             shell::state.gameMenu->highResolution, shell::state.gameMenu->realisticSky);
            });
            std::exit(GameMain(static_cast<int>(argv.size()), argv.data()));
        },
        testing::ExitedWithCode(0), "^players 2 windowed 0 high 0 sky 1\n$");
    EXPECT_EQ(fileText(), remembered);
}
