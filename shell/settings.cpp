#include "shell/settings.hpp"

#include "shell/game_menu.hpp"
#include "shell/shell_state.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr const char* levelNames[] = {"Level-A", "Level-B", "Level-C", "Level-D"};

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// "on"/"off" as 1/0; -1 for anything else.
int onOff(const std::string& value) {
    if (value == "on") return 1;
    if (value == "off") return 0;
    return -1;
}

// One wrong line noted: the first is described, the rest counted.
struct Problems {
    u32 count = 0;
    std::string first;
    void note(u32 line, const std::string& what) {
        if (count++ == 0) first = "line " + std::to_string(line) + ": " + what;
    }
};

} // namespace

std::string userSettingsFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    fs::path folder;
    if (config && *config == '/') {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) return {};
        folder = fs::path(home) / ".config";
    }
    return (folder / "tessaron3d" / "settings.ini").string();
}

void useSettingsFile(const std::string& path) {
    shell::state.settings.file = path;
}

std::string settingsText(const GameMenu& m) {
    std::ostringstream out;
    out << "# Tessaron 3d: the menu's settings, written by the game when a match starts\n"
        << "# and when it quits.\n"
        << "[menu]\n"
        << "players = " << m.playerChoice << '\n'
        << "level = " << (m.level < 4 ? levelNames[m.level] : levelNames[0]) << '\n'
        << "cockpit = " << (m.cockpit ? "on" : "off") << '\n'
        << "resolution = " << (m.highResolution ? "640x480" : "320x240") << '\n'
        << "window = " << (m.windowed ? "on" : "off") << '\n'
        << "sky = " << (m.realisticSky ? "realistic" : "ordinary") << '\n';
    return out.str();
}

u32 applySettingsText(const std::string& text, GameMenu& m, std::string& problem) {
    const GameMenu defaults(nullptr);
    Problems problems;
    std::istringstream in(text);
    std::string raw;
    u32 lineNumber = 0;
    bool inMenuSection = false;
    i32 levelLine = -1; // the line of a good level, checked against the players at the end
    while (std::getline(in, raw)) {
        ++lineNumber;
        const std::string line = trimmed(raw);
        if (line.empty() || line[0] == '#' || line[0] == ';') continue;
        if (line.front() == '[') {
            inMenuSection = line == "[menu]";
            if (!inMenuSection) problems.note(lineNumber, "unknown section " + line);
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos || !inMenuSection) {
            problems.note(lineNumber, "not a setting of [menu]");
            continue;
        }
        const std::string key = trimmed(line.substr(0, equals));
        const std::string value = trimmed(line.substr(equals + 1));
        bool good = true;
        if (key == "players") {
            good = value == "2" || value == "3";
            m.playerChoice = good ? static_cast<u16>(value[0] - '0') : defaults.playerChoice;
        } else if (key == "level") {
            good = false;
            for (u16 i = 0; i < 4; ++i)
                if (value == levelNames[i]) {
                    m.level = i;
                    good = true;
                    levelLine = static_cast<i32>(lineNumber);
                }
            if (!good) m.level = defaults.level;
        } else if (key == "cockpit" || key == "window") {
            const int flag = onOff(value);
            good = flag != -1;
            u32& field = key == "cockpit" ? m.cockpit : m.windowed;
            field = good ? static_cast<u32>(flag) : (key == "cockpit" ? defaults.cockpit : defaults.windowed);
        } else if (key == "resolution") {
            good = value == "320x240" || value == "640x480";
            m.highResolution = good ? (value == "640x480" ? 1 : 0) : defaults.highResolution;
        } else if (key == "sky") {
            good = value == "realistic" || value == "ordinary";
            m.realisticSky = good ? (value == "realistic" ? 1 : 0) : defaults.realisticSky;
        } else {
            problems.note(lineNumber, "unknown setting " + key);
            continue;
        }
        if (!good) problems.note(lineNumber, "bad value for " + key + ": " + value);
    }
    // The menu keeps two pairs in step; a file that breaks them gets the defaults.
    // A level that was missing or wrong follows the players quietly.
    const bool levelFits = m.playerChoice == 2 ? m.level <= 1 : m.level >= 2 && m.level <= 3;
    if (!levelFits) {
        if (levelLine > 0)
            problems.note(static_cast<u32>(levelLine), std::string(levelNames[m.level]) +
                                                           " is not a level for " +
                                                           std::to_string(m.playerChoice) + " players");
        m.level = m.playerChoice == 3 ? 2 : 0;
    }
    if (m.cockpit == 1 && m.windowed == 1) {
        problems.note(lineNumber, "the cockpit is shown only full screen");
        m.cockpit = defaults.cockpit;
        m.windowed = defaults.windowed;
    }
    problem = problems.first;
    return problems.count;
}

void loadSettings(GameMenu& m) {
    if (shell::state.settings.file.empty()) return;
    std::ifstream in(shell::state.settings.file, std::ios::binary);
    if (!in) {
        // A first run has no file yet: the defaults, silently.
        std::error_code error;
        if (fs::exists(shell::state.settings.file, error) || error)
            std::fprintf(stderr, "Settings: cannot read %s; using the defaults\n",
                         shell::state.settings.file.c_str());
        return;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::string problem;
    const u32 wrong = applySettingsText(text.str(), m, problem);
    if (wrong > 0)
        std::fprintf(stderr, "Settings: %s: %s%s; using the defaults for what is wrong\n",
                     shell::state.settings.file.c_str(), problem.c_str(),
                     wrong > 1 ? (" and " + std::to_string(wrong - 1) + " more").c_str() : "");
}

void saveSettings(const GameMenu& m) {
    if (shell::state.settings.file.empty()) return;
    const fs::path file = shell::state.settings.file;
    const fs::path temporary = file.string() + ".new-" + std::to_string(::getpid());
    std::string failure;
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    if (error) {
        failure = "cannot make the folder " + file.parent_path().string() + ": " + error.message();
    } else if (std::FILE* out = std::fopen(temporary.c_str(), "wb")) {
        const std::string text = settingsText(m);
        const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size() &&
                             std::fflush(out) == 0 && ::fsync(::fileno(out)) == 0;
        const int writeErrno = errno;
        if (std::fclose(out) != 0 || !written)
            failure = "cannot write " + temporary.string() + ": " + std::strerror(writeErrno);
        else if (std::rename(temporary.c_str(), file.c_str()) != 0)
            failure = "cannot rename " + temporary.string() + ": " + std::strerror(errno);
        if (!failure.empty()) fs::remove(temporary, error);
    } else {
        failure = "cannot write " + temporary.string() + ": " + std::strerror(errno);
    }
    if (failure.empty() || shell::state.settings.saveFailed) return;
    shell::state.settings.saveFailed = true;
    std::fprintf(stderr, "Settings not saved: %s\n", failure.c_str());
}

void resetSettings() {
    shell::state.settings = SettingsStore{};
}
