#pragma once
// Every deliberate end of the program goes through here, so tests can observe the
// exit code (an exit code of -1 is seen as 255 by the shell).

[[noreturn]] void exitProgram(int code);

// A harness that feeds damaged data files to the loaders in one process (the
// fuzz targets) sees their deliberate end through this hook instead, after the
// output is flushed. The hook must not return: it unwinds (throws) or exits.
using ExitHook = void (*)(int code);

// nullptr restores the default, which ends the program.
void setExitHook(ExitHook hook);
