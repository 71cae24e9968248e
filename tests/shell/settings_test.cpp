// The remembered settings: the file's text both ways, the user's path, and
// loading and saving a missing, damaged and unwritable file.
#include "shell/game_menu.hpp"
#include "shell/settings.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Choice {
    u16 players, level;
    u32 cockpit, highResolution, windowed, realisticSky;
};

Choice choiceOf(const GameMenu& m) {
    return {m.playerChoice, m.level, m.cockpit, m.highResolution, m.windowed, m.realisticSky};
}

bool operator==(const Choice& a, const Choice& b) {
    return a.players == b.players && a.level == b.level && a.cockpit == b.cockpit &&
           a.highResolution == b.highResolution && a.windowed == b.windowed &&
           a.realisticSky == b.realisticSky;
}

void PrintTo(const Choice& c, std::ostream* os) {
    *os << "players " << c.players << " level " << c.level << " cockpit " << c.cockpit << " high "
        << c.highResolution << " windowed " << c.windowed << " sky " << c.realisticSky;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class SettingsFile : public testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("tessaron-settings-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        file = folder / "tessaron3d" / "settings.ini";
        useSettingsFile(file.string());
    }
    void TearDown() override {
        resetSettings();
        fs::remove_all(folder);
    }
    void write(const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }
    fs::path folder;
    fs::path file;
};

} // namespace

TEST(SettingsText, EveryChoiceOfTheMenuComesBackAsItWasWritten) {
    for (u16 level = 0; level < 4; ++level)
        for (u32 screen = 0; screen < 3; ++screen) // full screen with and without the cockpit, window
            for (u32 high = 0; high < 2; ++high)
                for (u32 sky = 0; sky < 2; ++sky) {
                    GameMenu written(nullptr);
                    written.playerChoice = level < 2 ? 2 : 3;
                    written.level = level;
                    written.cockpit = screen == 0;
                    written.windowed = screen == 2;
                    written.highResolution = high;
                    written.realisticSky = sky;
                    GameMenu read(nullptr);
                    std::string problem;
                    EXPECT_EQ(applySettingsText(settingsText(written), read, problem), 0u) << problem;
                    EXPECT_EQ(choiceOf(read), choiceOf(written));
                }
    GameMenu m(nullptr);
    EXPECT_EQ(settingsText(m).substr(settingsText(m).find("[menu]")),
              "[menu]\nplayers = 2\nlevel = Level-A\ncockpit = on\nresolution = 320x240\nwindow = off\nsky = "
              "realistic\n");
}

TEST(SettingsText, WrongLinesGiveTheirDefaultsAndTheRestIsKept) {
    GameMenu m(nullptr);
    std::string problem;
    // Spaces, comments and a missing line are fine; a wrong value is counted.
    EXPECT_EQ(applySettingsText(
                  "; mine\n[menu]\n  players=3  \r\nlevel =Level-D\nsky = cloudy\nresolution = 640x480\n", m,
                  problem),
              1u);
    EXPECT_EQ(problem, "line 5: bad value for sky: cloudy");
    EXPECT_EQ(choiceOf(m), (Choice{3, 3, 1, 1, 0, 1}));

    // Unknown keys and sections, lines without '=', settings before [menu].
    GameMenu n(nullptr);
    EXPECT_EQ(
        applySettingsText("window = on\n[menu]\nspeed = 9\nhello\n[sound]\ncockpit = off\n", n, problem), 5u);
    EXPECT_EQ(problem, "line 1: not a setting of [menu]");
    EXPECT_EQ(choiceOf(n), choiceOf(GameMenu(nullptr)));

    // Lines that disagree: a level of the other player count, a cockpit in a window.
    GameMenu o(nullptr);
    EXPECT_EQ(applySettingsText("[menu]\nplayers = 2\nlevel = Level-C\nresolution = 640x480\n", o, problem),
              1u);
    EXPECT_EQ(problem, "line 3: Level-C is not a level for 2 players");
    EXPECT_EQ(choiceOf(o), (Choice{2, 0, 1, 1, 0, 1}));
    GameMenu p(nullptr);
    EXPECT_EQ(
        applySettingsText("[menu]\nplayers = 3\ncockpit = on\nwindow = on\nsky = ordinary\n", p, problem),
        1u);
    EXPECT_EQ(choiceOf(p), (Choice{3, 2, 1, 0, 0, 0}));

    // Bytes that are no text at all.
    GameMenu q(nullptr);
    EXPECT_GE(applySettingsText(std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), q, problem), 1u);
    EXPECT_EQ(choiceOf(q), choiceOf(GameMenu(nullptr)));
}

TEST(SettingsPath, XdgConfigHomeFirstThenTheHomeFolder) {
    const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string config = savedConfig ? savedConfig : "";
    const std::string home = savedHome ? savedHome : "";

    ::setenv("HOME", "/home/player", 1);
    ::setenv("XDG_CONFIG_HOME", "/tmp/conf", 1);
    EXPECT_EQ(userSettingsFile(), "/tmp/conf/tessaron3d/settings.ini");
    ::setenv("XDG_CONFIG_HOME", "relative/conf", 1); // not absolute: ignored
    EXPECT_EQ(userSettingsFile(), "/home/player/.config/tessaron3d/settings.ini");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(userSettingsFile(), "/home/player/.config/tessaron3d/settings.ini");
    ::unsetenv("HOME");
    EXPECT_EQ(userSettingsFile(), "");

    if (savedConfig) ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    if (savedHome) ::setenv("HOME", home.c_str(), 1);
}

TEST_F(SettingsFile, AMissingFileGivesTheDefaultsSilentlyAndASaveMakesIt) {
    GameMenu m(nullptr);
    testing::internal::CaptureStderr();
    loadSettings(m);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(choiceOf(m), choiceOf(GameMenu(nullptr)));

    m.playerChoice = 3;
    m.level = 3;
    m.cockpit = 0;
    m.windowed = 1;
    m.realisticSky = 0;
    saveSettings(m); // makes the folders too
    GameMenu again(nullptr);
    loadSettings(again);
    EXPECT_EQ(choiceOf(again), choiceOf(m));
    // Written whole through a temporary file, which is gone.
    EXPECT_EQ(readFile(file), settingsText(m));
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator{}), 1);
}

TEST_F(SettingsFile, ADamagedFileCostsOneLineAndIsWrittenCorrectlyAtTheNextSave) {
    write("[menu]\nplayers = 3\nlevel = Level-Q\ncockpit = maybe\nresolution = 640x480\n");
    GameMenu m(nullptr);
    testing::internal::CaptureStderr();
    loadSettings(m);
    const std::string complaint = testing::internal::GetCapturedStderr();
    EXPECT_EQ(
        complaint,
        "Settings: " + file.string() +
            ": line 3: bad value for level: Level-Q and 1 more; using the defaults for what is wrong\n");
    EXPECT_EQ(choiceOf(m), (Choice{3, 2, 1, 1, 0, 1}));

    saveSettings(m);
    GameMenu again(nullptr);
    testing::internal::CaptureStderr();
    loadSettings(again);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(choiceOf(again), choiceOf(m));
}

TEST_F(SettingsFile, AFileThatCannotBeWrittenCostsOneLineAndNothingElse) {
    // A plain file where the folder should be: nothing can be made under it (even as root).
    fs::create_directories(folder);
    std::ofstream(folder / "tessaron3d") << "in the way";
    GameMenu m(nullptr);
    testing::internal::CaptureStderr();
    loadSettings(m); // no file can be under a file: the defaults, as for a first run
    saveSettings(m);
    saveSettings(m); // reported once a run
    const std::string complaint = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(complaint.begin(), complaint.end(), '\n'), 1) << complaint;
    EXPECT_NE(complaint.find("Settings not saved: cannot make the folder " + file.parent_path().string()),
              std::string::npos)
        << complaint;

    // A folder where the file should be: the rename fails and the temporary file goes.
    fs::remove(folder / "tessaron3d");
    fs::create_directories(file);
    resetSettings();
    useSettingsFile(file.string());
    testing::internal::CaptureStderr();
    saveSettings(m);
    const std::string renamed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(renamed.rfind("Settings not saved: cannot rename ", 0), 0u) << renamed;
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator{}), 1);
}

TEST_F(SettingsFile, WithoutAFileNothingIsReadOrWritten) {
    resetSettings();
    GameMenu m(nullptr);
    m.level = 1;
    saveSettings(m);
    loadSettings(m);
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(m.level, 1u);
}
