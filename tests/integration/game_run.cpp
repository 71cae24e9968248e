#include "game_run.hpp"

#include "base/clock.hpp"
#include "shell/reset_game.hpp"
#include "shell/startup.hpp"

void GameRun::SetUp() {
    resetGame();
    machine = &useMemoryPlatform(1024, 768);
}

void GameRun::TearDown() {
    resetGame();
    resetClock();
    entered.reset();
}

void GameRun::tap(u8 scanCode) {
    machine->pressKey(scriptPass, scanCode);
    machine->releaseKey(scriptPass + 1, scanCode);
    scriptPass += 2;
}

void GameRun::hold(u8 scanCode, u32 passes) {
    machine->pressKey(scriptPass, scanCode);
    machine->releaseKey(scriptPass + passes, scanCode);
    scriptPass += passes + 1;
}

void GameRun::chooseSettings(u16 level, bool highResolution, bool cockpit, bool windowed) {
    // Main page, cursor on "Start Game!": to the graphics page.
    tap(scanDown);
    tap(scanEnter);
    if (!cockpit) tap(scanEnter); // "Cockpit: On" -> Off
    tap(scanDown);
    if (highResolution) tap(scanEnter);
    tap(scanDown);
    if (windowed) tap(scanEnter); // also turns the cockpit off
    tap(scanDown);
    tap(scanDown);
    tap(scanEnter); // "Go Back": main page, "Start Game!"
    if (level >= 2) {
        tap(scanDown);
        tap(scanDown);
        tap(scanEnter); // "Players: 3", Level-C
        tap(scanDown);
    } else {
        tap(scanDown);
        tap(scanDown);
        tap(scanDown);
    }
    if (level == 1 || level == 3) tap(scanEnter); // the other level of the pair
    tap(scanUp);
    tap(scanUp);
    tap(scanUp); // back on "Start Game!"
}

int GameRun::run(std::vector<std::string> arguments) {
    useRunDirectory();
    tap(scanEsc);
    machine->requestClose(scriptPass);
    arguments.insert(arguments.begin(), "tessaron3d");
    std::vector<char*> argv;
    for (std::string& word : arguments) argv.push_back(word.data());
    return GameMain(static_cast<int>(argv.size()), argv.data());
}
