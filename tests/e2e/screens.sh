# Screens other than the suite's own, each a private X server and a Wine
# session of its own: small ones at 96 DPI, where the window shrinks to fit,
# and dense ones (Wine's DPI, LogPixels, at 144 and 192), where it grows and
# draws the painter's twins. On each the window opens whole on the screen,
# its children are the table's rectangles at its scale, the start screen is
# the scene at that scale, and a game plays where it is drawn: START, a
# raised rodent hit, CANCEL. Sourced by run.sh; the suite's own screen and
# DPI are back in place after it.

SCREEN_X=""

# set_dpi DPI: Wine's DPI for the programs started from now on.
set_dpi() {
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n' "$1" >"$WORK/dpi.reg"
    wine regedit /S "$WORK/dpi.reg" >>"$ART/wineboot.log" 2>&1
}

# wine_session_on DISPLAY: a new Wine session (wineserver and desktop) on
# that X display; the prefix, and the DPI set before, stay.
wine_session_on() {
    wineserver -k
    wineserver -w
    export DISPLAY=$1
    wineserver -p
}

# on_screen WxH DPI: a new X server of that size, and Wine on it at DPI.
on_screen() {
    set_dpi "$2"
    local old=$SCREEN_X
    new_x "$1" "$ART/xvfb-$1.log" || return 1
    SCREEN_X=$NEW_X_PID
    wine_session_on "$NEW_DISPLAY"
    stop_pid "$old"  # once nothing of Wine is on it
}

# off_screen: the suite's own screen, at 96 DPI.
off_screen() {
    set_dpi 96
    wine_session_on "$MAIN_DISPLAY"
    stop_pid "$SCREEN_X"
    SCREEN_X=""
}

# mean_error A.png B.png: the mean difference of two pictures, 0 to 1.
mean_error() { compare -metric MAE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\))$/\1/p'; }

# start_screen_at SCALE NAME: the meadow, where nothing is on show at start
# (field 40, 450 to 640, 690), is the scene as the window draws it: at 2,
# the twin pixel for pixel; above 1 the twin made smaller, below 1 the
# picture made smaller, both smoothly (nearer a smooth resize than to the
# nearest pixels, by far) and not the 1x picture enlarged. Prints "as
# painted" when so, else what it measured. The screenshot is kept as NAME.
start_screen_at() {
    local s=$1 x0 y0 w h ww=$(device_edge 1280 "$1") wh=$(device_edge 786 "$1") source smooth nearest enlarged
    x0=$(device_edge 40 "$s") y0=$(device_edge 450 "$s")
    w=$(($(device_edge 640 "$s") - x0)) h=$(($(device_edge 690 "$s") - y0))
    shot "$2"
    convert "$ART/$2.png" -crop "${w}x${h}+$x0+$y0" +repage "$WORK/meadow.png"
    source=$RES/game/100@2x.png
    awk -v s="$s" 'BEGIN { exit !(s < 1) }' && source=$RES/game/100.bmp
    if [ "$s" = 2 ]; then
        convert "$source" -crop "${w}x${h}+$x0+$y0" +repage "$WORK/painted.png"
        convert "$RES/game/100.bmp" -filter point -resize 200% -crop "${w}x${h}+$x0+$y0" +repage "$WORK/enlarged.png"
        local differ=$(differing_pixels "$WORK/meadow.png" "$WORK/painted.png")
        local doubled=$(differing_pixels "$WORK/meadow.png" "$WORK/enlarged.png")
        [ "$differ" = 0 ] && [ "$doubled" -gt 10000 ] 2>/dev/null && { echo "as painted"; return; }
        echo "$differ pixels off the twin, $doubled off the 1x enlarged"
        return
    fi
    for filter in triangle point; do
        convert "$source" -filter "$filter" -resize "${ww}x${wh}!" -crop "${w}x${h}+$x0+$y0" +repage "$WORK/$filter.png"
    done
    convert "$RES/game/100.bmp" -resize "${ww}x${wh}!" -crop "${w}x${h}+$x0+$y0" +repage "$WORK/enlarged.png"
    smooth=$(mean_error "$WORK/meadow.png" "$WORK/triangle.png")
    nearest=$(mean_error "$WORK/meadow.png" "$WORK/point.png")
    enlarged=$(mean_error "$WORK/meadow.png" "$WORK/enlarged.png")
    if awk -v a="$smooth" -v b="$nearest" -v c="$enlarged" -v s="$s" \
        'BEGIN { exit !(a != "" && a < 0.01 && a < 0.6 * b && (s < 1 || a < 0.6 * c)) }'; then
        echo "as painted"
    else
        echo "mean error $smooth from $(basename "$source") resized smoothly, $nearest by the nearest pixels, $enlarged from the 1x"
    fi
}

# score_digits_at SCALE SHOT: the score label's digits, in that screenshot,
# stand as tall as the large font's digits at that scale (Arial's, or
# Liberation Sans' with the same metrics: 0.716 of the em, the em 2048/2288
# of the 36-pixel cell), to 2 pixels. Prints "scaled" when so.
score_digits_at() {
    local s=$1 x y w h ink want
    x=$(device_edge 564 "$s") y=$(device_edge 722 "$s")
    w=$(($(device_edge 674 "$s") - x)) h=$(($(device_edge 758 "$s") - y))
    ink=$(ink_height "$2" "$x" "$y" "$w" "$h")
    want=$(awk -v s="$s" 'BEGIN { printf "%d", 36 * s * 0.716 * 2048 / 2288 + 0.5 }')
    if [ $((ink - want)) -le 2 ] && [ $((want - ink)) -le 2 ]; then echo scaled; else echo "$ink pixels tall, not $want"; fi
}

run_screens() {
    echo "== other screens and densities"
    MAIN_DISPLAY=$DISPLAY
    local screen size dpi scale window where
    for screen in "1366x768 96 0.95 1216x747" "1280x720 96 0.9 1152x707" \
        "2880x1800 144 1.75 2240x1375" "3840x2160 192 2 2560x1572"; do
        read -r size dpi scale window <<<"$screen"
        where="on $size at $dpi DPI"
        if ! on_screen "$size" "$dpi" || ! launch_game "$WORK/game"; then
            fail "$where the game starts" "no window (see $ART/xvfb-$size.log, $ART/game.log)"
            continue
        fi
        echo "$STARTUP_MS" >>"$ART/startup-ms.txt"
        xdotool mousemove "${size%x*}" "${size#*x}"  # the screen's corner, off the window
        look
        expect "$where the window opens at scale $scale, $window, whole on the screen from its top-left corner" \
            "0 0 ${window%x*} ${window#*x} 1 0" "$(grep '^window ' "$WORK/scene" | cut -d' ' -f2-)"
        if diff <(expected_scene "$scale") <(actual_scene) >"$ART/scene-diff-$size.txt"; then
            pass "$where the 83 child windows are the table's rectangles at scale $scale"
        else
            fail "$where the 83 child windows are the table's rectangles at scale $scale" "see $ART/scene-diff-$size.txt"
        fi
        expect_until "$where the start screen is the scene painted at scale $scale" "as painted" 20 \
            start_screen_at "$scale" "screen-$size-${dpi}dpi"
        expect "$where the labels are written in fonts made at scale $scale" scaled \
            "$(score_digits_at "$scale" "screen-$size-${dpi}dpi")"

        click_button "$ID_START"
        expect_until "$where START pressed where it is drawn starts a game" "25" 20 seen cartridges_shown
        HITS=0 MISSES=0 POINTS=0
        if shoot_a_rodent; then
            pass "$where a shot at a raised rodent where it is drawn hits it ($HIT_ID, late tries: $LATE)"
        else
            fail "$where a shot at a raised rodent where it is drawn hits it" "none in three tries: $(labels)"
        fi
        click_button "$ID_CANCEL"
        expect_until "$where CANCEL where it is drawn ends the game" "1 GAME CANCELED" 20 seen banner "$ID_CANCELED"
        check_until "$where CANCEL ends Ambient" 20 ambient_ended
        click_button "$ID_CLOSE"
        check_until "$where the close button where it is drawn ends the game" 20 game_ended
    done
    off_screen
}
