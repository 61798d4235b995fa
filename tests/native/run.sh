#!/bin/bash
# End to end: the native plinkfield and plinkfield-ambient in a private
# headless X server with a real window manager (openbox, so that dragging by
# the title strip and minimizing behave as on a desktop), driven with real
# mouse and key events (xdotool) and watched through screenshots and the
# game's test dump (PLINKFIELD_SCENE_DUMP, see game/shell/sdl/sdl_dump.cpp).
#
#   tests/native/run.sh BUILD_DIR RESOURCE_DIR [ARTIFACT_DIR]
#
# BUILD_DIR holds plinkfield and plinkfield-ambient; RESOURCE_DIR the painted
# files they carry (game/<id>.bmp), which the screenshots are compared with.
# Prints one PASS or FAIL line per check and exits non-zero when any check
# failed. Screenshots and logs are left in ARTIFACT_DIR (default: BUILD_DIR/
# native-e2e). Every wait is for a state, with a generous deadline.
set -u -o pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 BUILD_DIR RESOURCE_DIR [ARTIFACT_DIR]" >&2
    exit 2
fi
BUILD=$(realpath "$1")
RES=$(realpath "$2")
ART=$(realpath -m "${3:-$BUILD/native-e2e}")
# shellcheck source=tests/lib/harness.sh
. "$(dirname "$(realpath "$0")")/../lib/harness.sh"

for tool in Xvfb openbox xdotool xprop xwininfo import convert compare jq; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (scripts/install-deps)"; exit 1; }
done
for f in "$BUILD/plinkfield" "$BUILD/plinkfield-ambient" "$RES/game/100.bmp"; do
    [ -f "$f" ] || { echo "FAIL: missing $f"; exit 1; }
done

mkdir -p "$ART"
rm -f "$ART"/*.png "$ART"/*.log "$ART"/*.json
WORK=$(mktemp -d /tmp/plinkfield-native.XXXXXX)
XVFB_PID=""
WM_PID=""
GAME_PID=""

cleanup() {
    # Only what this run started: the games of its own copies, its window
    # manager and its X server.
    local pid
    for pid in $(run_processes plinkfield) $(run_processes plinkfield-ambient); do kill -9 "$pid" 2>/dev/null; done
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# ------------------------------------------------------------ the display

start_desktop() {
    start_x || exit 1
    openbox --sm-disable >"$ART/openbox.log" 2>&1 &
    WM_PID=$!
    # The window manager is in charge once it has announced itself.
    wait_for 20 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
        { echo "FAIL: openbox did not start (see $ART/openbox.log)"; exit 1; }
}

# ---------------------------------------------------------- the programs

# Copies of the build, so that this run's processes are told apart by their
# program file: one complete, one without Ambient, one with an Ambient that
# cannot be executed.
install_copies() {
    mkdir -p "$WORK/game" "$WORK/lonely" "$WORK/broken"
    cp "$BUILD/plinkfield" "$BUILD/plinkfield-ambient" "$WORK/game/"
    cp "$BUILD/plinkfield" "$WORK/lonely/"
    cp "$BUILD/plinkfield" "$BUILD/plinkfield-ambient" "$WORK/broken/"
    chmod -x "$WORK/broken/plinkfield-ambient"
}

# Living processes (not zombies) whose program file is one of this run's
# copies of NAME.
run_processes() {
    local exe pid state
    for exe in /proc/[0-9]*/exe; do
        case "$(readlink "$exe" 2>/dev/null)" in "$WORK"/*/"$1") ;; *) continue ;; esac
        pid=${exe#/proc/}
        pid=${pid%/exe}
        state=$(sed 's/.*) //' "/proc/$pid/stat" 2>/dev/null | cut -d' ' -f1)
        [ -n "$state" ] && [ "$state" != Z ] && echo "$pid"
    done
}

count_of() { run_processes "$1" | wc -l; }
alive() { [ -n "$1" ] && [ -d "/proc/$1" ] && [ "$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -d' ' -f1)" != Z ]; }
gone() { ! alive "$1"; }
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

first_frame_shown() {
    [ -s "$DUMP" ] && [ "$(jq '.native.frames' "$DUMP")" -ge 1 ] || return 1
    WIN=$(xdotool search --pid "$GAME_PID" --name '^Plinkfield$' 2>/dev/null | head -n 1)
    [ -n "$WIN" ] && xwininfo -id "$WIN" | grep -q IsViewable
}

# q JQ: a value from the latest dump.
q() { jq -r "$1" "$DUMP" 2>/dev/null; }
# holds JQ: the latest dump makes JQ true.
holds() { [ "$(jq -r "$1" "$DUMP" 2>/dev/null)" = true ]; }
# element NAME FIELD
element() { q ".scene[] | select(.name == \"$1\") | .$2"; }

# Real input at game coordinates of the main window.
click_at() { xdotool mousemove --window "$WIN" "$1" "$2" click 1; }
park_pointer() { xdotool mousemove 1590 990; }

# A button, clicked in its middle, once the game has taken the last event.
click_element() {
    local x=$(element "$1" x) y=$(element "$1" y) w=$(element "$1" w) h=$(element "$1" h)
    click_at $((x + w / 2)) $((y + h / 2))
}

window_x() { xdotool getwindowgeometry "$WIN" | awk '/Position/ { split($2, p, ","); print p[1] }'; }
window_y() { xdotool getwindowgeometry "$WIN" | awk '/Position/ { split($2, p, ","); print p[2] }'; }
window_at() { [ "$(window_x)" = "$1" ] && [ "$(window_y)" = "$2" ]; }

# ------------------------------------------------------------ pictures

# shot NAME: the main window's pixels, as they are on the screen now.
shot() { import -window "$WIN" "$ART/$1.png"; }

# region_matches SHOT X Y W H BITMAP_ID: the window shows exactly that
# bitmap there (BITMAP_ID 100 means the scene picture at the same place).
region_matches() {
    convert "$ART/$1.png" -crop "${4}x${5}+${2}+${3}" +repage "$WORK/region.png"
    if [ "$6" = 100 ]; then
        convert "$RES/game/100.bmp" -crop "${4}x${5}+${2}+${3}" +repage "$WORK/bitmap.png"
    else
        convert "$RES/game/$6.bmp" "$WORK/bitmap.png"
    fi
    [ "$(differing_pixels "$WORK/region.png" "$WORK/bitmap.png")" = 0 ]
}

# The start screen as the painted files say it must look: the scene picture
# with the four buttons and the standing cow on it. The labels' text is the
# font's business; their rectangles are left out of the comparison on both
# sides and checked apart.
LABEL_RECTS=("564,722 673,757" "506,728 585,763" "688,728 767,763")
mask_labels() {
    local draw="" r
    for r in "${LABEL_RECTS[@]}"; do draw="$draw rectangle $r"; done
    convert "$1" -fill magenta -draw "$draw" "$2"
}
expected_start_screen() {
    convert "$RES/game/100.bmp" \
        "$RES/game/300.bmp" -geometry +1220+6 -composite \
        "$RES/game/200.bmp" -geometry +1249+6 -composite \
        "$RES/game/500.bmp" -geometry +14+714 -composite \
        "$RES/game/600.bmp" -geometry +157+714 -composite \
        "$RES/game/7350.bmp" -geometry +680+356 -composite "$1"
}
# black_pixels SHOT X Y W H: how many pure black pixels (label text) lie there.
black_pixels() {
    convert "$ART/$1.png" -crop "${4}x${5}+${2}+${3}" +repage -fill white +opaque black -fill black -opaque black \
        -format '%[fx:int(w*h*(1-mean)+0.5)]' info:
}

start_screen_matches() {
    shot start
    mask_labels "$ART/start.png" "$WORK/start-masked.png"
    [ "$(differing_pixels "$WORK/start-masked.png" "$WORK/expected-masked.png")" = 0 ]
}

# The window's own pointer and keyboard input, once the game took the last.
key() { xdotool key --window "$WIN" "$@"; }

stage_is() { [ "$(q .state.stage)" = "$1" ]; }
ticks_beyond() { [ "$(q .native.ticks)" -ge "$1" ]; }
shots_are() { [ "$(q .state.shots_fired)" = "$1" ]; }
ambient_pid() { q '.native.ambient[0] // empty'; }
ambient_started() { [ -n "$(ambient_pid)" ] && alive "$(ambient_pid)"; }
parent_of() { sed 's/.*) //' "/proc/$1/stat" | cut -d' ' -f2; }
ended_with_ambient() { gone "$GAME_PID" && no_ambient; }

# START, and wait until the game runs with its Ambient.
start_game() {
    click_element start_button
    wait_for 20 stage_is 1 && wait_for 20 ambient_started
}

# ================================================================== checks

start_desktop
install_copies
note "display $DISPLAY with openbox; programs in $WORK"

echo "== the start screen"
T0=$(date +%s%N)
if launch main "$WORK/game"; then
    note "first frame $(( ($(q .native.first_frame_ns) - T0) / 1000000 )) ms after the start"
    check "the window is borderless, 1280 x 786, titled Plinkfield" \
        sh -c "xwininfo -id $WIN | grep -q 'Width: 1280' && xwininfo -id $WIN | grep -q 'Height: 786'"
    check "its X11 class is the app id org.plinkfield.Plinkfield" \
        sh -c "xprop -id $WIN WM_CLASS | grep -q '\"org.plinkfield.Plinkfield\"'"
    park_pointer
    expected_start_screen "$WORK/expected.png"
    mask_labels "$WORK/expected.png" "$WORK/expected-masked.png"
    if wait_for 20 start_screen_matches; then
        pass "the start screen is the painted scene with the four buttons and the cow"
    else
        fail "the start screen is the painted scene with the four buttons and the cow" \
            "$(differing_pixels "$WORK/start-masked.png" "$WORK/expected-masked.png") pixels differ (see $ART/start.png)"
    fi
    check "the labels read 000000, 0000, 0000" \
        test "$(q '[.scene[4,5,6].text] | join(" ")')" = "000000 0000 0000"
    check "the score label shows black text on light grey" \
        sh -c "[ $(black_pixels start 564 722 110 36) -gt 40 ] && [ \"\$(convert $ART/start.png -format '%[pixel:p{668,752}]' info:)\" = 'srgb(192,192,192)' ]"
    check "nothing runs before START: no tick, no Ambient" \
        sh -c "[ '$(q .native.ticks)' = 0 ] && [ '$(q .state.stage)' = 0 ] && [ $(count_of plinkfield-ambient) = 0 ]"

    echo "== the buttons"
    read -r sx sy < <(q '.scene[2] | "\(.x + 60) \(.y + 29)"')
    xdotool mousemove --window "$WIN" "$sx" "$sy" mousedown 1
    if wait_for 20 holds '.native.pressed == 700'; then
        shot start-held
        check "START held down shows its pressed picture" region_matches start-held 14 714 120 58 550
    else
        fail "START held down shows its pressed picture" "the game never saw the press"
    fi
    xdotool mousemove --window "$WIN" 400 300
    wait_for 20 holds '.native.pressed == 0'
    xdotool mouseup 1
    shot start-left
    check "START pressed and left shows its normal picture again" region_matches start-left 14 714 120 58 500
    # A key after the release: once it has moved the window, the release
    # has been handled too.
    x0=$(window_x); y0=$(window_y)
    key Left
    wait_for 20 window_at $((x0 - 2)) "$y0"
    check "START released elsewhere does nothing" sh -c "[ '$(q .state.stage)' = 0 ] && [ $(count_of plinkfield-ambient) = 0 ]"
    key Right
    wait_for 20 window_at "$x0" "$y0"

    echo "== a game"
    if start_game; then
        pass "START starts the game and one plinkfield-ambient"
        a=$(ambient_pid)
        check "Ambient is the game's child, from beside the game" \
            sh -c "[ '$(parent_of "$a")' = '$GAME_PID' ] && [ '$(readlink /proc/$a/exe)' = '$WORK/game/plinkfield-ambient' ]"
        check "the timer runs: ticks go by" wait_for 20 ticks_beyond 5
    else
        fail "START starts the game and one plinkfield-ambient" "stage $(q .state.stage), ambient '$(ambient_pid)'"
    fi

    # A miss in the empty sky.
    click_at 850 200
    if wait_for 20 shots_are 1; then
        check "a miss counts a miss and says so" \
            test "$(q '[.state.misses, .state.hits, .scene[6].text] | map(tostring) | join(" ")')" = "1 0 0001"
        check "a miss takes the first cartridge, the others stay" \
            test "$(q '[.scene[] | select(.name | startswith("cartridge[")) | select(.visible)] | length')" = 24
        park_pointer
        shot miss
        slots_after_miss() { region_matches miss 869 713 14 54 100 && region_matches miss 885 713 14 54 850; }
        check "the first cartridge's slot shows the scene, the second a cartridge" slots_after_miss
    else
        fail "a miss counts a miss and says so" "no shot was fired"
    fi

    # A shot at a raised rodent: the dump says which one stands up, and
    # where; should it duck before the shot arrives, try the next one.
    raised_rodent() {
        RODENT=$(q '[range(1; 10) as $h | select(.state.hole_hittable[$h - 1] == 1)
                    | .scene[] | select(.name == "raised[\($h)]" and .visible)
                    | "\(.x + (.w / 2 | floor)) \(.y + (.h / 2 | floor))"] | first // empty')
        [ -n "$RODENT" ]
    }
    hit=""
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        wait_for 30 raised_rodent || break
        shots=$(q .state.shots_fired)
        click_at $RODENT
        wait_for 20 shots_are $((shots + 1)) || break
        if [ "$(q .state.hits)" -ge 1 ]; then hit=$attempt; break; fi
    done
    if [ -n "$hit" ]; then
        note "hit on attempt $hit"
        score=$(q .state.score)
        check "a raised rodent shot scores 25 to 200 points" test "$score" -ge 25 -a "$score" -le 200
        check "the scoreboard shows the score and the hit" \
            test "$(q '[.scene[4,5].text] | join(" ")')" = "$(printf '%06d 0001' "$score")"
        shot native-playing
    else
        fail "a raised rodent shot scores 25 to 200 points" "no hit in 10 tries"
    fi

    echo "== the window"
    x0=$(window_x); y0=$(window_y)
    key Left
    check "Left moves the window 2 pixels left" wait_for 20 window_at $((x0 - 2)) "$y0"
    key Up
    check "Up moves it 2 pixels up" wait_for 20 window_at $((x0 - 2)) $((y0 - 2))
    key Right Down
    check "Right and Down move it back" wait_for 20 window_at "$x0" "$y0"

    shots=$(q .state.shots_fired)
    xdotool mousemove --window "$WIN" 300 10 mousedown 1
    follows_pointer() { xdotool mousemove_relative 3 2; ! window_at "$x0" "$y0"; }
    moved=0
    wait_for 20 follows_pointer && moved=1
    xdotool mousemove_relative 20 10 mouseup 1
    check "a press in the title strip drags the window" test $moved = 1
    # A key behind the release, as above.
    x1=$(window_x); y1=$(window_y)
    key Down
    wait_for 20 window_at "$x1" $((y1 + 2))
    check "the drag fired no shot" shots_are "$shots"

    ticks=$(q .native.ticks)
    click_element minimize_button
    check "minimize hides the window" wait_for 20 sh -c "xwininfo -id $WIN | grep -q IsUnMapped"
    check "the game goes on while minimized" wait_for 20 ticks_beyond $((ticks + 10))
    xdotool windowactivate "$WIN" 2>/dev/null
    wait_for 20 sh -c "xwininfo -id $WIN | grep -q IsViewable"

    key m
    check "M mutes" wait_for 20 holds '.native.muted'
    key m
    check "M again unmutes" wait_for 20 holds '.native.muted | not'

    key F11
    check "F11 fills the screen" wait_for 20 sh -c "xwininfo -id $WIN | grep -q 'Width: 1600'"
    key F11
    check "F11 again gives the 1280 x 786 window back" wait_for 20 sh -c "xwininfo -id $WIN | grep -q 'Width: 1280'"

    echo "== the ends"
    click_element close_button
    check "the close button ends the game and its Ambient" wait_for 20 ended_with_ambient
fi

if launch altf4 "$WORK/game" && start_game; then
    key alt+F4
    check "Alt+F4 during a game ends the game and its Ambient" wait_for 20 ended_with_ambient
else
    fail "Alt+F4 during a game ends the game and its Ambient" "the game did not start"
fi

if launch killed "$WORK/game" && start_game; then
    a=$(ambient_pid)
    t0=$(date +%s%N)
    kill -KILL "$GAME_PID"
    if wait_for 20 gone "$a"; then
        pass "a game killed with SIGKILL leaves no Ambient"
        note "Ambient ended $(( ($(date +%s%N) - t0) / 1000000 )) ms after the game was killed"
    else
        fail "a game killed with SIGKILL leaves no Ambient"
    fi
else
    fail "a game killed with SIGKILL leaves no Ambient" "the game did not start"
fi

echo "== without sound"
if launch silent "$WORK/game" SDL_AUDIODRIVER=none-here && start_game; then
    check "with no sound device the game runs silently" sh -c "[ '$(q .native.audio)' = false ] && [ '$(q .state.stage)' = 1 ]"
    check "and says so in one line" test "$(grep -c '^plinkfield: ' "$ART/silent.log")" = 1
    check "its ticks go by" wait_for 20 ticks_beyond 5
    click_element close_button
    wait_for 20 ended_with_ambient
else
    fail "with no sound device the game runs silently" "see $ART/silent.log"
fi

echo "== without Ambient"
for kind in lonely broken; do
    what="missing"
    [ $kind = broken ] && what="not executable"
    if launch $kind "$WORK/$kind"; then
        click_element start_button
        box=""
        # SDL titles its box in a way xdotool's name search misses.
        find_box() {
            box=$(xwininfo -root -tree | awk '/"Plinkfield - Error"/ { print $1; exit }')
            [ -n "$box" ] && xwininfo -id "$box" | grep -q IsViewable
        }
        if wait_for 20 find_box; then
            pass "Ambient $what: START shows the Plinkfield - Error box"
            xdotool windowactivate --sync "$box" 2>/dev/null
            xdotool key Return
            goes_on_alone() { wait_for 20 ticks_beyond 3 && no_ambient; }
            check "after the box the game goes on without Ambient" goes_on_alone
        else
            fail "Ambient $what: START shows the Plinkfield - Error box"
        fi
        click_element close_button
        wait_for 20 gone "$GAME_PID"
    fi
done

echo "== scaled"
if launch scaled "$WORK/game" -- --scale 0.75; then
    check "--scale 0.75 makes a 960 x 590 window" \
        sh -c "xwininfo -id $WIN | grep -q 'Width: 960' && xwininfo -id $WIN | grep -q 'Height: 590'"
    click_at 55 557  # START at three quarters
    check "START is hit at the scaled place" wait_for 20 stage_is 1
    click_at 637 150  # 850, 200 in the game
    wait_for 20 shots_are 1
    check "a click lands in game coordinates" holds '(.state.cursor_x - 850 | fabs) <= 1 and .state.cursor_y == 200'
    key alt+F4
    wait_for 20 ended_with_ambient
fi

check "no plinkfield or plinkfield-ambient of this run is left" \
    sh -c "[ $(count_of plinkfield) = 0 ] && [ $(count_of plinkfield-ambient) = 0 ]"

echo "native end to end:"
echo "$PASSED passed, $FAILED failed"
[ "$FAILED" -eq 0 ]
