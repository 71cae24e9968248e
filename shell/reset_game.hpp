#pragma once
// Returns every subsystem's program-wide state to its start value, so that tests
// and tools can start the game again within one process. The platform chosen with
// selectPlatform stays.
void resetGame();
