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
# build wrote them (the scene as created, the targets and their points). Prints one PASS or FAIL line per check and
# exits non-zero when any check failed. Screenshots and logs are left in
# ARTIFACT_DIR (default: a folder "e2e" beside GAME_DIR).
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

for tool in wine wineboot wineserver Xvfb xdotool import convert compare; do
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

PASSED=0
FAILED=0

pass() {
    echo "PASS: $1"
    PASSED=$((PASSED + 1))
}

fail() {
    echo "FAIL: $1${2:+ -- $2}"
    FAILED=$((FAILED + 1))
}

# expect NAME EXPECTED ACTUAL
expect() {
    if [ "$2" = "$3" ]; then pass "$1"; else fail "$1" "expected '$2', got '$3'"; fi
}

# ------------------------------------------------------- X server and Wine

note() { echo "  .. $*"; }

start_x() {
    exec 3>"$WORK/display"
    Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp >"$ART/xvfb.log" 2>&1 &
    XVFB_PID=$!
    exec 3>&-
    for _ in $(seq 100); do
        [ -s "$WORK/display" ] && break
        sleep 0.1
    done
    [ -s "$WORK/display" ] || { echo "FAIL: Xvfb did not start (see $ART/xvfb.log)"; exit 1; }
    export DISPLAY=":$(head -n 1 "$WORK/display")"
}

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
# (a fresh machine may lack ps). A Wine process is named by the path it was
# started with: the game by its Linux path, Ambient (started by the game)
# by its Windows path. Ended ones linger as zombies, with no command line.
processes_of() {
    local n=0 file argv0 state
    for file in $(grep -l -a -F -- "$TAG" /proc/[0-9]*/cmdline 2>/dev/null); do
        argv0=$(tr '\0' '\n' <"$file" 2>/dev/null | head -n 1)
        case "$argv0" in *"\\$1" | *"/$1") ;; *) continue ;; esac
        state=$(sed 's/.*) //' "${file%cmdline}stat" 2>/dev/null | cut -d' ' -f1)
        [ -n "$state" ] && [ "$state" != Z ] && n=$((n + 1))
    done
    echo "$n"
}

# wait_for SECONDS COMMAND...: true once COMMAND succeeds.
wait_for() {
    local deadline=$(( $(date +%s%N) + $1 * 1000000000 ))
    shift
    until "$@"; do
        [ "$(date +%s%N)" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}

ambient_running() { [ "$(processes_of Ambient.exe)" -ge 1 ]; }
ambient_ended() { [ "$(processes_of Ambient.exe)" -eq 0 ]; }
ambient_window_made() { [ "$(probe count Ambient)" != "0 0" ]; }
game_ended() { [ "$(processes_of Plinkfield.exe)" -eq 0 ]; }

# Starts the game from its own folder; sets STARTUP_MS, process start to
# main window shown, as the probe saw it.
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
    if wait "$waiter"; then
        STARTUP_MS=$(( $(awk '$1 == "shown" { print $2 }' "$WORK/shown") - t0 ))
        return 0
    fi
    STARTUP_MS=""
    return 1
}

# ------------------------------------------------------------- the scene

# Reads the scene into $WORK/scene; sets WX WY (window on the screen).
look() {
    probe scene >"$WORK/scene"
    read -r _ WX WY _ _ _ _ < <(grep '^window ' "$WORK/scene")
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

labels() { echo "$(text_of 2200) $(text_of 2400) $(text_of 2500)"; }

# Real input at client coordinates of the main window.
click_at() {
    xdotool mousemove $((WX + $1)) $((WY + $2)) click 1
}

# A button, by control id, clicked in its middle. Two clicks on one button
# within the double-click time would arrive as a double click.
click_button() {
    local x=$(field "$1" 3) y=$(field "$1" 4) w=$(field "$1" 5) h=$(field "$1" 6)
    sleep 0.6
    click_at $((x + w / 2)) $((y + h / 2))
}

park_pointer() { xdotool mousemove 1590 990; }

# ------------------------------------------------------------ pictures

# shot NAME: the main window's pixels, as they are on the screen now.
shot() {
    import -window root "$WORK/root.png"
    convert "$WORK/root.png" -crop "1280x786+$WX+$WY" +repage "$ART/$1.png"
}

# differing_pixels A.png B.png: how many pixels differ at all ("error: ..."
# when the two cannot be compared, for instance for differing sizes).
differing_pixels() {
    local out
    out=$(compare -metric AE "$1" "$2" null: 2>&1)
    case "$out" in
        '' | *[!0-9.e+]*) echo "error: $out" ;;
        *) awk -v n="$out" 'BEGIN { printf "%d\n", n }' ;;
    esac
}

# region_matches SHOT X Y W H BITMAP_ID: the window shows exactly that bitmap there.
region_matches() {
    convert "$ART/$1.png" -crop "${4}x${5}+${2}+${3}" +repage "$WORK/region.png"
    convert "$RES/game/$6.bmp" "$WORK/bitmap.png"
    differing_pixels "$WORK/region.png" "$WORK/bitmap.png"
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

# A rodent coming up and then shot in its middle; tries up to three
# rodents. Sets HIT_ID and HIT_X HIT_Y (client point) and MISSED (tries
# that came too late).
shoot_a_rodent() {
    MISSED=0
    HIT_ID=""
    for _ in 1 2 3; do
        local id x y w h
        read -r _ id x y w h < <(probe wait-show 8000 "${!RODENT_POINTS[@]}") || return 1
        HIT_X=$((x + w / 2))
        HIT_Y=$((y + h / 2))
        click_at "$HIT_X" "$HIT_Y"
        sleep 0.3
        look
        if [ "$(text_of 2400)" != 0000 ]; then
            HIT_ID=$id
            return 0
        fi
        MISSED=$((MISSED + 1))
    done
    return 1
}

# The initial image of an element, by control id, from the table.
initial_image() {
    awk -v id="$1" '$1 == "element" && $5 == id { print $10 }' "$RES/manifest.txt"
}

# A screenshot of the next rodent up, checked against its bitmap; up to
# three rodents, in case one goes down before the picture is taken. Leaves
# playing.png, SHOWN_ID, SHOWN_IMAGE and SHOWN_DIFF.
shoot_picture() {
    for _ in 1 2 3; do
        local x y w h
        read -r _ SHOWN_ID x y w h < <(probe wait-show 8000 "${!RODENT_POINTS[@]}") || return 1
        shot playing
        SHOWN_IMAGE=$(initial_image "$SHOWN_ID")
        SHOWN_DIFF=$(region_matches playing "$x" "$y" "$w" "$h" "$SHOWN_IMAGE")
        [ "$SHOWN_DIFF" = 0 ] && return 0
    done
    return 1
}

# ================================================================= sessions

# The two program files themselves, as the ZIP delivers them.
session_program_files() {
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

# The first game: start-up, the window's own handling, one whole game and
# its ends, the close button.
session_full_game() {
    echo "== start-up"
    if launch_game "$WORK/game"; then
        pass "the game window is shown (start-up ${STARTUP_MS} ms)"
    else
        fail "the game window is shown" "no window within 30 s (see $ART/game.log)"
        return
    fi
    echo "$STARTUP_MS" >"$ART/startup-ms.txt"
    park_pointer
    sleep 0.5
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
        "400 450 700 800 2200 2400 2500 7400" "$(visible_ids)"
    expect "the labels read 000000, 0000, 0000" "000000 0000 0000" "$(labels)"
    expect "one game process and no Ambient before START" "1 0" \
        "$(processes_of Plinkfield.exe) $(processes_of Ambient.exe)"

    shot start
    # The scene picture wherever no child window is on show.
    local masks=()
    while read -r _ _ x y w h v _; do
        [ "$v" = 1 ] && masks+=(-draw "rectangle $x,$y $((x + w - 1)),$((y + h - 1))")
    done < <(grep '^child ' "$WORK/scene")
    convert "$ART/start.png" -fill magenta "${masks[@]}" "$WORK/start-masked.png"
    convert "$RES/game/100.bmp" -fill magenta "${masks[@]}" "$WORK/scene-masked.png"
    expect "the screen shows the painted scene (bitmap 100) one to one around the children" "0" \
        "$(differing_pixels "$WORK/start-masked.png" "$WORK/scene-masked.png")"
    expect "the standing cow shows bitmap 7350" "0" "$(region_matches start 680 356 101 66 7350)"
    expect "the four buttons are drawn from their normal bitmaps (300, 200, 500, 600)" "0 0 0 0" \
        "$(region_matches start 1220 6 23 19 300) $(region_matches start 1249 6 23 19 200) $(region_matches start 14 714 120 58 500) $(region_matches start 157 714 120 58 600)"
    convert "$RES/game/100.bmp" -crop 110x36+564+722 +repage "$WORK/under-score.png"
    convert "$ART/start.png" -crop 110x36+564+722 +repage "$WORK/score.png"
    # Black digits straight on the panel: some pixels change, but the
    # label's rectangle is not filled (transparent text background).
    local inked=$(differing_pixels "$WORK/score.png" "$WORK/under-score.png")
    if [ "$inked" -gt 50 ] 2>/dev/null && [ "$inked" -lt $((110 * 36 / 2)) ]; then
        pass "the score label's digits are drawn on the scene without a background ($inked pixels)"
    else
        fail "the score label's digits are drawn on the scene without a background" "$inked of 3960 pixels differ"
    fi

    echo "== the window"
    # Keys go to the window that has the focus: the main window takes it
    # back after every button command.
    xdotool mousemove $((WX + 640)) $((WY + 300))
    local key dx dy
    for key in Right:2:0 Down:0:2 Left:-2:0 Up:0:-2; do
        IFS=: read -r key dx dy <<<"$key"
        local x0=$WX y0=$WY
        xdotool key "$key"
        sleep 0.3
        look
        expect "the $key arrow key moves the window by ($dx, $dy)" "$((x0 + dx)) $((y0 + dy))" "$WX $WY"
    done
    drag_title_strip 60 40 "in STAGE_IDLE"

    # The platform's push button: pressed look while held, no command when
    # released elsewhere.
    xdotool mousemove $((WX + 74)) $((WY + 743)) mousedown 1
    sleep 0.4
    shot start-held
    expect "START held down shows its pressed bitmap 550" "0" "$(region_matches start-held 14 714 120 58 550)"
    xdotool mousemove $((WX + 640)) $((WY + 200))
    sleep 0.4
    shot start-left
    expect "START shows its normal bitmap once the pointer leaves it" "0" "$(region_matches start-left 14 714 120 58 500)"
    xdotool mouseup 1
    sleep 0.4
    look
    expect "START released elsewhere does nothing" "0 0" "$(cartridges_shown) $(processes_of Ambient.exe)"

    echo "== a game"
    click_button 700
    sleep 0.5
    look
    expect "START shows the 25 cartridges" "25" "$(cartridges_shown)"
    local x0=$WX y0=$WY
    xdotool key Right
    sleep 0.3
    look
    expect "after START the arrow keys still nudge the window" "$((x0 + 2)) $y0" "$WX $WY"
    xdotool key Left
    sleep 0.3
    look
    if wait_for 10 ambient_running; then pass "START starts an Ambient process"; else fail "START starts an Ambient process"; fi
    sleep 0.5
    expect "Ambient owns one hidden window titled Ambient" "1 0" "$(probe count Ambient)"

    local hits=0 misses=0
    if shoot_a_rodent; then
        local points=${RODENT_POINTS[$HIT_ID]}
        hits=1
        misses=$MISSED
        shot hit
        pass "a raised rodent ($HIT_ID) is hit by a click in its middle (late tries: $MISSED)"
        expect "the score and hits labels show its $points points and one hit" \
            "$(printf '%06d %04d %04d' "$points" 1 "$misses")" "$(labels)"
        expect "the hit shows hit_marker 10 left of and 11 above the click" "$((HIT_X - 10)) $((HIT_Y - 11)) 1" \
            "$(field 9100 3) $(field 9100 4) $(field 9100 7)"
    else
        fail "a raised rodent is hit by a click in its middle" "no hit in three tries: $(labels)"
        misses=3
        look
    fi
    local score_before=$(text_of 2200)
    click_at 600 740  # on the score label: labels let presses through
    sleep 0.3
    look
    misses=$((misses + 1))
    local shots=$((hits + misses))
    expect "a click on the score label is a miss: score kept, misses counted" \
        "$score_before $(printf '%04d' "$misses")" "$(text_of 2200) $(text_of 2500)"
    expect "each shot hides one cartridge from the left" "$((25 - shots)) 0" \
        "$(cartridges_shown) $(field $((2150 - 50 * shots)) 7)"

    xdotool mousemove $((WX + 300)) $((WY + 250))
    sleep 0.3
    look
    expect "hit_marker follows the cursor, 10 left of and 11 above it" "290 239" "$(field 9100 3) $(field 9100 4)"

    if shoot_picture; then
        cp "$ART/playing.png" "$ART/screenshot.png"
        pass "a raised rodent ($SHOWN_ID) shows its bitmap $SHOWN_IMAGE"
    else
        fail "a raised rodent shows its bitmap" "$SHOWN_ID: $SHOWN_DIFF pixels differ from $SHOWN_IMAGE"
    fi

    drag_title_strip -30 -20 "during a game"
    look
    expect "a press in the title strip uses no cartridge" "$((25 - shots))" "$(cartridges_shown)"

    click_button 700
    sleep 0.5
    look
    expect "START during a game changes nothing and starts no second Ambient" "$((25 - shots)) 1" \
        "$(cartridges_shown) $(processes_of Ambient.exe)"

    local where="$WX $WY"
    click_button 400
    sleep 0.5
    look
    expect "the minimize button minimizes the window" "1" "$(grep '^window ' "$WORK/scene" | cut -d' ' -f7)"
    if probe wait-show 8000 "${!RODENT_POINTS[@]}" >/dev/null; then
        pass "the game goes on while minimized (a rodent came up)"
    else
        fail "the game goes on while minimized" "no rodent in 8 s"
    fi
    probe restore
    sleep 0.5
    look
    expect "restored, the window is back where it was" "$where 0" "$WX $WY $(grep '^window ' "$WORK/scene" | cut -d' ' -f7)"

    click_button 800
    sleep 0.5
    look
    expect "CANCEL shows GAME CANCELED" "1 GAME CANCELED" "$(field 2300 7) $(text_of 2300)"
    if wait_for 5 ambient_ended; then pass "CANCEL ends the Ambient process"; else fail "CANCEL ends the Ambient process"; fi
    expect "no window titled Ambient is left" "0 0" "$(probe count Ambient)"

    click_button 700
    sleep 0.5
    look
    expect "START again hides the banner and resets the labels" "0 000000 0000 0000 25" \
        "$(field 2300 7) $(labels) $(cartridges_shown)"
    if wait_for 10 ambient_running; then pass "START again starts Ambient again"; else fail "START again starts Ambient again"; fi

    # Every shot a miss: the level ends below its threshold.
    local n
    for n in $(seq 25); do
        click_at 600 740
        sleep 0.08
    done
    sleep 0.5
    look
    expect "25 misses end the level in GAME OVER" "1 GAME OVER 0025 0" \
        "$(field 2350 7) $(text_of 2350) $(text_of 2500) $(cartridges_shown)"
    if wait_for 5 ambient_ended; then pass "GAME OVER ends the Ambient process"; else fail "GAME OVER ends the Ambient process"; fi

    click_button 700
    if wait_for 10 ambient_running; then pass "a new game after GAME OVER starts Ambient"; else fail "a new game after GAME OVER starts Ambient"; fi
    look
    click_button 450
    if wait_for 10 game_ended; then pass "the close button ends the game"; else fail "the close button ends the game"; fi
    if wait_for 5 ambient_ended; then pass "the close button ends Ambient too"; else fail "the close button ends Ambient too"; fi
}

# drag_title_strip DX DY WHEN: press in the painted title strip, move, release.
drag_title_strip() {
    look
    local x0=$WX y0=$WY
    xdotool mousemove $((WX + 400)) $((WY + 15)) mousedown 1
    sleep 0.3
    xdotool mousemove_relative -- $(($1 / 2)) $(($2 / 2))
    sleep 0.2
    xdotool mousemove_relative -- $(($1 - $1 / 2)) $(($2 - $2 / 2))
    sleep 0.3
    xdotool mouseup 1
    sleep 0.4
    look
    expect "a press in the title strip drags the window ($1, $2) $3" "$((x0 + $1)) $((y0 + $2))" "$WX $WY"
}

# The platform's own close path during a game: Alt+F4.
session_alt_f4() {
    echo "== Alt+F4 during a game"
    launch_game "$WORK/game" || { fail "the game starts again" "no window"; return; }
    echo "$STARTUP_MS" >>"$ART/startup-ms.txt"
    look
    expect "the game runs as one process" "1" "$(processes_of Plinkfield.exe)"
    click_button 700
    if wait_for 10 ambient_running; then pass "START starts Ambient"; else fail "START starts Ambient"; fi
    xdotool mousemove $((WX + 640)) $((WY + 300))
    sleep 0.3
    xdotool key alt+F4
    if wait_for 10 game_ended; then pass "Alt+F4 ends the game"; else fail "Alt+F4 ends the game"; fi
    if wait_for 5 ambient_ended; then pass "Alt+F4 leaves no Ambient running"; else fail "Alt+F4 leaves no Ambient running"; fi
}

# Ambient started on its own, as the shell starts it for the game.
session_ambient_alone() {
    echo "== Ambient on its own"
    local sink="$WORK/ambient.raw" wave="$RES/ambient/300.wav" at size
    read -r at size < <(wave_samples "$wave")
    audio_sink "$sink"
    (cd "$WORK/game/Audio_Bkgrnd" && exec wine "$WORK/game/Audio_Bkgrnd/Ambient.exe") >>"$ART/ambient.log" 2>&1 &
    audio_sink null
    if wait_for 10 ambient_running; then pass "Ambient.exe starts"; else fail "Ambient.exe starts"; return; fi
    wait_for 10 ambient_window_made
    expect "it owns one window titled Ambient and never shows it" "1 0" "$(probe count Ambient)"
    if wait_for 30 sink_at_least "$sink" $((2 * size)) && sink_holds "$sink" "$wave" 0 && sink_holds "$sink" "$wave" "$size"; then
        pass "it plays WAVE 300 over and over, without a gap"
    else
        fail "it plays WAVE 300 over and over, without a gap" "$(sink_size "$sink") bytes played, WAVE 300 has $size"
    fi
    probe close Ambient
    if wait_for 10 ambient_ended; then
        pass "WM_SYSCOMMAND SC_CLOSE to the window titled Ambient ends it"
    else
        fail "WM_SYSCOMMAND SC_CLOSE to the window titled Ambient ends it"
    fi
    local played=$(sink_size "$sink")
    sleep 0.5
    expect "its sound ends with it" "$played" "$(sink_size "$sink")"
}

# A game folder without Audio_Bkgrnd/Ambient.exe.
session_missing_ambient() {
    echo "== Ambient missing"
    local sink="$WORK/lonely.raw"
    audio_sink "$sink"
    launch_game "$WORK/lonely" || { fail "the game starts without Ambient beside it" "no window"; return; }
    audio_sink null
    echo "$STARTUP_MS" >>"$ART/startup-ms.txt"
    look
    expect "the game runs as one process" "1" "$(processes_of Plinkfield.exe)"
    click_button 700
    local bx by text
    if read -r _ bx by text < <(probe box "Plinkfield - Error" 10000); then
        expect "START shows the box 'Bkgnd Ambient failed.'" "Bkgnd Ambient failed." "$text"
        sleep 1
        if sink_holds "$sink" "$RES/game/7750.wav" 0; then
            pass "START played snd_start, WAVE 7750 of the game's resources"
        else
            fail "START played snd_start, WAVE 7750 of the game's resources" "$(sink_size "$sink") bytes played"
        fi
        look
        expect "while the box is up START has not finished: no cartridges, no rodent" "0 0" \
            "$(cartridges_shown) $(for id in 2700 3100 3500 3900 4300 4700 5100 5500 5800; do field $id 7; done | grep -c 1)"
        xdotool mousemove "$bx" "$by" click 1
        sleep 0.5
    else
        fail "START shows the box 'Bkgnd Ambient failed.'" "no box titled 'Plinkfield - Error'"
    fi
    look
    expect "after the box, the game runs: 25 cartridges" "25" "$(cartridges_shown)"
    if probe wait-show 8000 "${!RODENT_POINTS[@]}" >/dev/null; then
        pass "after the box, the game runs: rodents come up"
    else
        fail "after the box, the game runs: rodents come up"
    fi
    # Right after a rodent's pop-up cue, a miss: its gunshot cuts the pop-up
    # off and plays to its end long before the next rodent comes up.
    look
    probe wait-show 8000 2700 3100 3500 3900 4300 4700 5100 5500 5800 >/dev/null
    click_at 600 740
    sleep 1.5
    if sink_holds "$sink" "$RES/game/7900.wav" 0; then
        pass "a miss plays snd_shot, WAVE 7900, to its end"
    else
        fail "a miss plays snd_shot, WAVE 7900, to its end" "$(sink_size "$sink") bytes played"
    fi
    look
    click_button 450
    if wait_for 10 game_ended; then pass "the close button ends the game"; else fail "the close button ends the game"; fi
}

# Ambients left over from earlier (two started by hand): one CANCEL closes
# every window titled Ambient, not only the first one found.
session_every_ambient() {
    echo "== every Ambient closed"
    local i
    for i in 1 2; do
        (cd "$WORK/game/Audio_Bkgrnd" && exec wine "$WORK/game/Audio_Bkgrnd/Ambient.exe") >>"$ART/ambient.log" 2>&1 &
    done
    two_windows() { [ "$(probe count Ambient | cut -d' ' -f1)" = 2 ]; }
    three_windows() { [ "$(probe count Ambient | cut -d' ' -f1)" = 3 ]; }
    if wait_for 15 two_windows; then pass "two Ambients run before the game"; else fail "two Ambients run before the game"; fi
    launch_game "$WORK/game" || { fail "the game starts beside them" "no window"; return; }
    echo "$STARTUP_MS" >>"$ART/startup-ms.txt"
    look
    click_button 700
    if wait_for 15 three_windows; then pass "START adds a third"; else fail "START adds a third" "$(probe count Ambient)"; fi
    click_button 800
    if wait_for 10 ambient_ended; then
        pass "CANCEL ends all three Ambient processes"
    else
        fail "CANCEL ends all three Ambient processes" "$(processes_of Ambient.exe) still running"
    fi
    look
    click_button 450
    if wait_for 10 game_ended; then pass "the close button ends the game"; else fail "the close button ends the game"; fi
}

# ===================================================================== run

T0=$(date +%s)
start_x
make_prefix
install_copies
session_program_files
session_ambient_alone
session_full_game
session_alt_f4
session_every_ambient
session_missing_ambient

echo "Start-up times (ms, process start to window shown): $(tr '\n' ' ' <"$ART/startup-ms.txt" 2>/dev/null)"
echo "Program sizes (bytes): $(tr '\n' ' ' <"$ART/sizes.txt" 2>/dev/null)"
echo "Artifacts in $ART"
echo "$PASSED passed, $FAILED failed in $(( $(date +%s) - T0 )) s"
[ "$FAILED" -eq 0 ] && [ "$PASSED" -gt 0 ]
