#!/bin/bash
# Installs the Debian package the way a player does, in a clean Debian of
# the given release made for the purpose, and plays it there: debootstrap
# makes a minimal root (tests/lib/debian_root.sh), which gets `apt-get
# install ./plinkfield_<version>_amd64.deb`; that must pull every library the
# programs need; then the installed game starts as the menu entry starts it,
# in a headless X server of this machine, START starts the installed Ambient
# and the close button ends both; `apt-get remove` takes every file away
# again. A package built on a later release than RELEASE may need library
# versions RELEASE lacks: then apt must refuse it and leave nothing behind.
#
#   tests/deb/chroot.sh RELEASE PACKAGE.deb ART_DIR
#
# Needs root (chroot, mounting /proc) and the network: debootstrap and apt
# download Debian packages (about 100 MB) from the mirror of this machine's
# apt sources. Not part of scripts/test.
set -u -o pipefail

if [ $# -ne 3 ]; then
    echo "usage: $0 RELEASE PACKAGE.deb ART_DIR" >&2
    exit 2
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "FAIL: the chroot test needs root (chroot and mount)"
    exit 1
fi
HERE=$(dirname "$(realpath "$0")")
RELEASE=$1
DEB=$(realpath "$2")
ART=$(realpath -m "$3")
APP_ID=org.plinkfield.Plinkfield
# shellcheck source=tests/lib/debian_root.sh
. "$HERE/../lib/debian_root.sh"
known_release "$RELEASE" || { echo "FAIL: $RELEASE is none of $DEBIAN_RELEASES"; exit 2; }

for tool in debootstrap chroot mount umount unshare dpkg-deb Xvfb xdotool xprop jq; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/install-deps)"; exit 1; }
done
[ -f "$DEB" ] || { echo "FAIL: no package $DEB"; exit 1; }
VERSION=$(dpkg-deb -f "$DEB" Version)
echo "Installing $DEB in a clean Debian $RELEASE"

mkdir -p "$ART"
rm -f "$ART"/*
WORK=$(mktemp -d /tmp/plinkfield-chroot.XXXXXX)
ROOT=$WORK/root
# shellcheck source=tests/deb/lib.sh
. "$HERE/lib.sh"

cleanup() {
    stop_leftovers
    remove_root "$ROOT" && rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

in_root() { in_root_of "$ROOT" "$@"; }

# ------------------------------------------------------------ a clean Debian

note "debootstrap $RELEASE from $DEBIAN_MIRROR"
if ! make_root "$RELEASE" "$ROOT" "$ART/debootstrap.log"; then
    tail -n 20 "$ART/debootstrap.log"
    echo "FAIL: a clean Debian $RELEASE (log: $ART/debootstrap.log)"
    exit 1
fi
check "the clean Debian has no SDL2" test -z "$(in_root dpkg-query -W -f='${Package}\n' 'libsdl2*' 2>/dev/null)"

# unmet_depends: the package's versioned dependencies that no version this
# release offers satisfies ("libc6 (>= 2.38), this release has 2.36-9").
unmet_depends() {
    local dep alt name op version have ok
    dpkg-deb -f "$DEB" Depends | tr ',' '\n' | while read -r dep; do
        ok=""
        have=""
        while read -r alt; do
            name=${alt%% *}
            have=$(in_root apt-cache policy "$name" | sed -n 's/^ *Candidate: *//p')
            [ -n "$have" ] && [ "$have" != "(none)" ] || continue
            if [[ $alt =~ \(([<>=]+)\ *([^\)]*)\) ]]; then
                op=${BASH_REMATCH[1]} version=${BASH_REMATCH[2]}
                case $op in '>=') op=ge ;; '<=') op=le ;; '>>') op=gt ;; '<<') op=lt ;; '=') op=eq ;; esac
                dpkg --compare-versions "$have" "$op" "$version" && ok=yes
            else
                ok=yes
            fi
        done < <(tr '|' '\n' <<<"$dep" | sed 's/^ *//; s/ *$//')
        [ -n "$ok" ] || echo "$dep, this release has ${have:-none}"
    done
}

# ------------------------------------------------------------ apt install ./

cp "$DEB" "$ROOT/tmp/"
name=$(basename "$DEB")
unmet=$(unmet_depends)
if [ -n "$unmet" ]; then
    # Built on a later release: apt must say no and install nothing of it.
    note "$name needs what Debian $RELEASE lacks: $(paste -sd ';' <<<"$unmet" | sed 's/;/; /g')"
    if in_root sh -c "cd /tmp && apt-get install -y ./$name" >"$ART/apt-install.log" 2>&1; then
        fail "apt-get refuses ./$name in Debian $RELEASE" "it installed"
    else
        pass "apt-get refuses ./$name in Debian $RELEASE: it depends on $(sed 's/,.*//' <<<"$unmet" | paste -sd ',' | sed 's/,/, /g')"
    fi
    expect "nothing of $name is installed" "" "$(in_root dpkg-query -W -f='${Status}' plinkfield 2>/dev/null | grep ' installed$')"
    summary
    exit
fi
if in_root sh -c "cd /tmp && apt-get install -y ./$name" >"$ART/apt-install.log" 2>&1; then
    pass "apt-get install ./$name in a clean Debian $RELEASE"
else
    fail "apt-get install ./$name in a clean Debian $RELEASE" "$(tail -n 5 "$ART/apt-install.log")"
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
check "plinkfield-sim plays in the clean Debian $RELEASE" \
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
