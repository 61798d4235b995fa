#!/bin/bash
# End to end: the real Plinkfield.exe and Ambient.exe under Wine, in a
# private headless X server, driven with real mouse and key events
# (xdotool) and watched from outside with scene-probe.exe and screenshots.
#
#   tests/e2e/run.sh GAME_DIR PROBE_EXE RESOURCE_DIR [ARTIFACT_DIR]
#
# GAME_DIR holds Plinkfield.exe and Audio_Bkgrnd/Ambient.exe; RESOURCE_DIR
# the painted files the programs were built from (game/<id>.bmp), which the
# screenshots are compared with, and manifest.txt, the game's tables as the
# build wrote them (the scene as created, the targets and their points).
# Prints one PASS or FAIL line per check and closes with "P passed,
# F failed"; exits non-zero when any check failed. Screenshots and logs are
# left in ARTIFACT_DIR (default: a folder "e2e" beside GAME_DIR).
#
# This file drives the run; the helpers and the runs live beside it by
# subject: wine.sh (the prefix, the probe, the processes), scene.sh (the
# scene, input, pictures, expectations), files.sh, game.sh (the first game,
# Alt+F4), quick_ends.sh, ambient.sh (Ambient and the sound), screens.sh
# (other screens and densities), installer.sh (the MSI) and monkey.sh;
# what the other suites share with this one is in tests/lib/.
#
# A busy machine makes the run slower, never wrong: every check waits for
# the state it expects, up to a timeout. Where a command must change
# nothing, the check is made once the game has handled everything sent
# before it: an arrow key sent after the input has moved the window, and a
# second one has moved it back (settle). What lasts only a few ticks (the
# marker of a hit) is caught by the probe as it appears, the probe already
# watching when the click is sent.
#
# Environment:
#   E2E_RUNS        the runs of the game to make (default all, in this order):
#                   files ambient game alt_f4 quick_cancel quick_close
#                   quick_other every_ambient missing screens installer monkey
#   MSI             the installer to test (run installer), and MSI_MAKER
#                   the build's installer/make_msi.cmake, which makes a newer one
#   MONKEY_SEED     seed of the monkey's input (default: a new one, printed);
#                   the same seed sends the same input again
#   MONKEY_SECONDS  how long the monkey plays (default 120)
set -u -o pipefail

if [ $# -lt 3 ]; then
    echo "usage: $0 GAME_DIR PROBE_EXE RESOURCE_DIR [ARTIFACT_DIR]" >&2
    exit 2
fi
GAME_DIR=$(realpath "$1")
PROBE=$(realpath "$2")
RES=$(realpath "$3")
ART=$(realpath -m "${4:-$GAME_DIR/../e2e}")
HERE=$(dirname "$(realpath "$0")")
# shellcheck source=tests/lib/harness.sh
. "$HERE/../lib/harness.sh"
WAIT_POLL=0.1  # most waits ask the probe, itself a Wine process
RUNS=${E2E_RUNS:-files ambient game alt_f4 quick_cancel quick_close quick_other every_ambient missing screens installer monkey}
MONKEY_SEED=${MONKEY_SEED:-$(( $(date +%s%N) / 1000 % 1000000000 ))}
MONKEY_SECONDS=${MONKEY_SECONDS:-120}

for tool in wine wineboot wineserver Xvfb xdotool xwininfo import convert compare; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/install-deps)"; exit 1; }
done
for f in "$GAME_DIR/Plinkfield.exe" "$GAME_DIR/Audio_Bkgrnd/Ambient.exe" "$PROBE" "$RES/game/100.bmp" "$RES/manifest.txt"; do
    [ -f "$f" ] || { echo "FAIL: missing $f"; exit 1; }
done

mkdir -p "$ART"
rm -f "$ART"/*.png "$ART"/*.txt
WORK=$(mktemp -d /tmp/plinkfield-e2e.XXXXXX)
TAG=$(basename "$WORK")  # in the paths of this run's processes

cleanup() {
    # Only what this run started: its own prefixes' wineservers and X servers.
    local prefix
    for prefix in "$WORK/prefix" "$WORK/msi-prefix"; do
        [ -d "$prefix" ] && WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1
    done
    stop_pid "${SCREEN_X:-}"
    stop_x
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The helpers and the runs, by subject.
for subject in wine scene files game quick_ends ambient screens installer monkey; do
    # shellcheck source=/dev/null
    . "$HERE/$subject.sh"
done

# ======================================================== the whole run

T0=$(date +%s)
start_x || exit 1
make_prefix
install_copies
for run in $RUNS; do
    declare -F "run_$run" >/dev/null || { fail "no run '$run'"; continue; }
    "run_$run"
    # Whatever a run left running is not the next one's business.
    for pid in $(pids_of Plinkfield.exe) $(pids_of Ambient.exe); do kill "$pid" 2>/dev/null; done
    wait_for 20 game_ended
done

echo "Start-up times (ms, process start to window shown): $(cat "$ART/startup-ms.txt" 2>/dev/null | tr '\n' ' ')"
echo "Program sizes (bytes): $(cat "$ART/sizes.txt" 2>/dev/null | tr '\n' ' ')"
echo "Artifacts in $ART"
note "the whole run took $(( $(date +%s) - T0 )) s"
summary
