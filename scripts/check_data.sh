#!/usr/bin/env bash
# Checks that the tools still make every file under data/: runs each one (the
# commands of tools/README.md, and the demo recording of scripts/record_demos.sh)
# into a scratch folder and compares the result with the committed data/ byte
# for byte. Fails, naming the files, when any file differs, is missing or is
# not made by a tool.
#
#   scripts/check_data.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target texture_maker shape_maker level_maker font_maker bitmap_painter \
    sound_maker icon_maker headless_run >/dev/null

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tessaron-data-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
tools=$build/tools
# The tools write into the run directory's folders; they do not make them.
mkdir -p "$scratch"/{Objects,Levels,Fonts,Bitmaps,sounds,demos}

"$tools/texture_maker/texture_maker" "$scratch" >/dev/null
"$tools/shape_maker/shape_maker" "$scratch" >/dev/null
# Levels are laid out with the sizes of the shapes just made.
"$tools/level_maker/level_maker" "$scratch" tools/level_maker/maps >/dev/null
"$tools/font_maker/font_maker" "$scratch" >/dev/null
"$tools/bitmap_painter/bitmap_painter" "$scratch" >/dev/null
"$tools/sound_maker/sound_maker" "$scratch" >/dev/null
"$tools/icon_maker/icon_maker" "$scratch" >/dev/null

# The demos are recorded from their key scripts by the game itself, in the
# scratch folder as its run directory (the settings are in record_demos.sh).
while read -r name _; do
    "$tools/headless_run/headless_run" --data "$scratch" --keys "tools/demo_scripts/$name.keys" \
        -- -record "demos/$name.dem" >/dev/null
done < <(sed -n 's/^    "\(level-[a-z]\) .*/\1/p' scripts/record_demos.sh)

if ! diff -r --brief data "$scratch" >"$scratch.diff"; then
    echo "check_data: data/ differs from what the tools make:" >&2
    sed "s|$scratch|<tools>|g" "$scratch.diff" >&2
    rm -f "$scratch.diff"
    exit 1
fi
rm -f "$scratch.diff"
echo "check_data: every file under data/ is made by the tools, byte for byte"
