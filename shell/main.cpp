// The program entry of Tessaron 3d: finds the run directory, chooses the real
// display and the user's settings file and starts the game.
#include "framework/platform.hpp"
#include "framework/sdl_platform.hpp"
#include "shell/run_directory.hpp"
#include "shell/settings.hpp"
#include "shell/startup.hpp"

#include <memory>

int main(int argc, char** argv) {
    enterRunDirectory(argv[0]);
    selectPlatform(std::make_unique<SdlPlatform>());
    // Only the real program remembers the player's settings; tests and tools never touch them.
    useSettingsFile(userSettingsFile());
    return GameMain(argc, argv);
}
