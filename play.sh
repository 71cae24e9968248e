#!/usr/bin/env bash
# Sets up (installs what is missing), builds and starts Tessaron 3d. Arguments are
# passed to the game (e.g. -nodirectdraw).
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh

cmake -S . -B build-play -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSARON_BUILD_TESTS=OFF -DTESSARON_BUILD_BENCH=OFF
cmake --build build-play -j2 --target tessaron3d
cd data
exec ../build-play/shell/tessaron3d "$@"
