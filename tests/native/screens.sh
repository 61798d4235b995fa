# Screens of other sizes, each a private X server of its own: the window
# opens at a scale that fits the usable area, the zoom keys step it and keep
# it on the screen, and at scale 2 it draws the twins painted at twice the
# size. Sourced by run.sh; the suite's own X server is left as it is.

SCREEN_XVFB=""
SCREEN_WM=""
MAIN_DISPLAY=$DISPLAY

# on_screen WxH [wm|workarea H]: a new X server of that size becomes the
# display; with openbox, or with a usable area of the given height and no
# window manager (as a desktop panel along the bottom leaves it).
on_screen() {
    off_screen
    exec 3>"$WORK/screen-display"
    # -noreset: the usable area set below outlives the client that set it.
    Xvfb -displayfd 3 -screen 0 "$1"x24 -nolisten tcp -noreset >"$ART/xvfb-$1.log" 2>&1 &
    SCREEN_XVFB=$!
    exec 3>&-
    wait_for 30 test -s "$WORK/screen-display" || return 1
    export DISPLAY=":$(head -n 1 "$WORK/screen-display")"
    rm -f "$WORK/screen-display"
    wait_for 30 sh -c 'xprop -root >/dev/null 2>&1' || return 1
    case "${2:-}" in
        wm)
            openbox_on_display "$ART/openbox-$1.log" && SCREEN_WM=$OPENBOX_PID ;;
        workarea)
            xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "0, 0, ${1%x*}, $3" ;;
    esac
}
off_screen() {
    [ -n "$GAME_PID" ] && alive "$GAME_PID" && kill "$GAME_PID" && wait_for 20 gone "$GAME_PID"
    stop_pid "$SCREEN_WM"
    stop_pid "$SCREEN_XVFB"
    SCREEN_WM="" SCREEN_XVFB=""
    export DISPLAY=$MAIN_DISPLAY
}

# window_within W H: the game's window lies wholly on the area 0, 0, W, H.
window_within() {
    holds ".native.x >= 0 and .native.y >= 0 and .native.x + .native.w <= $1 and .native.y + .native.h <= $2"
}
scale_is() { holds ".native.scale == $1"; }
geometry() { q '"\(.native.scale) at \(.native.x),\(.native.y) \(.native.w)x\(.native.h)"'; }

echo "== screens"
for screen in "1366x768 workarea 736 0.9" "1280x720 wm 720 0.9" "1920x1080 wm 1080 1" "3840x2160 wm 2160 2"; do
    read -r size how usable want <<<"$screen"
    if on_screen "$size" "$how" "$usable" && launch "screen-$size" "$WORK/game"; then
        opened_fitting() { scale_is "$want" && window_within "${size%x*}" "$usable"; }
        check "on $size (usable height $usable) the window opens at scale $want, all of it on the screen ($(geometry))" \
            opened_fitting
    else
        fail "on $size the game opens" "see $ART/screen-$size.log"
    fi
    [ "$size" = 1920x1080 ] || continue

    # The zoom keys, a quarter at a time, never past what fits.
    key ctrl+minus
    check "Ctrl+Minus: a quarter smaller, 960 x 590" wait_for 20 holds '.native.scale == 0.75 and .native.w == 960'
    key ctrl+plus ctrl+plus
    check "Ctrl+Plus twice: 1.25, still on the screen" \
        wait_for 20 eval 'scale_is 1.25 && window_within 1920 1080'
    key ctrl+plus
    check "Ctrl+Plus once more: as large as fits (1.37)" wait_for 20 eval 'scale_is 1.37 && window_within 1920 1080'
    key ctrl+0
    check "Ctrl+0: back to the scale it opened at" wait_for 20 eval 'scale_is 1 && window_within 1920 1080'
    click_element start_button
    check "START is hit after zooming" wait_for 20 stage_is 1
done

# At scale 2 on the large screen: the sky, which no element covers, is the
# twin's pixel for pixel, and not the 1x scene enlarged.
if [ -n "$SCREEN_XVFB" ] && scale_is 2; then
    twin_sky() {
        local x y
        read -r x y < <(q '"\(.native.x) \(.native.y)"')
        import -window root -crop "1200x400+$((x + 100))+$((y + 80))" "$ART/sky@2x.png" 2>/dev/null
        convert "$RES/game/100@2x.png" -crop 1200x400+100+80 +repage "$WORK/twin-sky.png"
        convert "$RES/game/100.bmp" -crop 600x200+50+40 +repage -filter point -resize 200% "$WORK/doubled-sky.png"
        [ "$(differing_pixels "$ART/sky@2x.png" "$WORK/twin-sky.png")" = 0 ] &&
            [ "$(differing_pixels "$ART/sky@2x.png" "$WORK/doubled-sky.png")" -gt 10000 ]
    }
    check "at scale 2 the start screen shows the twin painted at twice the size, not the scene enlarged" twin_sky
fi
off_screen
