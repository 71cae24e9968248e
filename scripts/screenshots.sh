#!/usr/bin/env bash
# Makes the README's screenshots with the real game on the memory platform:
# the menu, and a match on each level at 640x480 with the cockpit, looking
# back at the player's own base (the islands: a moment of the shipped demo).
# Run from the repository root after a build: scripts/screenshots.sh [build-dir]
set -euo pipefail
build=${1:-build}
run=$build/tools/headless_run/headless_run
out=docs/screenshots
mkdir -p "$out"

# Menu keys from the start-up defaults to the graphics page, 640x480, and back.
to640="--key 1:down --key 3:enter --key 5:down --key 7:enter --key 9:down --key 11:down --key 13:down --key 15:enter"

shoot() { # name, the pass of the match start, the passes of turning, then the menu keys after $to640
    local name=$1 start=$2 turn=$3; shift 3
    # Turn toward home, then drive toward the headquarters.
    "$run" $to640 "$@" --key $((start + 3)):left:down --key $((start + turn)):left:up \
        --key $((start + turn + 5)):up:down --shot $((start + turn + 25)):"$out/$name"
    rm -f "$out/$name.bmp"
}

"$run" --shot 0:"$out/menu" && rm -f "$out/menu.bmp"
shoot level-a 17 30 --key 17:enter
shoot level-b 31 20 --key 17:down --key 19:down --key 21:down --key 23:enter --key 25:up --key 27:up --key 29:up --key 31:enter
shoot level-c 27 30 --key 17:down --key 19:down --key 21:enter --key 23:up --key 25:up --key 27:enter
# The islands are wide and open about the start: the shipped demo shows a base instead.
"$run" --max-passes 1601 --shot 1600:"$out/level-d" -- -playdemo demos/level-d.dem && rm -f "$out/level-d.bmp"
echo "screenshots in $out"
