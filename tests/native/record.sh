# Recordings: a real game played with real input and recorded, fed to the
# simulator, which must end in the game's own state and scene; the same
# recording shifted by one tick, which must not; the recording played back
# in the window; files that are no recording. Sourced by run.sh.

# play_recorded_game: START, 22 shots (every fourth at a rodent that stands
# up, the others into the sky, a move before each), CANCEL.
play_recorded_game() {
    start_game && fire_shots 22 4 || return 1
    click_element cancel_button
    wait_for 20 stage_is 0 && wait_for 20 no_ambient
}

echo "== recordings"
REC=$WORK/game.sim
if launch recorded "$WORK/game" -- --record "$REC" && play_recorded_game; then
    LIVE=$DUMP
    check "the game recorded its header, START, the seed, ticks, moves, clicks and CANCEL" sh -c "
        head -n 1 '$REC' | grep -q '^# plinkfield ' &&
        grep -qx start '$REC' && grep -qx cancel '$REC' && grep -q '^seed [0-9]*$' '$REC' &&
        grep -q '^tick [0-9]*$' '$REC' && grep -q '^move ' '$REC' && [ \$(grep -c '^click ' '$REC') -ge 22 ]"
    note "the game: $(q '"\(.state.shots_fired) shots, \(.state.hits) hits, \(.state.misses) misses"')"
    check "the game hit something and missed something" holds '.state.hits >= 1 and .state.misses >= 1'
    dump_of "$LIVE" >"$WORK/live.json"
    sim_of "$REC" >"$WORK/sim.json"
    check "the simulator replays the recording to the game's very state and scene" cmp -s "$WORK/live.json" "$WORK/sim.json"
    # A test of the test: one tick more, just after the first rodent's seed.
    sed '0,/^seed /{/^seed /a tick 1
}' "$REC" >"$WORK/shifted.sim"
    sim_of "$WORK/shifted.sim" >"$WORK/shifted.json"
    check "the same recording shifted by one tick ends elsewhere" sh -c "! cmp -s '$WORK/live.json' '$WORK/shifted.json'"
    # A move just before the close: the dump of the ended game holds it, as
    # the recording does.
    # shellcheck disable=SC2046
    xdotool mousemove --window "$WIN" 400 300 mousemove --window "$WIN" $(element_middle close_button) click 1
    wait_for 20 gone "$GAME_PID"
    check "the closed game's recording ends with its close" sh -c "tail -n 1 '$REC' | grep -qx close"
    sed '$d' "$REC" >"$WORK/closed.sim"
    dump_of "$DUMP" >"$WORK/live.json"
    sim_of "$WORK/closed.sim" >"$WORK/sim.json"
    check "the last dump holds the move made just before the close, as the recording does" sh -c \
        "tail -n 1 '$WORK/closed.sim' | grep -q '^move ' && cmp -s '$WORK/live.json' '$WORK/sim.json'"

    # The recording played back: the window ends on the game's state and
    # stays open on it, taking no input, until Esc.
    if launch replayed "$WORK/game" -- --replay "$REC"; then
        replayed_to_the_end() { [ "$(dump_of "$DUMP")" = "$(cat "$WORK/live.json")" ]; }
        # A shot into the sky while the replay plays: not a shot of its game.
        wait_for 20 stage_is 1 && click_at 850 200
        check "--replay plays the recorded game to its end in the window" wait_for 120 replayed_to_the_end
        # M mutes, in a replay too: once it has, the click and the key before
        # it have been handled.
        read -r x0 y0 < <(window_position)
        click_element start_button
        key Left m
        wait_for 20 holds .native.muted
        check "a replay takes no input: no shot, no START, no move" sh -c \
            "[ \"\$(jq -c '.state, .scene' '$DUMP')\" = \"\$(cat '$WORK/live.json')\" ] && [ '$(window_position)' = '$x0 $y0' ]"
        key Escape
        check "Esc ends the replay, and its Ambient with it" wait_for 20 ended_with_ambient
    fi
else
    fail "a recorded game: START, 22 shots, CANCEL" "see $ART/recorded.log"
fi

# Files that are no recording: refused with their first bad line, before
# any window.
printf 'start\ntick 4\nclick 61\n' >"$WORK/cut.sim"
refused_line() {
    local out
    out=$("$WORK/game/plinkfield" --replay "$1" 2>&1 >/dev/null)
    [ $? = 1 ] && case "$out" in "plinkfield: $1: $2"*) ;; *) false ;; esac
}
check "a recording cut short is refused, naming its line" refused_line "$WORK/cut.sim" "line 3: 'click' takes 2 arguments"
check "a picture is no recording: refused at its first line" refused_line "$RES/game/100.bmp" "line 1: "
