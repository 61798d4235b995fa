#!/bin/bash
# The tree built as packagers and players build it, outside the presets:
#
#   make        the default generator (Unix Makefiles), no build type, no
#               option: a packager's first try. A fresh folder every run.
#               It must build without a single warning (the presets make
#               warnings errors; this build must not need them to be), pass
#               its tests, and `cmake --install --prefix ~/.local` must give
#               a player a game that finds its Ambient and a menu entry
#               that starts it, with nothing written outside that prefix.
#   clang       clang++ and Ninja at -O3 (Release), warnings as errors.
#   release     g++ at -O3 (Release), warnings as errors.
#   minsizerel  g++ at -Os (MinSizeRel), warnings as errors.
#
# (RelWithDebInfo is the default preset's build and Debug the asan preset's.)
#
#   tests/builds/run.sh OUT_DIR [BUILD...]
#
# OUT_DIR holds one folder per build (all four unless named) with its logs;
# the Ninja builds are kept there and rebuilt incrementally. Prints one PASS
# or FAIL line per check and exits non-zero when any check failed.
set -u -o pipefail

if [ $# -lt 1 ]; then
    echo "usage: $0 OUT_DIR [make|clang|release|minsizerel]..." >&2
    exit 2
fi
HERE=$(dirname "$(realpath "$0")")
SRC=$(realpath "$HERE/../..")
OUT=$(realpath -m "$1")
shift
BUILDS=${*:-make clang release minsizerel}
APP_ID=org.plinkfield.Plinkfield
ICON_SIZES="16 32 48 64 128 256 512"
T0=$(date +%s)

for tool in cmake ninja make g++ clang++ ctest Xvfb xdotool xprop jq desktop-file-validate; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/install-deps)"; exit 1; }
done

mkdir -p "$OUT"
WORK=$(mktemp -d /tmp/plinkfield-builds.XXXXXX)
ART=$OUT
# The player's home of the install check; the package tests' helpers find
# the game's Ambient under ROOT at AMBIENT.
HOME_DIR=$WORK/home
ROOT=$HOME_DIR/.local
AMBIENT=lib/plinkfield/plinkfield-ambient
# shellcheck source=tests/deb/lib.sh
. "$HERE/../deb/lib.sh"

cleanup() {
    stop_leftovers
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# build NAME COMPILER [CONFIGURE-ARGUMENT...]: configures OUT/NAME with the
# C++ compiler COMPILER ("default": CMake's own choice) and nothing of the
# caller's CMake settings, builds it and runs its tests, each step a check
# with its log in OUT/NAME-*.log. Fails (returns 1) when a step fails.
build() {
    local name=$1 dir=$OUT/$1 compiler=(-u CXX)
    [ "$2" = default ] || compiler=("CXX=$2")
    shift 2
    if ! nice env -u CMAKE_GENERATOR -u CMAKE_BUILD_TYPE "${compiler[@]}" cmake -S "$SRC" -B "$dir" "$@" \
        >"$OUT/$name-configure.log" 2>&1; then
        fail "$name: configures" "$(tail -n 5 "$OUT/$name-configure.log")"
        return 1
    fi
    local start=$(date +%s)
    if ! nice cmake --build "$dir" --parallel 2 >"$OUT/$name-build.log" 2>&1; then
        fail "$name: builds" "$(grep -m 3 -E 'error|warning' "$OUT/$name-build.log")"
        return 1
    fi
    pass "$name: builds ($(( $(date +%s) - start )) s)"
    if ctest --test-dir "$dir" --parallel 2 --output-on-failure >"$OUT/$name-test.log" 2>&1; then
        pass "$name: its tests pass ($(grep -o '[0-9]*% tests passed.*' "$OUT/$name-test.log" | head -n 1))"
    else
        fail "$name: its tests pass" "$(grep -A 20 'tests FAILED' "$OUT/$name-test.log" | tr '\n' ' ')"
        return 1
    fi
}

cache() { sed -n "s/^$2:[A-Z]*=//p" "$OUT/$1/CMakeCache.txt"; }

# -------------------------------------------------- a packager's first try

packager_build() {
    rm -rf "${OUT:?}/make"
    build make default || return
    expect "make: the default generator" "Unix Makefiles" "$(cache make CMAKE_GENERATOR)"
    expect "make: warnings are not errors unless asked" "OFF" "$(cache make PLINKFIELD_WERROR)"
    expect "make: not one warning" "" "$(grep 'warning:' "$OUT/make-build.log" | head -n 3)"
}

# ------------------------------------------------- installed for a player

# Everything the package holds, under the player's prefix.
expected_files() {
    echo games/plinkfield
    echo games/plinkfield-sim
    echo lib/plinkfield/plinkfield-ambient
    echo "share/applications/$APP_ID.desktop"
    echo "share/metainfo/$APP_ID.metainfo.xml"
    for size in $ICON_SIZES; do echo "share/icons/hicolor/${size}x${size}/apps/$APP_ID.png"; done
    echo share/man/man6/plinkfield.6.gz
    echo share/man/man6/plinkfield-sim.6.gz
    echo share/doc/plinkfield/copyright
    echo share/doc/plinkfield/changelog.gz
}

player_install() {
    local dir=$OUT/make
    mkdir -p "$HOME_DIR"
    if ! HOME=$HOME_DIR cmake --install "$dir" --prefix "$HOME_DIR/.local" >"$OUT/install.log" 2>&1; then
        fail "cmake --install --prefix ~/.local" "$(tail -n 5 "$OUT/install.log")"
        return
    fi
    pass "cmake --install --prefix ~/.local"
    local outside
    outside=$(grep -v "^$ROOT/" "$dir/install_manifest.txt")
    expect "the install writes nothing outside the prefix (no root needed)" "" "$outside"
    (cd "$ROOT" && find . ! -type d | sed 's|^\./||' | sort) >"$WORK/installed.txt"
    if diff -u <(expected_files | sort) "$WORK/installed.txt" >"$OUT/install-files.diff"; then
        pass "every file in its place under ~/.local, and nothing else"
    else
        fail "every file in its place under ~/.local" "$(grep '^[-+][^-+]' "$OUT/install-files.diff" | tr '\n' ' ')"
    fi

    DESKTOP=$ROOT/share/applications/$APP_ID.desktop
    [ -f "$DESKTOP" ] || return
    EXEC=$(sed -n '/^\[Desktop Entry\]/,/^\[/ s/^Exec=//p' "$DESKTOP" | head -n 1)
    expect "menu entry: Exec is the installed game" "$ROOT/games/plinkfield" "$EXEC"
    check "menu entry: desktop-file-validate" sh -c '[ -z "$(desktop-file-validate "$1" 2>&1)" ]' _ "$DESKTOP"

    [ -x "$EXEC" ] || return
    if ! start_x; then
        fail "Xvfb starts" "$(cat "$ART/xvfb.log")"
        return
    fi
    # As the menu starts it: the entry's command, from a neutral folder,
    # with nothing of the build tree on any path.
    DUMP=$WORK/scene.json
    (cd / && exec env -u LD_LIBRARY_PATH -u XDG_DATA_HOME HOME="$HOME_DIR" PLINKFIELD_SCENE_DUMP="$DUMP" SDL_AUDIODRIVER=dummy \
        "$EXEC") >"$ART/game.log" 2>&1 &
    GAME_PID=$!
    play_start_and_close
}

# ------------------------------------------------------------- the builds

for b in $BUILDS; do
    echo "== $b"
    case $b in
        make) packager_build && player_install ;;
        clang) build clang clang++ -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLINKFIELD_WERROR=ON ;;
        release) build release g++ -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLINKFIELD_WERROR=ON ;;
        minsizerel) build minsizerel g++ -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DPLINKFIELD_WERROR=ON ;;
        *) fail "no build called $b" ;;
    esac
done

echo "builds ($BUILDS) in $(( $(date +%s) - T0 )) s, logs in $OUT:"
summary
