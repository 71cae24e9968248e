#!/usr/bin/env bash
# Installs what building, testing and playing Tessaron 3d needs on Debian, when it
# is missing: a compiler, CMake, Ninja, GoogleTest, Google Benchmark, SDL2 and
# SDL2_mixer (sound), libpng (screenshots) and FreeType (for the font tool);
# desktop-file-utils, appstream and dpkg-dev check the installation and build its
# Debian package.
set -euo pipefail

packages=(g++ cmake ninja-build libgtest-dev libgmock-dev libbenchmark-dev libsdl2-dev libsdl2-mixer-dev libfreetype-dev libpng-dev fonts-dejavu-core pkg-config desktop-file-utils appstream dpkg-dev clang-format)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y "${missing[@]}"
fi
