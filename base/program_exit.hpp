#pragma once
// Every deliberate end of the program goes through here, so tests can observe the
// exit code (an exit code of -1 is seen as 255 by the shell).

[[noreturn]] void exitProgram(int code);
