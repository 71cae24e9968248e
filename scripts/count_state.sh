#!/usr/bin/env bash
# Lists the program's state variables in the game's libraries of a build tree,
# one a line, and counts them: every object defined in a writable section (.bss,
# .data but not .data.rel.ro) of libbase, libgfx, libworld, librender, libsim,
# libframework, libframework_sdl and libshell. What the compiler adds (guard
# variables, exception-handling references) and lazily built constant tables
# (a function's `static const`) are left out.
#
#   scripts/count_state.sh [build-dir]
set -euo pipefail
build=${1:-build}
for lib in base gfx world render sim framework framework_sdl shell; do
    archive=$(find "$build" -name "lib$lib.a" | head -1)
    objdump -t -C "$archive" | awk -v lib="$lib" '
        $3 == "O" && ($4 ~ /^\.bss/ || ($4 ~ /^\.data/ && $4 !~ /^\.data\.rel\.ro/)) {
            name = ""; for (i = 6; i <= NF; i++) name = name (i > 6 ? " " : "") $i
            print lib ": " name
        }'
done | grep -vE "defaultPalette\(\)::palette|DW\.ref\.|guard variable" | sort -u | tee /dev/stderr | wc -l
