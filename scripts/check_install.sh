#!/usr/bin/env bash
# Checks what a build installs (the build folder is the argument, build/ by
# default): `cmake --install` into a scratch prefix; the installed game run
# headless from another directory through a short match (a timed demo), and
# again after the whole prefix has been moved; the desktop entry and the
# AppStream metadata validated; the icons in every size; the Debian package
# built, its files the same as the installation's, installed into and removed
# from a scratch root cleanly.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "check_install: $*" >&2; exit 1; }

prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" > /dev/null

# The installed game, headless, from a directory that has nothing of it. The
# scratch config and data homes keep the user's settings and screenshots out.
play() {
    mkdir -p "$scratch/elsewhere"
    (cd "$scratch/elsewhere" &&
        SDL_VIDEODRIVER=dummy XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" \
            "$1/bin/tessaron3d" -timedemo demos/level-a.dem) > "$scratch/timedemo.txt" ||
        fail "the game installed in $1 did not play its demo"
    grep -q '^timedemo demos/level-a.dem: [0-9]* steps' "$scratch/timedemo.txt" ||
        fail "unexpected output: $(cat "$scratch/timedemo.txt")"
    cat "$scratch/timedemo.txt"
}
play "$prefix"
mv "$prefix" "$scratch/moved"
play "$scratch/moved"
mv "$scratch/moved" "$prefix"

desktop-file-validate "$prefix"/share/applications/*.desktop
appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml
for size in 16 22 24 32 48 64 128 256; do
    [ -f "$prefix/share/icons/hicolor/${size}x${size}/apps/tessaron3d.png" ] || fail "no ${size}x${size} icon"
done
[ ! -e "$prefix/share/tessaron3d/icons" ] || fail "the icons went into the game's data"

# The package holds exactly what the installation holds, under /usr.
(cd "$build" && cpack -G DEB -B "$scratch/deb" > /dev/null)
deb=$(ls "$scratch"/deb/tessaron3d_*.deb)
dpkg-deb -f "$deb" Depends | grep -q libsdl2 || fail "the package does not depend on SDL2"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | sort > "$scratch/deb-files.txt"
(cd "$prefix" && find . -type f | sed 's|^\./||' | sort) > "$scratch/installed-files.txt"
diff "$scratch/installed-files.txt" "$scratch/deb-files.txt" || fail "the package's files differ from the installation's"
echo "$(wc -l < "$scratch/deb-files.txt") files in $(basename "$deb")"

# Installed into an empty root of its own and removed again, nothing left behind.
root=$scratch/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --log=/dev/null --force-depends --force-script-chrootless -i "$deb" > /dev/null 2>&1 ||
    fail "the package does not install"
[ -x "$root/usr/bin/tessaron3d" ] || fail "the installed package has no game"
dpkg --root="$root" --log=/dev/null --force-script-chrootless -r tessaron3d > /dev/null 2>&1 ||
    fail "the package does not remove"
left=$(find "$root" -mindepth 1 -not -path "$root/var*" | head -5)
[ -z "$left" ] || fail "left behind after removal: $left"
echo "check_install: the installation, the validators and the package are in order"
