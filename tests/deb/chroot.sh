#!/bin/bash
# Installs the Debian package the way a player does, in a clean Debian 12
# made for the purpose, and plays it there: debootstrap makes a minimal
# bookworm (kept in BUILD_DIR/chroot-base for the next run), a fresh copy of
# it gets `apt-get install ./plinkfield_<version>_amd64.deb`, which must pull
# every library the programs need; then the installed game starts as the menu
# entry starts it, in a headless X server of this machine, START starts the
# installed Ambient and the close button ends both; `apt-get remove` takes
# every file away again.
#
#   tests/deb/chroot.sh BUILD_DIR
#
# Needs root (chroot, mounting /proc) and the network: debootstrap and apt
# download Debian packages (about 100 MB the first time) from the mirror of
# this machine's apt sources. Not part of scripts/test.
set -u -o pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 BUILD_DIR" >&2
    exit 2
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "FAIL: the chroot test needs root (chroot and mount)"
    exit 1
fi
HERE=$(dirname "$(realpath "$0")")
BUILD=$(realpath "$1")
ART=$BUILD/test-chroot
APP_ID=org.plinkfield.Plinkfield

for tool in debootstrap chroot mount umount dpkg-deb Xvfb xdotool xprop jq; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/install-deps)"; exit 1; }
done
VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt" 2>/dev/null)
DEB=$BUILD/package/plinkfield_${VERSION}_amd64.deb
[ -n "$VERSION" ] && [ -f "$DEB" ] || { echo "FAIL: no package in $BUILD/package"; exit 1; }
echo "Installing $DEB in a clean Debian 12"

mkdir -p "$ART"
rm -f "$ART"/*
WORK=$(mktemp -d /tmp/plinkfield-chroot.XXXXXX)
ROOT=$WORK/root
# shellcheck source=tests/deb/lib.sh
. "$HERE/lib.sh"

# mounted_under DIR: whether anything is mounted at or below DIR.
mounted_under() { awk -v d="$1" '$5 == d || index($5, d "/") == 1 { found = 1 } END { exit !found }' /proc/self/mountinfo; }
cleanup() {
    stop_leftovers
    mounted_under "$ROOT" && umount "$ROOT/proc"
    # Never remove a tree that still has something of this machine mounted in it.
    if mounted_under "$ROOT"; then
        echo "  .. $ROOT is still mounted; left in place" >&2
    else
        rm -rf "$WORK"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

in_root() { chroot "$ROOT" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8 "$@"; }

# ------------------------------------------------------------ a clean Debian

# The mirror this machine's apt uses, deb822 or one-line format.
mirror=$(sed -n 's/^URIs: *\([^ ]*\/debian\)$/\1/p; s/^deb \(\[[^]]*\] \)\?\([^ ]*\/debian\) bookworm .*/\2/p' \
    /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null | head -n 1)
mirror=${mirror:-http://deb.debian.org/debian}
BASE=$BUILD/chroot-base
if [ ! -x "$BASE/usr/bin/apt-get" ]; then
    note "debootstrap bookworm from $mirror into $BASE (once, a few minutes)"
    rm -rf "$BASE"
    if ! debootstrap --variant=minbase bookworm "$BASE" "$mirror" >"$ART/debootstrap.log" 2>&1; then
        tail -n 20 "$ART/debootstrap.log"
        echo "FAIL: debootstrap (log: $ART/debootstrap.log)"
        rm -rf "$BASE"
        exit 1
    fi
fi
cp -a "$BASE" "$ROOT"
cp /etc/resolv.conf "$ROOT/etc/resolv.conf"
mount -t proc proc "$ROOT/proc"
check "the clean Debian has no SDL2" test -z "$(in_root dpkg-query -W -f='${Package}\n' 'libsdl2*' 2>/dev/null)"

# ------------------------------------------------------------ apt install ./

cp "$DEB" "$ROOT/tmp/"
name=$(basename "$DEB")
if in_root apt-get update >"$ART/apt-update.log" 2>&1 &&
   in_root sh -c "cd /tmp && apt-get install -y ./$name" >"$ART/apt-install.log" 2>&1; then
    pass "apt-get install ./$name in a clean Debian 12"
else
    fail "apt-get install ./$name in a clean Debian 12" "$(tail -n 5 "$ART/apt-install.log")"
    summary
    exit 1
fi
expect "installed version" "$VERSION" "$(in_root dpkg-query -W -f='${Version}' plinkfield)"
check "apt pulled in SDL2 for it" test -n "$(in_root dpkg-query -W -f='${Package}\n' 'libsdl2-2.0-0' 2>/dev/null)"
in_root dpkg -L plinkfield >"$ART/files.txt"
for f in /usr/games/plinkfield /usr/games/plinkfield-sim /usr/lib/plinkfield/plinkfield-ambient \
         "/usr/share/applications/$APP_ID.desktop" "/usr/share/metainfo/$APP_ID.metainfo.xml"; do
    check "installed: $f" grep -qx "$f" "$ART/files.txt"
done
# Every library each program needs is there: the dynamic loader finds them.
for program in /usr/games/plinkfield /usr/games/plinkfield-sim /usr/lib/plinkfield/plinkfield-ambient; do
    missing=$(in_root ldd "$program" 2>&1 | grep 'not found')
    expect "$program finds every library" "" "$missing"
done
check "plinkfield-sim plays in the clean Debian" \
    grep -q '"ambient":"start"' <<<"$(printf 'seed 1\nstart\n' | in_root /usr/games/plinkfield-sim)"

# ------------------------------------------------------- the game, installed

EXEC=$(sed -n 's/^Exec=//p' "$ROOT/usr/share/applications/$APP_ID.desktop")
if start_x; then
    # The X server's abstract socket reaches into the chroot without a mount.
    DUMP=$ROOT/tmp/scene.json
    in_root DISPLAY="$DISPLAY" PLINKFIELD_SCENE_DUMP=/tmp/scene.json SDL_AUDIODRIVER=dummy XDG_DATA_HOME=/tmp/data "$EXEC" \
        >"$ART/game.log" 2>&1 &
    GAME_PID=$!
    play_start_and_close
else
    fail "Xvfb starts" "$(cat "$ART/xvfb.log")"
fi

# ------------------------------------------------------------- apt remove

if in_root apt-get remove -y plinkfield >"$ART/apt-remove.log" 2>&1; then
    pass "apt-get remove plinkfield"
else
    fail "apt-get remove plinkfield" "$(tail -n 5 "$ART/apt-remove.log")"
fi
left=""
while read -r f; do
    [ -f "$ROOT$f" ] && left="$left $f"
done <"$ART/files.txt"
expect "apt-get remove leaves none of its files" "" "$left"

summary
