# A private headless X server, a window manager on it, the pointer and the
# game's X window (WIN). Sourced by harness.sh.

XVFB_PID=""
WM_PID=""

# start_x: a private headless X server, 1600 x 1000; sets DISPLAY and
# XVFB_PID. Fails (saying so) when the server does not come up.
start_x() {
    new_x 1600x1000 "$ART/xvfb.log" || { echo "FAIL: Xvfb did not start or does not answer (see $ART/xvfb.log)"; return 1; }
    XVFB_PID=$NEW_X_PID
    export DISPLAY=$NEW_DISPLAY
}

# new_x WxH LOG: one more private headless X server of that size, answering;
# sets NEW_DISPLAY and NEW_X_PID (stop it with stop_pid).
new_x() {
    rm -f "$WORK/display"
    exec 3>"$WORK/display"
    Xvfb -displayfd 3 -screen 0 "$1"x24 -nolisten tcp >"$2" 2>&1 &
    NEW_X_PID=$!
    exec 3>&-
    wait_for 30 test -s "$WORK/display" || return 1
    NEW_DISPLAY=":$(head -n 1 "$WORK/display")"
    # Answering, not just numbered: a client must find the server there.
    wait_for 30 env DISPLAY="$NEW_DISPLAY" sh -c 'xprop -root >/dev/null 2>&1'
}

# start_wm: openbox on that server, in charge once it has announced itself
# (dragging by the title strip and minimizing need a window manager); sets
# WM_PID.
start_wm() {
    openbox_on_display "$ART/openbox.log" || { echo "FAIL: openbox did not start (see $ART/openbox.log)"; return 1; }
    WM_PID=$OPENBOX_PID
}

# openbox_on_display LOG: openbox on DISPLAY, in charge; sets OPENBOX_PID.
# On a busy machine openbox now and then fails to open a display that
# answers every other client, and a second start succeeds: up to three.
openbox_on_display() {
    local try
    for try in 1 2 3; do
        openbox --sm-disable >"$1" 2>&1 &
        OPENBOX_PID=$!
        wait_for 20 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" || ! kill -0 "$1" 2>/dev/null' \
            _ "$OPENBOX_PID"
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
        stop_pid "$OPENBOX_PID"
    done
    return 1
}

# stop_pid PID: ends a process this shell started and waits for it, so that
# the next X server never meets this one's leftovers.
stop_pid() {
    [ -n "$1" ] || return 0
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
    return 0
}

# stop_x: ends this run's window manager and X server, if it started them.
stop_x() {
    stop_pid "$WM_PID"
    stop_pid "$XVFB_PID"
    WM_PID="" XVFB_PID=""
}

# The pointer out of the way, off every window, in the screen's corner.
park_pointer() { xdotool mousemove 1590 990; }

# window_position: "X Y" of the X window WIN on the screen, as the X server
# has it (it follows each move the game makes).
window_position() {
    xdotool getwindowgeometry "$WIN" 2>/dev/null | awk '/Position/ { split($2, p, ","); print p[1], p[2] }'
}
window_at() { [ "$(window_position)" = "$1 $2" ]; }
window_viewable() { xwininfo -id "$WIN" 2>/dev/null | grep -q IsViewable; }

# click_at X Y: a real left click at a point of the window WIN.
click_at() { xdotool mousemove --window "$WIN" "$1" "$2" click 1; }

# settle: the game has handled every input sent so far. Keys and clicks
# reach it in the order they were sent, so once an arrow key has moved the
# window, everything before it has been handled; a second key moves the
# window back. The suite's `key` sends keys to the game's window; the
# window's place is read from the X server, which follows each move.
settle() {
    local x0 y0
    read -r x0 y0 < <(window_position)
    [ -n "${y0:-}" ] || return 1
    key Right
    wait_for 20 window_at $((x0 + 2)) "$y0" || return 1
    key Left
    wait_for 20 window_at "$x0" "$y0"
}
