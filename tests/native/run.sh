#!/bin/bash
# End to end: the native plinkfield and plinkfield-ambient in a private
# headless X server with a real window manager (openbox, so that dragging by
# the title strip and minimizing behave as on a desktop), driven with real
# mouse and key events (xdotool) and watched through screenshots, the
# game's test dump (PLINKFIELD_SCENE_DUMP, see game/shell/sdl/sdl_dump.cpp)
# and, for the cues, what SDL's disk audio driver wrote.
#
#   tests/native/run.sh BUILD_DIR RESOURCE_DIR [ARTIFACT_DIR]
#
# BUILD_DIR holds plinkfield, plinkfield-ambient and plinkfield-sim (which
# replays the recordings); RESOURCE_DIR the painted
# files they carry (game/<id>.bmp, game/<id>.wav), which the screenshots and
# the sound are compared with. Prints one PASS or FAIL line per check and
# closes with "P passed, F failed"; exits non-zero when any check failed.
# Screenshots and logs are left in ARTIFACT_DIR (default: BUILD_DIR/
# native-e2e). Every wait is for a state, with a generous deadline.
#
# This file holds the helpers of this suite and runs the checks, which live
# beside it by subject: start.sh (the start screen, its labels, the
# buttons), game.sh (a game, the mouse buttons that are no shot), window.sh
# (the keys, dragging, minimizing, the ends, a scaled window), timer.sh
# (a second game, a stall), sound.sh (the cues, no sound device, no
# Ambient; cue_cut.py reads the mix), record.sh (recordings and replays),
# scores.sh (the table of best games, BEST on the panel, --scores and
# --replay best:N), screens.sh (screens of other sizes) and pad.sh (a gamepad; pad_aim.py
# steers its stick, cursor_shown.py sees the mouse pointer). What the other
# suites share with this one is in tests/lib/.
#
# Environment:
#   NATIVE_GROUPS the groups of checks to run, by file (default all, in
#                 this order): start game window timer sound record scores
#                 screens pad; game and window go on with the game that start
#                 opened
set -u -o pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 BUILD_DIR RESOURCE_DIR [ARTIFACT_DIR]" >&2
    exit 2
fi
BUILD=$(realpath "$1")
RES=$(realpath "$2")
ART=$(realpath -m "${3:-$BUILD/native-e2e}")
HERE=$(dirname "$(realpath "$0")")
# shellcheck source=tests/lib/harness.sh
. "$HERE/../lib/harness.sh"

for tool in Xvfb openbox xdotool xprop xwininfo import convert compare jq python3; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/install-deps)"; exit 1; }
done
for f in "$BUILD/plinkfield" "$BUILD/plinkfield-ambient" "$BUILD/plinkfield-sim" "$RES/game/100.bmp" \
    "$RES/game/7900.wav"; do
    [ -f "$f" ] || { echo "FAIL: missing $f"; exit 1; }
done

mkdir -p "$ART"
rm -f "$ART"/*.png "$ART"/*.log "$ART"/*.json
WORK=$(mktemp -d /tmp/plinkfield-native.XXXXXX)
GAME_PID=""
# Every game of this run keeps its best games in a data folder of the run's
# own, never in the real home's (scores.sh gives some games their own).
export XDG_DATA_HOME=$WORK/data
REAL_DATA=${HOME:-/nonexistent}/.local/share/plinkfield
real_data_listing() { ls -la --time-style=full-iso "$REAL_DATA" 2>/dev/null; }
REAL_DATA_BEFORE=$(real_data_listing)

cleanup() {
    # Only what this run started: the games of its own copies (stopped ones
    # too), its window manager and its X server.
    local pid
    for pid in $(run_processes plinkfield) $(run_processes plinkfield-ambient); do
        kill -9 "$pid" 2>/dev/null
    done
    stop_x
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# ---------------------------------------------------------- the programs

# Copies of the build, so that this run's processes are told apart by their
# program file: one complete, one without Ambient, one with an Ambient that
# cannot be executed, and one whose Ambient (the game's own, started through
# a script) plays to SDL's dummy device, so that the game alone writes to
# the disk audio driver's file.
install_copies() {
    mkdir -p "$WORK/game" "$WORK/lonely" "$WORK/broken" "$WORK/mixer"
    cp "$BUILD/plinkfield" "$BUILD/plinkfield-ambient" "$WORK/game/"
    cp "$BUILD/plinkfield" "$WORK/lonely/"
    cp "$BUILD/plinkfield" "$BUILD/plinkfield-ambient" "$WORK/broken/"
    chmod -x "$WORK/broken/plinkfield-ambient"
    cp "$BUILD/plinkfield" "$WORK/mixer/"
    printf '#!/bin/sh\nexec env -u SDL_DISKAUDIOFILE SDL_AUDIODRIVER=dummy "%s"\n' \
        "$WORK/game/plinkfield-ambient" >"$WORK/mixer/plinkfield-ambient"
    chmod +x "$WORK/mixer/plinkfield-ambient"
}

# Living processes (not zombies) whose program file is one of this run's
# copies of NAME.
run_processes() { processes_from "$WORK/*/$1"; }
count_of() { run_processes "$1" | wc -l; }
no_ambient() { [ "$(count_of plinkfield-ambient)" -eq 0 ]; }

# launch NAME DIR [ENV=VALUE...] [-- ARGS...]: starts DIR/plinkfield with its
# dump in $WORK/NAME.json and stderr in $ART/NAME.log; sets GAME_PID, DUMP
# and WIN once the first frame is on the screen.
launch() {
    local name=$1 dir=$2
    shift 2
    local envs=() args=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do envs+=("$1"); shift; done
    [ "${1:-}" = -- ] && shift
    args=("$@")
    DUMP="$WORK/$name.json"
    rm -f "$DUMP"
    env PLINKFIELD_SCENE_DUMP="$DUMP" SDL_AUDIODRIVER=dummy "${envs[@]}" "$dir/plinkfield" "${args[@]}" \
        2>"$ART/$name.log" &
    GAME_PID=$!
    disown "$GAME_PID"  # some are killed on purpose; no job notices
    WIN=""
    wait_for 30 first_frame_shown || { fail "$name: the game shows its first frame" "see $ART/$name.log"; return 1; }
}

# The window's own keys.
key() { xdotool key --window "$WIN" "$@"; }

ambient_pid() { q '.native.ambient[0] // empty'; }
ambient_started() { [ -n "$(ambient_pid)" ] && alive "$(ambient_pid)"; }
ended_with_ambient() { gone "$GAME_PID" && no_ambient; }
cartridges_left() { q '[.scene[] | select(.name | startswith("cartridge[")) | select(.visible)] | length'; }

# START, and wait until the game runs with its Ambient.
start_game() {
    click_element start_button
    wait_for 20 stage_is 1 && wait_for 20 ambient_started
}

# A raised rodent's middle, in window pixels ("" when none stands up); AT
# holds it once one does (record.sh, scores.sh).
raised_rodent_at() {
    q '.native.scale as $s | [range(1; 10) as $h | select(.state.hole_hittable[$h - 1] == 1)
       | .scene[] | select(.name == "raised[\($h)]" and .visible)
       | "\((.x + .w / 2) * $s | floor) \((.y + .h / 2) * $s | floor)"] | first // empty'
}
a_rodent_stands() { AT=$(raised_rodent_at); [ -n "$AT" ]; }
# fire_shots N EVERY: shots, a move before each, until the game has fired
# N: every EVERY-th at a rodent that stands up (if one does within 8 s),
# the others into the sky.
fire_shots() {
    local fired
    fired=$(q .state.shots_fired)
    while [ "$fired" -lt "$1" ]; do
        if [ $((fired % $2)) = 0 ] && wait_for 8 a_rodent_stands; then
            # shellcheck disable=SC2086
            xdotool mousemove --window "$WIN" $AT click 1
        else
            xdotool mousemove --window "$WIN" $((300 + fired * 20)) 150 click 1
        fi
        fired=$((fired + 1))
        wait_for 20 shots_are "$fired" || return 1
    done
}

# Recordings and the simulator (record.sh, scores.sh, pad.sh).
SIM=$BUILD/plinkfield-sim

# sim_of SCRIPT: the state and the scene plinkfield-sim prints for SCRIPT
# followed by "state" and "scene", one JSON line each, compact.
sim_of() {
    { cat "$1"; printf 'state\nscene\n'; } | "$SIM" | tail -n 2 | jq -c '.state // .scene'
}
# dump_of DUMP: the same two lines from a game's dump.
dump_of() { jq -c '.state, .scene' "$1"; }

# ================================================================== checks

start_x || exit 1
start_wm || exit 1
install_copies
note "display $DISPLAY with openbox; programs in $WORK"
T0=$(date +%s)

MAIN=""  # the first run of the game, opened by start.sh
for group in ${NATIVE_GROUPS:-start game window timer sound record scores screens pad}; do
    [ -f "$HERE/$group.sh" ] || { fail "no group of checks '$group'"; continue; }
    # shellcheck source=/dev/null
    . "$HERE/$group.sh"
done

check "no game of this run kept anything in the real home ($REAL_DATA)" \
    test "$(real_data_listing)" = "$REAL_DATA_BEFORE"
check "no plinkfield or plinkfield-ambient of this run is left" \
    sh -c "[ $(count_of plinkfield) = 0 ] && [ $(count_of plinkfield-ambient) = 0 ]"

note "the native suite took $(( $(date +%s) - T0 )) s"
summary
