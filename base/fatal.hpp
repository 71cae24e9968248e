#pragma once
// Fatal errors raised below the framework (a font glyph too large to convert) go
// through this hook. The framework points it at its own fatal-error path; until
// then the text goes to standard error and the program ends with 1.

using FatalHook = void (*)(const char* text); // must not return

[[noreturn]] void raiseFatal(const char* text);

// nullptr restores the default (standard error, exit 1).
void setFatalHook(FatalHook hook);

void resetFatalHook();
