#!/usr/bin/env bash
# Sets up and runs all the tests: the normal build, then the sanitizer build
# (AddressSanitizer + UndefinedBehaviorSanitizer) with the same tests.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2 -LE soak

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSARON_SANITIZE=ON -DTESSARON_BUILD_BENCH=OFF
cmake --build build-asan -j2
ctest --test-dir build-asan --output-on-failure -j2 -LE soak
