#!/usr/bin/env bash
# Re-records every shipped demo (data/demos/*.dem) from its key script
# (tools/demo_scripts/*.keys) with the real game on the memory platform, checks
# that each plays back, and regenerates the expected frame hashes of the demo
# regression test (tests/integration/demo_frames.txt). Run it after any change
# that alters the simulation or the frames, and commit what it changed.
#
#   scripts/record_demos.sh [build-dir] [--pilot]
#
# --pilot first writes the key scripts anew with demo_pilot, which drives the
# human through each level (needed when the levels or the computer players have
# changed so much that a script no longer reaches a flag).
# Every step is deterministic: a rerun writes byte-identical files.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
pilot=0
for arg in "$@"; do
    case $arg in
    --pilot) pilot=1 ;;
    *) build=$arg ;;
    esac
done
cmake --build "$build" --target headless_run demo_pilot integration_tests >/dev/null
run=$build/tools/headless_run/headless_run

# The demos and their settings: level, then the pilot's options. Between them
# they show both resolutions, the cockpit and the plain panel, both skies, and
# outline drawing (F10) from step 1000 to step 1200 of the first two. The first
# two end with Esc after 2,200 steps (or with a winner before that), the last
# two play on to their winner (at most 6,000 steps). No demo is won before
# step 2,100.
demos=(
    "level-a 0 --steps 2200 --outline 1000:1200"
    "level-b 1 --steps 2200 --high --cockpit --outline 1000:1200"
    "level-c 2 --to-the-end --steps 6000 --high --plain-sky"
    "level-d 3 --to-the-end --steps 6000 --cockpit"
)

mkdir -p data/demos tools/demo_scripts
for entry in "${demos[@]}"; do
    set -- $entry
    name=$1 level=$2
    shift 2
    keys=tools/demo_scripts/$name.keys
    if [ $pilot = 1 ]; then
        "$build/tools/demo_pilot/demo_pilot" --level "$level" --least-steps 2100 --refill-every 700 "$@" "$keys"
    fi
    # The runner works in the data directory, the game's run directory.
    "$run" --keys "$keys" -- -record "demos/$name.dem"
    "$run" -- -playdemo "demos/$name.dem"
    echo "recorded data/demos/$name.dem"
done

frames=tests/integration/demo_frames.txt
{
    echo "# The first frame of chosen steps of each shipped demo: demo, step, FNV-1a 64 of the"
    echo "# frame's rows. Made by scripts/record_demos.sh; do not edit."
} >"$frames"
TESSARON_WRITE_DEMO_FRAMES=$PWD/$frames "$build/tests/integration/integration_tests" \
    --gtest_filter='*ShippedDemo.Replays*' >/dev/null
echo "expected frame hashes in $frames"
