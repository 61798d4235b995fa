# A gamepad, in a run of its own: a pad that SDL makes inside the game
# (PLINKFIELD_TEST_PAD, see game/shell/sdl/sdl_dump.cpp) plugged in, used
# and pulled out during a game, as the game sees a real one; pad_aim.py
# steers its stick. The session is recorded, and the simulator must replay
# the recording to the game's own state. Sourced by run.sh.

# pad LINE...: lines to the test pad's pipe.
pad() {
    local line
    for line in "$@"; do echo "$line" >&7; done
}
# aim X Y TOLERANCE [pad_aim.py's options]: the stick steers the
# cross-hair there.
aim() {
    local x=$1 y=$2 tolerance=$3
    shift 3
    python3 "$HERE/pad_aim.py" "$DUMP" "$PAD_PIPE" "$x" "$y" "$tolerance" 20 "$@"
}
middle_of() { q '.scene[] | select(.name == "'"$1"'") | "\(.x + (.w / 2 | floor)) \(.y + (.h / 2 | floor))"'; }
pads_are() { [ "$(q .native.pad.pads)" = "$1" ]; }
pressed_is() { [ "$(q .native.pressed)" = "$1" ]; }
# The cross-hair's point, and the game's cursor, as "X Y".
pad_point() { q '.native.pad | "\(.x) \(.y)"'; }
game_cursor() { q '.state | "\(.cursor_x) \(.cursor_y)"'; }
# What a pad pulled out must leave as it was: the game, its score and
# shots, its cursor and its cartridges.
game_as_it_stands() {
    q '[.state.stage, .state.score, .state.hits, .state.misses, .state.shots_fired, .state.cursor_x,
        .state.cursor_y, ([.scene[] | select(.name | startswith("cartridge[")) | select(.visible)] | length)]
       | map(tostring) | join(" ")'
}
# Whether the X server shows the mouse pointer where it is, over the game.
pointer_shown() { python3 "$HERE/cursor_shown.py"; }
pointer_hidden() {
    python3 "$HERE/cursor_shown.py"
    [ $? = 1 ]
}
# The cross-hair drawn at point X Y: its lines meet there in black.
crosshair_drawn_at() {
    shot pad-crosshair
    [ "$(convert "$ART/pad-crosshair.png" -format "%[pixel:p{$1,$2}]" info:)" = "srgb(0,0,0)" ]
}

# burrow_of N: the burrow the N-th rodent since the game began comes out
# of. The rodents' burrows follow from the seed the game read at its first
# rodent, which the recording holds; the simulator, given that seed, says.
burrow_of() {
    local seed i
    seed=$(sed -n 's/^seed //p' "$WORK/pad.sim" | head -n 1)
    [ -n "$seed" ] || return 1
    {
        printf 'seed %s\nstart\n' "$seed"
        for ((i = 0; i <= $1; i++)); do printf 'tick 48\nstate\n'; done
    } | "$SIM" | jq -r "select(.state.spawn_count == $1) | .state.active_hole" | head -n 1
}
recording_has_seed() { grep -q '^seed ' "$WORK/pad.sim"; }

# hit_a_rodent: parks the cross-hair with the stick on the burrow the next
# rodent comes out of, and fires the south button as soon as it is up; a
# rodent that came and went before then is let be, and the next one tried.
# Sets PAD_HIT to the try that hit.
hit_a_rodent() {
    local attempt next hole tolerance shots
    PAD_HIT=""
    wait_for 20 recording_has_seed || return 1
    for attempt in 1 2 3; do
        next=$(( $(q .state.spawn_count) + 1 ))
        hole=$(burrow_of "$next")
        [ -n "$hole" ] || return 1
        # A few pixels inside the rodent's rectangle on every side.
        tolerance=$(q '.scene[] | select(.name == "raised['"$hole"']") | ([.w, .h] | min) / 2 - 3 | floor')
        shots=$(q .state.shots_fired)
        # shellcheck disable=SC2046
        if aim $(middle_of "raised[$hole]") "$tolerance" --fire "$hole" "$next"; then
            wait_for 20 shots_are $((shots + 1)) || return 1
            [ "$(q .state.hits)" -ge 1 ] && { PAD_HIT=$attempt; return 0; }
        fi
    done
    return 1
}

echo "== a gamepad"
PAD_PIPE=$WORK/pad.pipe
rm -f "$PAD_PIPE" "$WORK/pad.sim"
mkfifo "$PAD_PIPE"
# Read and write: opening never waits for the game's end of the pipe.
exec 7<>"$PAD_PIPE"
if launch pad "$WORK/game" PLINKFIELD_TEST_PAD="$PAD_PIPE" -- --record "$WORK/pad.sim"; then
    check "with no pad the game-controller subsystem is open, after the first frame, and nothing aims" \
        holds '.native.pad.open_ms >= 0 and .native.pad.pads == 0 and (.native.pad.aiming | not)'
    # The mouse pointer rests on the field from here on, untouched.
    xdotool mousemove --window "$WIN" 100 650
    check_until "the mouse pointer is shown over the field" 20 pointer_shown

    pad attach
    check_until "a pad plugged in is seen" 20 pads_are 1
    pad "button start down" "button start up"
    if wait_for 20 stage_is 1 && wait_for 20 ambient_started; then
        pass "Start on the pad starts the game and its Ambient"
    else
        fail "Start on the pad starts the game and its Ambient" "stage $(q .state.stage)"
    fi

    # The stick, a little to the right: the cross-hair follows it, drawn
    # by the game, and the game's cursor with it, as after a mouse move.
    read -r x0 y0 < <(pad_point)
    pad "axis leftx 16000"
    moved_right() { holds ".native.pad.aiming and .native.pad.x >= $x0 + 40"; }
    check_until "the stick moves the cross-hair, which the game then draws" 20 moved_right
    pad "axis leftx 0"
    still() { holds '.native.pad.moving | not'; }
    wait_for 20 still
    check_until "the mouse pointer hides while the pad aims" 20 pointer_hidden
    expect "the stick moved it right only" "$y0" "$(q .native.pad.y)"
    expect "the game's cursor is where the cross-hair is" "$(pad_point)" "$(game_cursor)"

    # The d-pad: four pixels a press, each way.
    dpad_steps() {
        local x y way dx dy
        for way in down:0:4 right:4:0 up:0:-4 left:-4:0; do
            IFS=: read -r way dx dy <<<"$way"
            read -r x y < <(pad_point)
            pad "button dp$way down" "button dp$way up"
            wait_for 20 holds '.native.pad.moving | not' || { echo "$way: still moving"; return; }
            expect_point() { [ "$(pad_point)" = "$((x + dx)) $((y + dy))" ]; }
            wait_for 20 expect_point || echo "$way: from $x $y to $(pad_point)"
        done
    }
    expect "a d-pad press moves the cross-hair four pixels its way" "" "$(dpad_steps)"

    if hit_a_rodent; then
        [ "$PAD_HIT" = 1 ] || note "hit on try $PAD_HIT"
        score=$(q .state.score)
        check "the stick to a raised rodent and the south button: a hit, 25 to 200 points" \
            test "$score" -ge 25 -a "$score" -le 200
    else
        fail "the stick to a raised rodent and the south button: a hit, 25 to 200 points" \
            "no hit in 3 tries ($(q .state.shots_fired) shots)"
    fi

    # The south button on CANCEL holds it down; pulled out, the pad runs
    # nothing and changes nothing.
    # shellcheck disable=SC2046
    aim $(middle_of cancel_button) 10
    pad "button a down"
    check_until "the south button on CANCEL holds it down" 20 pressed_is 800
    before=$(game_as_it_stands)
    ticks=$(q .native.ticks)
    pad detach
    check_until "a pad pulled out is seen" 20 pads_are 0
    expect "pulling it out while it held CANCEL down changes nothing" "$before" "$(game_as_it_stands)"
    check "and lets CANCEL go, and gives the mouse the pointer back" \
        holds '.native.pressed == 0 and (.native.pad.aiming | not)'
    check_until "the mouse pointer shows again" 20 pointer_shown
    check_until "the game plays on" 20 ticks_beyond $((ticks + 5))

    # Plugged in again: it plays on where it left off.
    pad attach
    wait_for 20 pads_are 1
    # shellcheck disable=SC2046
    aim $(middle_of cancel_button) 10
    pad "button a down"
    wait_for 20 pressed_is 800
    pad "button a up"
    check_until "plugged in again, the south button released over CANCEL cancels" 20 stage_is 0

    pad "button start down" "button start up"
    wait_for 20 stage_is 1
    pad "button back down" "button back up"
    check_until "Back cancels" 20 stage_is 0
    pad "button start down" "button start up"
    wait_for 20 stage_is 1
    pad "button b down" "button b up"
    check_until "the east button cancels" 20 stage_is 0

    # The mouse takes the pointer back, and the cross-hair goes. (In the
    # empty sky, where nothing else is black.)
    aim 850 200 2
    read -r px py < <(pad_point)
    check_until "the cross-hair is drawn in the sky" 20 crosshair_drawn_at "$px" "$py"
    xdotool mousemove --window "$WIN" 300 300
    check_until "the mouse moving takes the pointer back from the pad" 20 holds '.native.pad.aiming | not'
    check_until "and the mouse pointer shows again" 20 pointer_shown
    crosshair_gone() { ! crosshair_drawn_at "$px" "$py"; }
    check_until "and the game no longer draws the pad's cross-hair" 20 crosshair_gone

    # The recording, read while no game runs, is the game's own state.
    same_game() { [ "$(sim_of "$WORK/pad.sim")" = "$(dump_of "$DUMP")" ]; }
    check_until "the simulator replays the pad's recording to the game's own state and scene" 20 same_game
    check "the recording holds the pad's presses as the clicks and commands they are" \
        sh -c "grep -q '^click ' '$WORK/pad.sim' && grep -q '^start$' '$WORK/pad.sim' && grep -q '^cancel$' '$WORK/pad.sim'"
    cp "$WORK/pad.sim" "$ART/pad.sim"

    key alt+F4
    check_until "the game ends with its pad attached" 20 ended_with_ambient
fi
exec 7>&-
