# The window in the first run: the arrow keys, held and repeating too,
# dragging, minimizing, M, F11 and the close button; then the other ends of
# a game (Alt+F4, SIGKILL) and a scaled window. Sourced by run.sh.

# dump_window_at X Y: the game's own record of its window's place.
dump_window_at() { [ "$(q '"\(.native.x) \(.native.y)"')" = "$1 $2" ]; }

# A held arrow key: the X server repeats it, and every repeat nudges the
# window again, by 2 pixels. Held until the window has gone at least five
# nudges; a Down sent after the release has been handled once the window
# has gone down, and with it every repeat before it. Leaves HELD_MOVED,
# how far the window went left.
held_left_repeats() {
    local x0 y0 x y
    read -r x0 y0 < <(q '"\(.native.x) \(.native.y)"')
    xdotool keydown --window "$WIN" Left
    wait_for 20 holds ".native.x <= $((x0 - 10))"
    xdotool keyup --window "$WIN" Left
    key Down
    wait_for 20 holds ".native.y == $((y0 + 2))" || { HELD_MOVED="no answer to Down"; return 1; }
    read -r x y < <(q '"\(.native.x) \(.native.y)"')
    key Up
    wait_for 20 dump_window_at "$x" "$y0"
    HELD_MOVED=$((x0 - x))
    [ "$HELD_MOVED" -ge 10 ] && [ $((HELD_MOVED % 2)) = 0 ]
}

if [ -n "$MAIN" ]; then
    echo "== the window"
    read -r x0 y0 < <(window_position)
    key Left
    check "Left moves the window 2 pixels left" wait_for 20 window_at $((x0 - 2)) "$y0"
    key Up
    check "Up moves it 2 pixels up" wait_for 20 window_at $((x0 - 2)) $((y0 - 2))
    key Right Down
    check "Right and Down move it back" wait_for 20 window_at "$x0" "$y0"
    if held_left_repeats; then
        pass "Left held down moves the window on, 2 pixels a repeat ($HELD_MOVED pixels)"
    else
        fail "Left held down moves the window on, 2 pixels a repeat" "it went $HELD_MOVED pixels"
    fi
    read -r x0 y0 < <(window_position)

    shots=$(q .state.shots_fired)
    xdotool mousemove --window "$WIN" 300 10 mousedown 1
    follows_pointer() { xdotool mousemove_relative 3 2; ! window_at "$x0" "$y0"; }
    moved=0
    wait_for 20 follows_pointer && moved=1
    xdotool mousemove_relative 20 10 mouseup 1
    check "a press in the title strip drags the window" test $moved = 1
    # A key behind the release, as above.
    read -r x1 y1 < <(window_position)
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
