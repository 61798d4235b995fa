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
# Prints one PASS or FAIL line per check and exits non-zero when any check failed. Screenshots and logs are left in
# ARTIFACT_DIR (default: a folder "e2e" beside GAME_DIR).
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
#                   quick_other every_ambient missing monkey
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
ROOT=$(realpath "$HERE/../..")
# shellcheck source=tests/lib/harness.sh
. "$HERE/../lib/harness.sh"
WAIT_POLL=0.1  # most waits ask the probe, itself a Wine process
RUNS=${E2E_RUNS:-files ambient game alt_f4 quick_cancel quick_close quick_other every_ambient missing monkey}
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
XVFB_PID=""

cleanup() {
    # Only what this run started: its own prefix's wineserver and Xvfb.
    [ -d "$WORK/prefix" ] && WINEPREFIX="$WORK/prefix" wineserver -k >/dev/null 2>&1
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# ----------------------------------------------------------------- reporting


# expect_until NAME EXPECTED SECONDS COMMAND...: runs COMMAND (in this
# shell, so that what it reads stays read) until it prints EXPECTED, at
# most SECONDS; fails with what it printed last.
expect_until() {
    local name=$1 expected=$2 deadline=$(( $(date +%s%N) + $3 * 1000000000 )) actual
    shift 3
    while :; do
        "$@" >"$WORK/actual" 2>/dev/null
        actual=$(<"$WORK/actual")
        [ "$actual" = "$expected" ] && { pass "$name"; return 0; }
        [ "$(date +%s%N)" -ge "$deadline" ] && { fail "$name" "expected '$expected', got '$actual'"; return 1; }
        sleep 0.1
    done
}

# check_until NAME SECONDS COMMAND...: passes once COMMAND succeeds, fails
# if it has not within SECONDS.
check_until() {
    local name=$1
    shift
    if wait_for "$@"; then pass "$name"; else fail "$name"; fi
}

# ------------------------------------------------------- X server and Wine

make_prefix() {
    export WINEPREFIX="$WORK/prefix" WINEARCH=win64 WINEDEBUG=-all
    # No Mono or Gecko installer dialogs, no menu entries in the user's home.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    audio_sink null
    local t0=$(date +%s%N)
    mkdir -p "$WINEPREFIX"
    wineserver -p  # stays up between the programs of this run
    wineboot -i >"$ART/wineboot.log" 2>&1
    # Without a window manager, Wine's own window handling: closing does not
    # stall and keyboard focus does not follow the pointer.
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="N"\n' >"$WORK/x11.reg"
    wine regedit /S "$WORK/x11.reg" >>"$ART/wineboot.log" 2>&1
    note "Wine prefix ready in $(( ($(date +%s%N) - t0) / 1000000 )) ms"
}

probe() { wine "$PROBE" "$@" 2>>"$ART/probe.log"; }

# probe_watch FIFO ARGS...: the probe in the background, its answers in
# FIFO; sets WATCHER, the probe's own process, which may be ended early.
probe_watch() {
    local fifo=$1
    shift
    rm -f "$fifo"
    mkfifo "$fifo"
    (exec wine "$PROBE" "$@" 2>>"$ART/probe.log") >"$fifo" &
    WATCHER=$!
}

stop_watch() {
    kill "$WATCHER" 2>/dev/null
    wait "$WATCHER" 2>/dev/null
}

# ------------------------------------------------------------------ sound

# audio_sink null|FILE: where the programs started from now on play. No
# sound card is needed: ALSA's null device gives winmm one silent output,
# and its file plugin writes what is played to FILE. Wine hands ALSA the
# WAVE's own format, and every PlaySound opens the device anew, so FILE
# holds the samples of the last sound played, byte for byte.
audio_sink() {
    local conf="$WORK/asound-$(basename "$1").conf"
    if [ "$1" = null ]; then
        echo 'pcm.!default { type null }' >"$conf"
    else
        printf 'pcm.!default { type file slave.pcm "silent" file "%s" format "raw" }\npcm.silent { type null }\n' \
            "$1" >"$conf"
    fi
    export ALSA_CONFIG_PATH="$conf"
}

# wave_samples FILE.wav: "OFFSET SIZE" of the samples in a RIFF WAVE file.
wave_samples() {
    local at=$(grep -obUa -F data "$1" | head -n 1 | cut -d: -f1)
    echo "$((at + 8)) $(od -An -tu4 -j $((at + 4)) -N 4 "$1" | tr -d ' ')"
}

# sink_holds SINK FILE.wav AT: the sink holds the WAVE's samples from byte AT.
sink_holds() {
    local at size
    read -r at size < <(wave_samples "$2")
    sink_at_least "$1" $(($3 + size)) && cmp -s -n "$size" -i "$at:$3" "$2" "$1"
}

sink_size() { stat -c %s "$1" 2>/dev/null || echo 0; }
sink_at_least() { [ "$(sink_size "$1")" -ge "$2" ]; }

# ------------------------------------------------------------ the programs

# Copies of the build: one complete, one without Ambient.
install_copies() {
    mkdir -p "$WORK/game/Audio_Bkgrnd" "$WORK/lonely"
    cp "$GAME_DIR/Plinkfield.exe" "$WORK/game/"
    cp "$GAME_DIR/Audio_Bkgrnd/Ambient.exe" "$WORK/game/Audio_Bkgrnd/"
    cp "$GAME_DIR/Plinkfield.exe" "$WORK/lonely/"
}

# Living processes of this run's copy of a program file, read from /proc
# (a fresh machine may lack ps). A Wine process is known by the path it was
# started with: the game by its Linux path, Ambient (started by the game)
# by its Windows path. Wine puts it first in the command line once the
# program runs; until then it follows the loader's own name. Ended ones
# linger as zombies; one that ends while it is read is not counted.
pids_of() {
    local file pid state args arg
    for file in $(grep -l -a -F -- "$TAG" /proc/[0-9]*/cmdline 2>/dev/null); do
        { mapfile -d '' -t args <"$file" && read -r state <"${file%cmdline}stat"; } 2>/dev/null || continue
        state=${state##*) }
        [ "${args[0]:-}" ] && [ "${state%% *}" != Z ] || continue
        case "${args[0]##*/}" in wine*) ;; *) args=("${args[0]}") ;; esac
        for arg in "${args[@]}"; do
            case "$arg" in *"\\$1" | *"/$1")
                pid=${file#/proc/}
                echo "${pid%/cmdline}"
                break
                ;;
            esac
        done
    done
}

processes_of() { pids_of "$1" | wc -l; }

ambient_running() { [ "$(processes_of Ambient.exe)" -ge 1 ]; }
ambient_ended() { [ "$(processes_of Ambient.exe)" -eq 0 ]; }
at_most_one_ambient() { [ "$(processes_of Ambient.exe)" -le 1 ]; }
ambient_window_made() { [ "$(probe count Ambient)" != "0 0" ]; }
game_ended() { [ "$(processes_of Plinkfield.exe)" -eq 0 ]; }

# Starts the game from its own folder; sets STARTUP_MS, process start to
# main window shown, as the probe saw it, and XWIN, its X window.
launch_game() {
    local dir=$1
    : >"$WORK/shown"
    probe wait-window 30000 >"$WORK/shown" &
    local waiter=$!
    # The clock starts once the probe is polling.
    wait_for 30 grep -q '^waiting' "$WORK/shown"
    local t0=$(date +%s%3N)
    # By its full path, so that its process can be told apart.
    (cd "$dir" && exec wine "$dir/Plinkfield.exe") >>"$ART/game.log" 2>&1 &
    STARTUP_MS=""
    XWIN=""
    wait "$waiter" || return 1
    STARTUP_MS=$(( $(awk '$1 == "shown" { print $2 }' "$WORK/shown") - t0 ))
    XWIN=$(xdotool search --name '^Plinkfield$' | tail -n 1)
    [ -n "$XWIN" ]
}

# ------------------------------------------------------------- the scene

# Control identifiers by element name, from the manifest.
id_of() { awk -v name="$1" '$1 == "element" && $3 == name { print $5 }' "$RES/manifest.txt"; }

ID_MINIMIZE=$(id_of minimize_button)
ID_CLOSE=$(id_of close_button)
ID_START=$(id_of start_button)
ID_CANCEL=$(id_of cancel_button)
ID_SCORE=$(id_of score_label)
ID_HITS=$(id_of hits_label)
ID_MISSES=$(id_of misses_label)
ID_CANCELED=$(id_of canceled_banner)
ID_GAME_OVER=$(id_of game_over_banner)
ID_MARKER=$(id_of hit_marker)

# Reads the scene into $WORK/scene; sets WX WY (window on the screen) and
# ICONIC.
look() {
    probe scene >"$WORK/scene"
    read -r _ WX WY _ _ _ ICONIC < <(grep '^window ' "$WORK/scene") || { WX=""; WY=""; ICONIC=""; }
}

# seen READER...: reads the scene afresh, then runs READER on it.
seen() {
    look
    "$@"
}

# field ID N: field N of a child line (2 id, 3 x, 4 y, 5 w, 6 h, 7 visible).
field() { awk -v id="$1" -v n="$2" '$1 == "child" && $2 == id { print $n }' "$WORK/scene"; }

# The text of a child: everything after the styles.
text_of() {
    awk -v id="$1" '$1 == "child" && $2 == id { for (i = 1; i <= 10; i++) $i = ""; sub(/^ +/, ""); print }' "$WORK/scene"
}

visible_ids() { awk '$1 == "child" && $7 == 1 { print $2 }' "$WORK/scene" | sort -n | tr '\n' ' ' | sed 's/ $//'; }

# Cartridges (ids 900 to 2100) on show.
cartridges_shown() { awk '$1 == "child" && $2 >= 900 && $2 <= 2100 && $7 == 1' "$WORK/scene" | wc -l; }

labels() { echo "$(text_of "$ID_SCORE") $(text_of "$ID_HITS") $(text_of "$ID_MISSES")"; }

window_at() { echo "$WX $WY"; }
window_state() { echo "$WX $WY $ICONIC"; }
banner() { echo "$(field "$1" 7) $(text_of "$1")"; }

# The window's place as the X server has it: it follows each move the game
# makes, and reading it costs no Wine process.
x_window_is() {
    local x y
    eval "$(xdotool getwindowgeometry --shell "$XWIN" 2>/dev/null | grep -E '^[XY]=')"
    [ "${X:-}" = "$1" ] && [ "${Y:-}" = "$2" ]
}

# settle: the game has handled every input sent so far. Keys and clicks
# reach it in the order they were sent, so once an arrow key has moved the
# window, everything before it has been handled; a second key moves the
# window back. Needs the keyboard focus on the main window.
settle() {
    look
    local x0=$WX y0=$WY
    xdotool key Right
    wait_for 20 x_window_is $((x0 + 2)) "$y0" || return 1
    xdotool key Left
    wait_for 20 x_window_is "$x0" "$y0" || return 1
    look
}

# gui: "focus F capture C" of the game's thread.
gui() { probe gui | awk '{ print $1, $2, $3, $4 }'; }
in_move_loop() { [ "$(probe gui | awk '{ print $6 }')" = 1 ]; }
out_of_move_loop() { [ "$(probe gui | awk '{ print $6 }')" = 0 ]; }

# Real input at client coordinates of the main window.
click_at() {
    xdotool mousemove $((WX + $1)) $((WY + $2)) click 1
}

# The middle of a button, by control id, on the screen.
button_middle() {
    local x=$(field "$1" 3) y=$(field "$1" 4) w=$(field "$1" 5) h=$(field "$1" 6)
    echo "$((WX + x + w / 2)) $((WY + y + h / 2))"
}

# Two clicks on one button within the double-click time arrive as a double
# click: a click on a button comes at least 600 ms after the last one.
LAST_BUTTON_CLICK=0
button_gap() {
    local left=$(( LAST_BUTTON_CLICK + 600 - $(date +%s%3N) ))
    [ "$left" -gt 0 ] && sleep "$(printf '0.%03d' "$left")"
    LAST_BUTTON_CLICK=$(date +%s%3N)
}

# A button, by control id, clicked in its middle.
click_button() {
    local at
    at=$(button_middle "$1")
    button_gap
    xdotool mousemove $at click 1
}

park_pointer() { xdotool mousemove 1590 990; }

# ------------------------------------------------------------ pictures

# shot NAME: the main window's pixels, as they are on the screen now.
shot() {
    import -window root "$WORK/root.png"
    convert "$WORK/root.png" -crop "1280x786+$WX+$WY" +repage "$ART/$1.png"
}

# region_matches SHOT X Y W H BITMAP_ID: the window shows exactly that bitmap there.
region_matches() {
    convert "$ART/$1.png" -crop "${4}x${5}+${2}+${3}" +repage "$WORK/region.png"
    convert "$RES/game/$6.bmp" "$WORK/bitmap.png"
    differing_pixels "$WORK/region.png" "$WORK/bitmap.png"
}

# shot_region SHOT X Y W H BITMAP_ID: a new screenshot, then region_matches.
shot_region() {
    shot "$1"
    region_matches "$@"
}

# ---------------------------------------------------------- expectations

# The scene as the table makes it, in the probe's words and in creation
# order: "child ID X Y W H VISIBLE CLASS STYLE EXSTYLE TEXT", sprites sized
# as their initial image; styles WS_CHILD | SS_BITMAP for a sprite,
# WS_CHILD | SS_SIMPLE for a label, WS_CHILD | BS_OWNERDRAW for a button,
# and WS_VISIBLE while shown. (Plain awk: Debian's default is mawk.)
expected_scene() {
    awk '$1 == "element" {
            kind = $4
            text = ""
            for (i = 12; i <= NF; i++) text = text (i > 12 ? " " : "") $i
            cls = (kind == "button") ? "Button" : "Static"
            shown = ($11 == 1) ? 0 : 1
            style = (shown ? "5" : "4") "000000" ((kind == "sprite") ? "E" : "B")
            print "child", $5, $6, $7, $8, $9, shown, cls, style, "00000000", text
        }' "$RES/manifest.txt" | sed 's/ $//'
}

# The same from the running game, in stacking order (topmost first).
actual_scene() { grep '^child ' "$WORK/scene" | sed 's/ $//'; }

# Points of a raised rodent, by control id.
declare -A RODENT_POINTS=()
while read -r _ id points kind; do
    [ "$kind" = rodent ] && RODENT_POINTS[$id]=$points
done < <(grep '^target ' "$RES/manifest.txt")
PEEKING_IDS=$(awk '$1 == "element" && $3 ~ /^peek\[/ { printf "%s ", $5 }' "$RES/manifest.txt")

# The initial image of an element, by control id, from the table.
initial_image() {
    awk -v id="$1" '$1 == "element" && $5 == id { print $10 }' "$RES/manifest.txt"
}

# The shots of the game under way, as the test has counted them.
HITS=0
MISSES=0
POINTS=0

# shots_counted N: the hits and misses labels add up to N.
shots_counted() {
    look
    [ $((10#$(text_of "$ID_HITS") + 10#$(text_of "$ID_MISSES"))) -eq "$1" ]
}

# A rodent coming up, shot in its middle at once, and the marker of the
# hit caught as it appears. The marker goes with the rodent at tick 10 of
# its cycle, so the probe is already watching when the click is sent. A
# click that comes too late (the rodent down: a miss; or the marker gone
# again in the click's own tick) is tried again on the next rodent, up to
# three. Sets HIT_ID HIT_X HIT_Y, MARKER ("X Y" where the marker
# appeared) and LATE; counts HITS MISSES POINTS.
shoot_a_rodent() {
    local try id x y w h mx my watch hits0
    LATE=0
    for try in 1 2 3; do
        probe_watch "$WORK/watch" wait-show 60000 "${!RODENT_POINTS[@]}" then "$ID_MARKER"
        exec {watch}<"$WORK/watch"
        if ! read -r -t 60 -u "$watch" _ id x y w h; then
            exec {watch}<&-
            stop_watch
            return 1
        fi
        HIT_X=$((x + w / 2))
        HIT_Y=$((y + h / 2))
        click_at "$HIT_X" "$HIT_Y"
        hits0=$HITS
        MARKER=""
        # The shot is counted either way, as a hit or as a miss; with the
        # hit counted, the marker has been shown too.
        if wait_for 20 shots_counted $((HITS + MISSES + 1)); then
            if [ "$(text_of "$ID_HITS")" != "$(printf '%04d' "$HITS")" ]; then
                HITS=$((HITS + 1))
                POINTS=$((POINTS + RODENT_POINTS[$id]))
                read -r -t 5 -u "$watch" _ _ mx my _ _ && MARKER="$mx $my"
            else
                MISSES=$((MISSES + 1))
            fi
        fi
        exec {watch}<&-
        stop_watch
        HIT_ID=$id
        [ "$HITS" -gt "$hits0" ] && [ -n "$MARKER" ] && return 0
        LATE=$((LATE + 1))
    done
    return 1
}

# A screenshot of the next rodent up, checked against its bitmap; up to
# five rodents, in case one goes down before its picture is on the screen.
# Leaves playing.png, SHOWN_ID, SHOWN_IMAGE and SHOWN_DIFF.
shoot_picture() {
    for _ in 1 2 3 4 5; do
        local x y w h
        read -r _ SHOWN_ID x y w h < <(probe wait-show 60000 "${!RODENT_POINTS[@]}") || return 1
        shot playing
        SHOWN_IMAGE=$(initial_image "$SHOWN_ID")
        SHOWN_DIFF=$(region_matches playing "$x" "$y" "$w" "$h" "$SHOWN_IMAGE")
        [ "$SHOWN_DIFF" = 0 ] && return 0
    done
    return 1
}

# ====================================================== runs of the game

# The two program files themselves, as the ZIP delivers them.
run_files() {
    echo "== the program files"
    local exe dlls
    for exe in Plinkfield.exe Audio_Bkgrnd/Ambient.exe; do
        if ! command -v x86_64-w64-mingw32-objdump >/dev/null; then
            fail "$exe: headers readable" "x86_64-w64-mingw32-objdump is not installed"
            continue
        fi
        expect "$exe is a 64-bit Windows GUI program" "pei-x86-64 (Windows GUI)" \
            "$(x86_64-w64-mingw32-objdump -p "$WORK/game/$exe" | awk '/file format/ { f = $NF } /^Subsystem/ { $1 = $2 = ""; sub(/^ +/, ""); s = $0 } END { print f, s }')"
        dlls=$(x86_64-w64-mingw32-objdump -p "$WORK/game/$exe" | awk '/DLL Name:/ { print tolower($3) }' | sort | tr '\n' ' ')
        case "$dlls" in
            *lib*) fail "$exe needs only the system's DLLs" "imports: $dlls" ;;
            *) pass "$exe needs only the system's DLLs ($dlls)" ;;
        esac
        echo "$(stat -c %s "$WORK/game/$exe") $exe" >>"$ART/sizes.txt"
    done
    local windows_path="Z:$(echo "$WORK/game/Plinkfield.exe" | tr / '\\')"
    expect "the game carries version 1.0.3.0, named and described Plinkfield" \
        "file_version 1.0.3.0|product_version 1.0.3.0|FileDescription Plinkfield|ProductName Plinkfield|" \
        "$(probe version "$windows_path" | tr '\n' '|')"
}

# The scene picture wherever no child window is on show, in a new
# screenshot: how many pixels differ.
start_picture_differs() {
    shot start
    local masks=()
    while read -r _ _ x y w h v _; do
        [ "$v" = 1 ] && masks+=(-draw "rectangle $x,$y $((x + w - 1)),$((y + h - 1))")
    done < <(grep '^child ' "$WORK/scene")
    convert "$ART/start.png" -fill magenta "${masks[@]}" "$WORK/start-masked.png"
    convert "$RES/game/100.bmp" -fill magenta "${masks[@]}" "$WORK/scene-masked.png"
    differing_pixels "$WORK/start-masked.png" "$WORK/scene-masked.png"
}

# The four buttons in a new screenshot, each against its normal bitmap.
buttons_differ() {
    shot start
    echo "$(region_matches start 1220 6 23 19 300) $(region_matches start 1249 6 23 19 200)" \
        "$(region_matches start 14 714 120 58 500) $(region_matches start 157 714 120 58 600)"
}

# Black digits straight on the panel: some pixels change, but the label's
# rectangle is not filled (transparent text background). Prints "inked"
# when so, else how many pixels differ; leaves INKED.
score_inked() {
    shot start
    convert "$RES/game/100.bmp" -crop 110x36+564+722 +repage "$WORK/under-score.png"
    convert "$ART/start.png" -crop 110x36+564+722 +repage "$WORK/score.png"
    INKED=$(differing_pixels "$WORK/score.png" "$WORK/under-score.png")
    if [ "$INKED" -gt 50 ] 2>/dev/null && [ "$INKED" -lt $((110 * 36 / 2)) ]; then echo inked; else echo "$INKED of 3960"; fi
}

# drag_title_strip DX DY WHEN: press in the painted title strip, move, release.
drag_title_strip() {
    look
    local x0=$WX y0=$WY
    xdotool mousemove $((WX + 400)) $((WY + 15)) mousedown 1
    # The press has been handled once the platform's move loop runs.
    if ! wait_for 20 in_move_loop; then
        xdotool mouseup 1
        fail "a press in the title strip drags the window ($1, $2) $3" "no move loop: $(probe gui)"
        return
    fi
    xdotool mousemove_relative -- $(($1 / 2)) $(($2 / 2))
    xdotool mousemove_relative -- $(($1 - $1 / 2)) $(($2 - $2 / 2))
    xdotool mouseup 1
    wait_for 20 out_of_move_loop
    expect_until "a press in the title strip drags the window ($1, $2) $3" "$((x0 + $1)) $((y0 + $2))" 20 \
        seen window_at
}

# nudge KEY DX DY WHAT: an arrow key moves the window by DX, DY.
nudge() {
    look
    local x0=$WX y0=$WY
    xdotool key "$1"
    expect_until "$4" "$((x0 + $2)) $((y0 + $3))" 20 seen window_at
}

# The first game: start-up, the window's own handling, one whole game and
# its ends, the close button.
run_game() {
    echo "== start-up"
    if launch_game "$WORK/game"; then
        pass "the game window is shown (start-up ${STARTUP_MS} ms)"
    else
        fail "the game window is shown" "no window within 30 s (see $ART/game.log)"
        return
    fi
    echo "$STARTUP_MS" >>"$ART/startup-ms.txt"
    park_pointer
    # The scene is made before the window is shown.
    look
    cp "$WORK/scene" "$ART/scene-at-start.txt"

    expect "the window is 1280 x 786 at the screen's top-left corner" "0 0 1280 786 1 0" \
        "$(grep '^window ' "$WORK/scene" | cut -d' ' -f2-)"
    if diff <(expected_scene) <(actual_scene) >"$ART/scene-diff.txt"; then
        pass "83 child windows in table order, stacked earlier-on-top, with their classes, styles, rectangles, texts and visibility"
    else
        fail "83 child windows as the table makes them" "see $ART/scene-diff.txt"
    fi
    expect "only the four buttons, the three labels and the standing cow are visible" \
        "$ID_MINIMIZE $ID_CLOSE $ID_START $ID_CANCEL $ID_SCORE $ID_HITS $ID_MISSES 7400" "$(visible_ids)"
    expect "the labels read 000000, 0000, 0000" "000000 0000 0000" "$(labels)"
    expect "one game process and no Ambient before START" "1 0" \
        "$(processes_of Plinkfield.exe) $(processes_of Ambient.exe)"

    # Painting follows the showing: each picture is taken until it is complete.
    expect_until "the screen shows the painted scene (bitmap 100) one to one around the children" "0" 20 \
        start_picture_differs
    expect_until "the standing cow shows bitmap 7350" "0" 20 shot_region start 680 356 101 66 7350
    expect_until "the four buttons are drawn from their normal bitmaps (300, 200, 500, 600)" "0 0 0 0" 20 \
        buttons_differ
    expect_until "the score label's digits are drawn on the scene without a background" inked 20 score_inked

    echo "== the window"
    xdotool mousemove $((WX + 640)) $((WY + 300))
    local key dx dy
    for key in Right:2:0 Down:0:2 Left:-2:0 Up:0:-2; do
        IFS=: read -r key dx dy <<<"$key"
        nudge "$key" "$dx" "$dy" "the $key arrow key moves the window by ($dx, $dy)"
    done
    drag_title_strip 60 40 "in STAGE_IDLE"

    # The platform's push button: pressed look while held, no command when
    # released elsewhere, and the keyboard focus back with the main window.
    look
    xdotool mousemove $((WX + 74)) $((WY + 743)) mousedown 1
    wait_for 20 eval '[ "$(gui)" = "focus $ID_START capture $ID_START" ]'
    expect_until "START held down shows its pressed bitmap 550" "0" 20 shot_region start-held 14 714 120 58 550
    xdotool mousemove $((WX + 640)) $((WY + 200))
    expect_until "START shows its normal bitmap once the pointer leaves it" "0" 20 \
        shot_region start-left 14 714 120 58 500
    xdotool mouseup 1
    expect_until "START released elsewhere leaves the keyboard focus with the main window" "focus main capture none" \
        20 gui
    nudge Right 2 0 "after START released elsewhere the arrow keys move the window"
    nudge Left -2 0 "and back"
    # The keys came after the release: it has been handled.
    expect "START released elsewhere does nothing" "0 0" "$(cartridges_shown) $(processes_of Ambient.exe)"

    echo "== a game"
    click_button "$ID_START"
    expect_until "START shows the 25 cartridges" "25" 20 seen cartridges_shown
    nudge Right 2 0 "after START the arrow keys still nudge the window"
    nudge Left -2 0 "and back"
    check_until "START starts an Ambient process" 20 ambient_running
    expect_until "Ambient owns one hidden window titled Ambient" "1 0" 20 probe count Ambient

    HITS=0 MISSES=0 POINTS=0
    if shoot_a_rodent; then
        shot hit
        pass "a raised rodent ($HIT_ID) is hit by a click in its middle (late tries: $LATE)"
        expect "the score and hits labels show the points of the hits and their number" \
            "$(printf '%06d %04d %04d' "$POINTS" "$HITS" "$MISSES")" "$(labels)"
        expect "the hit shows hit_marker 10 left of and 11 above the click" "$((HIT_X - 10)) $((HIT_Y - 11)) 1" \
            "$MARKER 1"
    else
        fail "a raised rodent is hit by a click in its middle and shows hit_marker" \
            "none in three tries: $(labels), marker '$MARKER'"
    fi
    look
    local score_before=$(text_of "$ID_SCORE")
    click_at 600 740  # on the score label: labels let presses through
    MISSES=$((MISSES + 1))
    local shots=$((HITS + MISSES))
    expect_until "a click on the score label is a miss: score kept, misses counted" \
        "$score_before $(printf '%04d' "$MISSES")" 20 seen eval 'echo "$(text_of $ID_SCORE) $(text_of $ID_MISSES)"'
    expect_until "each shot hides one cartridge from the left" "$((25 - shots)) 0" 20 \
        seen eval 'echo "$(cartridges_shown) $(field $((2150 - 50 * shots)) 7)"'

    xdotool mousemove $((WX + 300)) $((WY + 250))
    expect_until "hit_marker follows the cursor, 10 left of and 11 above it" "290 239" 20 \
        seen eval 'echo "$(field $ID_MARKER 3) $(field $ID_MARKER 4)"'

    if shoot_picture; then
        cp "$ART/playing.png" "$ART/screenshot.png"
        pass "a raised rodent ($SHOWN_ID) shows its bitmap $SHOWN_IMAGE"
    else
        fail "a raised rodent shows its bitmap" "${SHOWN_ID:-none}: ${SHOWN_DIFF:-} pixels differ from ${SHOWN_IMAGE:-}"
    fi

    drag_title_strip -30 -20 "during a game"
    look
    expect "a press in the title strip uses no cartridge" "$((25 - shots))" "$(cartridges_shown)"

    click_button "$ID_START"
    settle || fail "the game answers the arrow keys after START during a game"
    expect "START during a game changes nothing and starts no second Ambient" "$((25 - shots)) 1" \
        "$(cartridges_shown) $(processes_of Ambient.exe)"

    local where="$WX $WY"
    click_button "$ID_MINIMIZE"
    expect_until "the minimize button minimizes the window" "1" 20 seen eval 'echo "$ICONIC"'
    if probe wait-show 60000 "${!RODENT_POINTS[@]}" >/dev/null; then
        pass "the game goes on while minimized (a rodent came up)"
    else
        fail "the game goes on while minimized" "no rodent in 60 s"
    fi
    probe restore
    expect_until "restored, the window is back where it was" "$where 0" 20 seen window_state

    click_button "$ID_CANCEL"
    expect_until "CANCEL shows GAME CANCELED" "1 GAME CANCELED" 20 seen banner "$ID_CANCELED"
    check_until "CANCEL ends the Ambient process" 20 ambient_ended
    expect_until "no window titled Ambient is left" "0 0" 20 probe count Ambient

    click_button "$ID_START"
    expect_until "START again hides the banner and resets the labels" "0 000000 0000 0000 25" 20 \
        seen eval 'echo "$(field $ID_CANCELED 7) $(labels) $(cartridges_shown)"'
    check_until "START again starts Ambient again" 20 ambient_running

    # Every shot a miss: the level ends below its threshold.
    xdotool mousemove $((WX + 600)) $((WY + 740)) click --repeat 25 --delay 80 1
    expect_until "25 misses end the level in GAME OVER" "1 GAME OVER 0025 0" 30 \
        seen eval 'echo "$(banner $ID_GAME_OVER) $(text_of $ID_MISSES) $(cartridges_shown)"'
    check_until "GAME OVER ends the Ambient process" 20 ambient_ended

    click_button "$ID_START"
    check_until "a new game after GAME OVER starts Ambient" 20 ambient_running
    look
    click_button "$ID_CLOSE"
    check_until "the close button ends the game" 20 game_ended
    check_until "the close button ends Ambient too" 20 ambient_ended
}

# The platform's own close path during a game: Alt+F4.
run_alt_f4() {
    echo "== Alt+F4 during a game"
    launch_game "$WORK/game" || { fail "the game starts again" "no window"; return; }
    echo "$STARTUP_MS" >>"$ART/startup-ms.txt"
    look
    expect "the game runs as one process" "1" "$(processes_of Plinkfield.exe)"
    click_button "$ID_START"
    check_until "START starts Ambient" 20 ambient_running
    xdotool mousemove $((WX + 640)) $((WY + 300))
    xdotool key alt+F4
    check_until "Alt+F4 ends the game" 20 game_ended
    check_until "Alt+F4 leaves no Ambient running" 20 ambient_ended
}

# END_COUNT: how many of the quick ends left an Ambient running; each one
# left is closed by hand, so that it cannot hide the next.
ambient_left() {
    wait_for 20 ambient_ended && return 0
    LEFT=$((LEFT + 1))
    probe close Ambient >/dev/null
    wait_for 20 ambient_ended
}

# START and, at once, CANCEL, before the new Ambient has made its window:
# the CANCEL still ends it.
run_quick_cancel() {
    echo "== CANCEL at once after START"
    launch_game "$WORK/game" || { fail "the game starts" "no window"; return; }
    echo "$STARTUP_MS" >>"$ART/startup-ms.txt"
    look
    local i start cancel ok=0
    start=$(button_middle "$ID_START")
    cancel=$(button_middle "$ID_CANCEL")
    LEFT=0
    for i in $(seq 20); do
        button_gap
        xdotool mousemove $start click 1 mousemove $cancel click 1
        # Both handled once the keys after them have moved the window.
        settle || { fail "the game answers the arrow keys after START and CANCEL ($i of 20)"; break; }
        [ "$(banner "$ID_CANCELED") $(cartridges_shown)" = "1 GAME CANCELED 25" ] && ok=$((ok + 1))
        ambient_left
    done
    expect "START then at once CANCEL, 20 times: each game started and canceled" "20" "$ok"
    expect "START then at once CANCEL, 20 times: no Ambient left running" "0" "$LEFT"
    click_button "$ID_CLOSE"
    check_until "the close button ends the game" 20 game_ended
}

# START and, at once, the close button: the game goes, and Ambient with it.
run_quick_close() {
    echo "== the close button at once after START"
    local i start close ended=0
    LEFT=0
    for i in $(seq 20); do
        launch_game "$WORK/game" || { fail "the game starts ($i of 20)" "no window"; return; }
        echo "$STARTUP_MS" >>"$ART/startup-ms.txt"
        look
        start=$(button_middle "$ID_START")
        close=$(button_middle "$ID_CLOSE")
        xdotool mousemove $start click 1 mousemove $close click 1
        wait_for 20 game_ended && ended=$((ended + 1))
        ambient_left
    done
    expect "START then at once the close button, 20 times: the game ends" "20" "$ended"
    expect "START then at once the close button, 20 times: no Ambient left running" "0" "$LEFT"
}

# The other ends of a game, each at once after START: Alt+F4, Close from
# the system menu (WM_SYSCOMMAND SC_CLOSE, as the probe sends it), and
# GAME OVER after 25 quick misses.
run_quick_other() {
    echo "== the other ends at once after START"
    local i start ended=0 closed=0 over=0
    LEFT=0
    for i in 1 2 3; do
        launch_game "$WORK/game" || { fail "the game starts" "no window"; return; }
        look
        start=$(button_middle "$ID_START")
        xdotool mousemove $start click 1 key alt+F4
        wait_for 20 game_ended && ended=$((ended + 1))
        ambient_left
    done
    expect "START then at once Alt+F4, 3 times: the game ends" "3" "$ended"
    for i in 1 2 3; do
        launch_game "$WORK/game" || { fail "the game starts" "no window"; return; }
        look
        start=$(button_middle "$ID_START")
        xdotool mousemove $start click 1
        probe close Plinkfield
        wait_for 20 game_ended && closed=$((closed + 1))
        ambient_left
    done
    expect "START then at once Close from the system menu, 3 times: the game ends" "3" "$closed"
    launch_game "$WORK/game" || { fail "the game starts" "no window"; return; }
    look
    start=$(button_middle "$ID_START")
    for i in 1 2 3; do
        button_gap
        xdotool mousemove $start click 1 mousemove $((WX + 600)) $((WY + 740)) click --repeat 25 --delay 10 1
        settle || { fail "the game answers the arrow keys after START and 25 misses"; break; }
        [ "$(banner "$ID_GAME_OVER") $(text_of "$ID_MISSES")" = "1 GAME OVER 0025" ] && over=$((over + 1))
        ambient_left
    done
    expect "START then at once 25 misses, 3 times: GAME OVER" "3" "$over"
    expect "Alt+F4, Close and GAME OVER at once after START: no Ambient left running" "0" "$LEFT"
    click_button "$ID_CLOSE"
    check_until "the close button ends the game" 20 game_ended
}

# Ambient started on its own, as the shell starts it for the game.
run_ambient() {
    echo "== Ambient on its own"
    local sink="$WORK/ambient.raw" wave="$RES/ambient/300.wav" at size
    read -r at size < <(wave_samples "$wave")
    audio_sink "$sink"
    (cd "$WORK/game/Audio_Bkgrnd" && exec wine "$WORK/game/Audio_Bkgrnd/Ambient.exe") >>"$ART/ambient.log" 2>&1 &
    audio_sink null
    if wait_for 20 ambient_running; then pass "Ambient.exe starts"; else fail "Ambient.exe starts"; return; fi
    wait_for 20 ambient_window_made
    expect "it owns one window titled Ambient and never shows it" "1 0" "$(probe count Ambient)"
    if wait_for 30 sink_at_least "$sink" $((2 * size)) && sink_holds "$sink" "$wave" 0 && sink_holds "$sink" "$wave" "$size"; then
        pass "it plays WAVE 300 over and over, without a gap"
    else
        fail "it plays WAVE 300 over and over, without a gap" "$(sink_size "$sink") bytes played, WAVE 300 has $size"
    fi
    probe close Ambient
    check_until "WM_SYSCOMMAND SC_CLOSE to the window titled Ambient ends it" 20 ambient_ended
    # With the process gone nothing can write to the sink: half a second
    # of looking would show a player left elsewhere.
    local played=$(sink_size "$sink")
    sleep 0.5
    expect "its sound ends with it" "$played" "$(sink_size "$sink")"
}

# A game folder without Audio_Bkgrnd/Ambient.exe.
run_missing() {
    echo "== Ambient missing"
    local sink="$WORK/lonely.raw"
    audio_sink "$sink"
    launch_game "$WORK/lonely" || { fail "the game starts without Ambient beside it" "no window"; return; }
    audio_sink null
    echo "$STARTUP_MS" >>"$ART/startup-ms.txt"
    look
    expect "the game runs as one process" "1" "$(processes_of Plinkfield.exe)"
    click_button "$ID_START"
    local bx by text
    if read -r _ bx by text < <(probe box "Plinkfield - Error" 30000); then
        expect "START shows the box 'Bkgnd Ambient failed.'" "Bkgnd Ambient failed." "$text"
        check_until "START played snd_start, WAVE 7750 of the game's resources" 20 sink_holds "$sink" "$RES/game/7750.wav" 0
        look
        expect "while the box is up START has not finished: no cartridges, no rodent" "0 0" \
            "$(cartridges_shown) $(for id in $PEEKING_IDS; do field $id 7; done | grep -c 1)"
        xdotool mousemove "$bx" "$by" click 1
    else
        fail "START shows the box 'Bkgnd Ambient failed.'" "no box titled 'Plinkfield - Error'"
    fi
    expect_until "after the box, the game runs: 25 cartridges" "25" 20 seen cartridges_shown
    if probe wait-show 60000 "${!RODENT_POINTS[@]}" >/dev/null; then
        pass "after the box, the game runs: rodents come up"
    else
        fail "after the box, the game runs: rodents come up"
    fi
    # Right after a rodent's pop-up cue, a miss: its gunshot cuts the pop-up
    # off and plays to its end long before the next rodent comes up.
    look
    probe wait-show 60000 $PEEKING_IDS >/dev/null
    click_at 600 740
    check_until "a miss plays snd_shot, WAVE 7900, to its end" 20 sink_holds "$sink" "$RES/game/7900.wav" 0
    look
    click_button "$ID_CLOSE"
    check_until "the close button ends the game" 20 game_ended
}

# Ambients left over from earlier (two started by hand) and a window of
# another program titled "aMBIENT": one CANCEL closes every window titled
# Ambient, not only the first one found, and matches the title as the
# system's own lookup by title does, without regard to case.
run_every_ambient() {
    echo "== every Ambient closed"
    local i host
    for i in 1 2; do
        (cd "$WORK/game/Audio_Bkgrnd" && exec wine "$WORK/game/Audio_Bkgrnd/Ambient.exe") >>"$ART/ambient.log" 2>&1 &
    done
    : >"$WORK/host"
    probe host aMBIENT 120000 >"$WORK/host" &
    host=$!
    two_windows() { [ "$(probe count Ambient | cut -d' ' -f1)" = 2 ]; }
    three_windows() { [ "$(probe count Ambient | cut -d' ' -f1)" = 3 ]; }
    check_until "two Ambients run before the game" 30 two_windows
    wait_for 30 grep -q '^ready' "$WORK/host"
    launch_game "$WORK/game" || { fail "the game starts beside them" "no window"; kill "$host"; return; }
    echo "$STARTUP_MS" >>"$ART/startup-ms.txt"
    look
    click_button "$ID_START"
    check_until "START adds a third" 30 three_windows
    click_button "$ID_CANCEL"
    if wait_for 20 ambient_ended; then
        pass "CANCEL ends all three Ambient processes"
    else
        fail "CANCEL ends all three Ambient processes" "$(processes_of Ambient.exe) still running"
    fi
    if wait_for 20 eval '! kill -0 '"$host"' 2>/dev/null' && wait "$host"; then
        pass "CANCEL closes a window titled aMBIENT too"
    else
        fail "CANCEL closes a window titled aMBIENT too"
        kill "$host" 2>/dev/null
    fi
    look
    click_button "$ID_CLOSE"
    check_until "the close button ends the game" 20 game_ended
}

# ------------------------------------------------------------------ monkey

# A storm of input for MONKEY_SECONDS: presses, drags and clicks at random
# places (in the title strip too), arrow keys, START, CANCEL, minimize and
# restore, at random speeds. Every random number comes from MONKEY_SEED,
# a fixed count of them per step, so the same seed sends the same input.
# Every 15 s, and at the end, the input stops for a check: the game
# answers the arrow keys, the labels read as they should (at least six
# digits of score, four of hits and misses, the counts never going back
# within a game), at most one Ambient runs while a game is under way and
# none while none is. Meanwhile its memory and windows are sampled.

# The X window's place and whether it is on the screen (minimized: not).
x_window() {
    eval "$(xdotool getwindowgeometry --shell "$XWIN" 2>/dev/null | grep -E '^[XY]=')"
    MX=${X:-0} MY=${Y:-0}
    case "$(xwininfo -id "$XWIN" 2>/dev/null)" in *IsViewable*) MAPPED=1 ;; *) MAPPED=0 ;; esac
}

# A random point of the window, off the four buttons, as "X Y" on the screen.
monkey_point() {
    local x=$(($1 % 1280)) y=$(($2 % 786))
    if { [ "$y" -lt 30 ] && [ "$x" -ge 1215 ]; } || { [ "$y" -ge 710 ] && [ "$x" -lt 285 ]; }; then
        x=$((x % 1200)) y=$((30 + y % 670))
    fi
    echo "$((MX + x)) $((MY + y))"
}

# A random point inside a button, by the "X Y W H" of its rectangle.
monkey_button() {
    local x y w h
    read -r x y w h <<<"$1"
    echo "$((MX + x + 2 + $2 % (w - 4))) $((MY + y + 2 + $3 % (h - 4)))"
}

# A pause of 0 to 0.99 s, most often none.
monkey_pause() {
    case $(($1 % 10)) in
        [0-5]) ;;
        [6-8]) sleep "0.$(printf '%02d' $(($2 % 30)))" ;;
        *) sleep "0.$(printf '%02d' $((30 + $2 % 70)))" ;;
    esac
}

monkey_step() {
    local r=() i
    for i in 1 2 3 4 5 6 7 8; do r+=($RANDOM); done
    x_window
    local kind=$((r[0] % 100)) at to
    if [ "$MAPPED" = 0 ] && [ $((r[7] % 3)) = 0 ]; then kind=92; fi
    case $kind in
        [0-9] | [12][0-9] | 3[0-4])  # presses, single or in bursts
            at=$(monkey_point "${r[1]}" "${r[2]}")
            local n=$((1 + (r[3] % 4 == 0) * (r[3] % 6)))
            echo "press $at x$n" >>"$ART/monkey-actions.txt"
            xdotool mousemove $at click --repeat "$n" --delay $((20 + r[4] % 150)) 1
            ;;
        3[5-9] | 4[0-9])  # drags; one from the title strip ends with the window kept on the screen
            at=$(monkey_point "${r[1]}" "${r[2]}")
            local tx=$((r[3] % 321)) ty=$((r[4] % 215)) steps=$((1 + r[5] % 3)) s ax ay
            read -r ax ay <<<"$at"
            echo "drag $at by $((tx - MX)) $((ty - MY)) in $steps" >>"$ART/monkey-actions.txt"
            xdotool mousemove $at mousedown 1
            for s in $(seq "$steps"); do
                sleep "0.0$((r[6] % 10))"
                xdotool mousemove $((ax + (tx - MX) * s / steps)) $((ay + (ty - MY) * s / steps))
            done
            xdotool mouseup 1
            ;;
        5[0-9] | 6[0-4])  # arrow keys, away from the screen's edges
            local keys=() key n=$((1 + r[1] % 6))
            case $((r[2] % 4)) in
                0) key=Left; [ "$MX" -lt 20 ] && key=Right ;;
                1) key=Right; [ "$MX" -gt 300 ] && key=Left ;;
                2) key=Up; [ "$MY" -lt 20 ] && key=Down ;;
                *) key=Down; [ "$MY" -gt 194 ] && key=Up ;;
            esac
            for i in $(seq "$n"); do keys+=("$key"); done
            echo "key $key x$n" >>"$ART/monkey-actions.txt"
            xdotool key --delay $((r[3] % 120)) "${keys[@]}"
            ;;
        6[5-9] | 7[0-4])
            at=$(monkey_button "$RECT_START" "${r[1]}" "${r[2]}")
            echo "START $at" >>"$ART/monkey-actions.txt"
            MONKEY_STARTED=1
            xdotool mousemove $at click 1
            ;;
        7[5-9] | 8[0-4])
            at=$(monkey_button "$RECT_CANCEL" "${r[1]}" "${r[2]}")
            echo "CANCEL $at" >>"$ART/monkey-actions.txt"
            xdotool mousemove $at click 1
            ;;
        8[5-9])
            at=$(monkey_button "$RECT_MINIMIZE" "${r[1]}" "${r[2]}")
            echo "minimize $at" >>"$ART/monkey-actions.txt"
            xdotool mousemove $at click 1
            ;;
        9[0-4])
            echo "restore" >>"$ART/monkey-actions.txt"
            probe restore
            ;;
        *)  # a press on START or CANCEL released off it: no command
            local rect=$RECT_CANCEL
            [ $((r[1] % 2)) = 0 ] && rect=$RECT_START
            at=$(monkey_button "$rect" "${r[2]}" "${r[3]}")
            to=$(monkey_point "${r[4]}" "${r[5]}")
            echo "press off $at to $to" >>"$ART/monkey-actions.txt"
            xdotool mousemove $at mousedown 1 sleep "0.$((r[6] % 10))" mousemove $to mouseup 1
            ;;
    esac
    monkey_pause "${r[6]}" "${r[7]}"
    MONKEY_ACTIONS=$((MONKEY_ACTIONS + 1))
}

# monkey_problem WHAT DETAIL: one more failed check of that kind.
declare -A MONKEY_PROBLEMS=()
monkey_problem() {
    MONKEY_PROBLEMS[$1]=$(( ${MONKEY_PROBLEMS[$1]:-0} + 1 ))
    echo "  .. monkey check $MONKEY_CHECKS after $MONKEY_ACTIONS actions: $1: $2"
}

MONKEY_PREVIOUS=""
monkey_check() {
    MONKEY_CHECKS=$((MONKEY_CHECKS + 1))
    if [ "$(processes_of Plinkfield.exe)" != 1 ]; then
        monkey_problem alive "$(processes_of Plinkfield.exe) game processes"
        return 1
    fi
    look
    if [ "$ICONIC" != 0 ]; then
        probe restore
        wait_for 20 eval 'look; [ "$ICONIC" = 0 ]'
    fi
    if ! settle; then
        monkey_problem responsive "the arrow keys did not move the window: $(probe gui)"
        return 1
    fi
    local score hits misses
    score=$(text_of "$ID_SCORE") hits=$(text_of "$ID_HITS") misses=$(text_of "$ID_MISSES")
    [[ "$score" =~ ^[0-9]{6,}$ && "$hits" =~ ^[0-9]{4}$ && "$misses" =~ ^[0-9]{4}$ ]] ||
        monkey_problem labels "'$score' '$hits' '$misses'"
    if [ -n "$MONKEY_PREVIOUS" ] && [ "$MONKEY_STARTED" = 0 ]; then
        local h0 m0
        read -r h0 m0 <<<"$MONKEY_PREVIOUS"
        [ "$((10#$hits))" -ge "$((10#$h0))" ] && [ "$((10#$misses))" -ge "$((10#$m0))" ] ||
            monkey_problem counts "hits $h0 -> $hits, misses $m0 -> $misses with no START between"
    fi
    MONKEY_PREVIOUS="$hits $misses"
    # Under way: once started, until a banner says it is over. (A START
    # that went nowhere, the window minimized, only makes this check looser.)
    [ "$MONKEY_STARTED" = 1 ] && MONKEY_EVER_STARTED=1
    MONKEY_STARTED=0
    if [ "$MONKEY_EVER_STARTED" = 1 ] && [ "$(field "$ID_CANCELED" 7)" = 0 ] && [ "$(field "$ID_GAME_OVER" 7)" = 0 ]; then
        MONKEY_GAMES=$((MONKEY_GAMES + 1))
        # An Ambient closed a moment ago may still be on its way out.
        wait_for 20 at_most_one_ambient || monkey_problem ambient "$(processes_of Ambient.exe) Ambients during a game"
    else
        MONKEY_IDLE=$((MONKEY_IDLE + 1))
        wait_for 20 ambient_ended || monkey_problem ambient "$(processes_of Ambient.exe) Ambients with no game"
    fi
    return 0
}

# Every 2 s: "SECONDS RSS_KB" and the probe's "gdi N user N handles N windows N".
monkey_sampler() {
    local t0=$(date +%s%3N) pid rss
    while :; do
        pid=$(pids_of Plinkfield.exe | head -n 1)
        [ -n "$pid" ] || break
        rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
        echo "$(( ($(date +%s%3N) - t0) / 1000 )) ${rss:-0} $(probe resources)" >>"$WORK/samples"
        sleep 2
    done
}

# window_medians N END: "FIRST LAST", the medians of column N of the samples
# taken in the first and in the last 30 s (a sound being played adds a few
# megabytes for a moment).
median() { sort -n | awk '{ v[NR] = $1 } END { print NR ? v[int((NR + 1) / 2)] : 0 }'; }
window_medians() {
    echo "$(awk -v n="$1" '$1 <= 30 { print $n }' "$WORK/samples" | median)" \
        "$(awk -v n="$1" -v end="$2" '$1 >= end - 30 { print $n }' "$WORK/samples" | median)"
}

run_monkey() {
    echo "== monkey: seed $MONKEY_SEED, $MONKEY_SECONDS s (again: MONKEY_SEED=$MONKEY_SEED E2E_RUNS=monkey)"
    launch_game "$WORK/game" || { fail "the game starts for the monkey" "no window"; return; }
    echo "$STARTUP_MS" >>"$ART/startup-ms.txt"
    look
    RECT_START="$(field "$ID_START" 3) $(field "$ID_START" 4) $(field "$ID_START" 5) $(field "$ID_START" 6)"
    RECT_CANCEL="$(field "$ID_CANCEL" 3) $(field "$ID_CANCEL" 4) $(field "$ID_CANCEL" 5) $(field "$ID_CANCEL" 6)"
    RECT_MINIMIZE="$(field "$ID_MINIMIZE" 3) $(field "$ID_MINIMIZE" 4) $(field "$ID_MINIMIZE" 5) $(field "$ID_MINIMIZE" 6)"
    MONKEY_ACTIONS=0 MONKEY_CHECKS=0 MONKEY_STARTED=0 MONKEY_EVER_STARTED=0 MONKEY_GAMES=0 MONKEY_IDLE=0
    : >"$ART/monkey-actions.txt"
    : >"$WORK/samples"
    monkey_sampler &
    local sampler=$! t0=$(date +%s) next
    next=$((t0 + 15))
    RANDOM=$MONKEY_SEED
    # A game from the start, so that the first 30 s already hold what a
    # game loads (its sounds) and the figures compare like with like.
    MONKEY_STARTED=1
    x_window
    xdotool mousemove $(monkey_button "$RECT_START" 0 0) click 1
    while [ "$(date +%s)" -lt $((t0 + MONKEY_SECONDS)) ]; do
        monkey_step
        if [ "$(date +%s)" -ge "$next" ]; then
            echo "check" >>"$ART/monkey-actions.txt"
            monkey_check || break
            next=$(( $(date +%s) + 15 ))
        fi
    done
    monkey_check
    local played=$(( $(date +%s) - t0 ))
    kill "$sampler" 2>/dev/null
    wait "$sampler" 2>/dev/null
    cp "$WORK/samples" "$ART/monkey-samples.txt"

    local what
    for what in alive responsive labels counts ambient; do
        local n=${MONKEY_PROBLEMS[$what]:-0}
        case $what in
            alive) what="the game is alive at every check" ;;
            responsive) what="the game answers the arrow keys at every check" ;;
            labels) what="the labels read a score of at least six digits and four-digit counts" ;;
            counts) what="hits and misses never go back within a game" ;;
            ambient) what="at most one Ambient during a game, none without one" ;;
        esac
        if [ "$n" = 0 ]; then pass "monkey: $what ($MONKEY_CHECKS checks)"; else fail "monkey: $what" "$n of $MONKEY_CHECKS checks failed (seed $MONKEY_SEED)"; fi
    done

    # Flat: the last 30 s hold no more than the first 30 s beyond noise.
    # Wine counts no GDI or USER objects (GetGuiResources gives nothing),
    # so the game's windows stand for its USER objects where it does not.
    local rss0 rss1 win0 win1 gdi user
    read -r rss0 rss1 < <(window_medians 2 "$played")
    read -r win0 win1 < <(window_medians 10 "$played")
    gdi=$(awk 'END { print $4 }' "$WORK/samples")
    user=$(awk 'END { print $6 }' "$WORK/samples")
    note "monkey: $MONKEY_ACTIONS actions in $played s, $MONKEY_CHECKS checks ($MONKEY_GAMES in a game, $MONKEY_IDLE between games)"
    note "monkey: RSS $((rss0 / 1024)) MB in the first 30 s, $((rss1 / 1024)) MB in the last; windows $win0 and $win1; GDI objects ${gdi:--}, USER objects ${user:--} (- where Wine does not count them)"
    if [ "$rss1" -le $((rss0 + rss0 / 10 + 4096)) ] && [ "$rss1" -gt 0 ]; then
        pass "monkey: memory flat (RSS $((rss0 / 1024)) MB, then $((rss1 / 1024)) MB)"
    else
        fail "monkey: memory flat" "RSS $rss0 kB in the first 30 s, $rss1 kB in the last"
    fi
    if [ "$win1" -le $((win0 + 1)) ] && [ "$win1" -gt 0 ]; then
        pass "monkey: windows flat ($win0, then $win1)"
    else
        fail "monkey: windows flat" "$win0 in the first 30 s, $win1 in the last"
    fi
    if [ "$gdi" != - ]; then
        local gdi0 gdi1 user0 user1
        read -r gdi0 gdi1 < <(window_medians 4 "$played")
        read -r user0 user1 < <(window_medians 6 "$played")
        if [ "$gdi1" -le $((gdi0 + 10)) ] && [ "$user1" -le $((user0 + 10)) ]; then
            pass "monkey: GDI and USER objects flat ($gdi0/$user0, then $gdi1/$user1)"
        else
            fail "monkey: GDI and USER objects flat" "GDI $gdi0 then $gdi1, USER $user0 then $user1"
        fi
    fi

    look
    click_button "$ID_CLOSE"
    check_until "monkey: the close button ends the game" 20 game_ended
    check_until "monkey: and no Ambient is left" 20 ambient_ended
}

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
echo "$PASSED passed, $FAILED failed in $(( $(date +%s) - T0 )) s"
[ "$FAILED" -eq 0 ] && [ "$PASSED" -gt 0 ]
