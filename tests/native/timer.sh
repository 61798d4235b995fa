# The game timer (game/shell/sdl/sdl_timer.cpp), watched through the dump's
# ticks and the wall-clock time of the latest (tick_ns): a second game in
# one process ticks again at 100 ms from its START, and after a stall the
# game catches up a bounded number of the missed ticks at once, then keeps
# its beat from the moment it woke. Sourced by run.sh.

# The most missed ticks the timer runs at once after a stall, as the edge's
# schedule says.
CATCH_UP_TICKS=$(sed -n 's/.*MAX_CATCH_UP_TICKS = \([0-9]*\);.*/\1/p' "$HERE/../../game/edge/tick_schedule.h")
TICK_NS=100000000
# The stall: long enough to miss many more ticks than that.
STALL_SECONDS=3

ticks_and_time() { q '"\(.native.ticks) \(.native.tick_ns)"'; }

# stop_between_ticks: SIGSTOP the game just after it wrote a tick to its
# dump, so that no tick has run unwritten; sets TICKS0 and TICK0_NS. Tick
# k + 1 is due 100 ms after tick k was due: a stop within 50 ms of the
# tick's time came before it (a stop that came later is undone, and tried
# again on a later tick).
stop_between_ticks() {
    local try ticks now
    for try in 1 2 3 4 5 6 7 8 9 10; do
        ticks=$(q .native.ticks)
        WAIT_POLL=0.01 wait_for 5 ticks_beyond $((ticks + 1)) || return 1
        kill -STOP "$GAME_PID"
        now=$(date +%s%N)
        wait_for 5 eval '[ "$(process_state "$GAME_PID")" = T ]' || { kill -CONT "$GAME_PID"; return 1; }
        read -r TICKS0 TICK0_NS < <(ticks_and_time)
        [ $((now - TICK0_NS)) -lt $((TICK_NS / 2)) ] && return 0
        kill -CONT "$GAME_PID"
    done
    return 1
}

# stall_catch_up: sets CAUGHT_UP, the ticks the game ran at once on waking,
# out of the many it missed while stopped for STALL_SECONDS, and MISSED,
# those it owed then: the whole steps from the stopped tick's due time to
# the wake at RESUMED. The dump gives when each tick ran, which on a busy
# machine is after it was due; the ticks after the wake keep the schedule's
# phase, so the least late of them tells the stopped tick's due time better
# (by at most one step, so that no fault of the count can move it further).
# CAUGHT_UP is the ticks run since the stop less those the schedule has run
# since waking, the whole steps from RESUMED to the latest tick; of three
# readings the largest, the one least delayed by a busy machine.
stall_catch_up() {
    local resumed n t i best="" due0
    stop_between_ticks || { CAUGHT_UP="the game could not be stopped between two ticks"; return; }
    sleep "$STALL_SECONDS"  # the stall itself
    resumed=$(date +%s%N)
    kill -CONT "$GAME_PID"
    due0=$TICK0_NS
    MISSED=$(( (resumed - due0) / TICK_NS ))
    [ "$MISSED" -gt "$CATCH_UP_TICKS" ] && MISSED=$CATCH_UP_TICKS
    for i in 3 6 9; do
        wait_for 20 ticks_beyond $((TICKS0 + MISSED + i)) || break
        read -r n t < <(ticks_and_time)
        [ $((t - (n - TICKS0) * TICK_NS)) -lt "$due0" ] && due0=$((t - (n - TICKS0) * TICK_NS))
        n=$((n - TICKS0 - (t - resumed) / TICK_NS))
        [ -z "$best" ] || [ "$n" -gt "$best" ] && best=$n
    done
    [ "$due0" -lt $((TICK0_NS - TICK_NS)) ] && due0=$((TICK0_NS - TICK_NS))
    MISSED=$(( (resumed - due0) / TICK_NS ))
    [ "$MISSED" -gt "$CATCH_UP_TICKS" ] && MISSED=$CATCH_UP_TICKS
    CAUGHT_UP=${best:-"no tick after the stall"}
}

# restart_beat: START again after CANCEL, clicked at STARTED; once ten
# ticks have run, prints "TICKS STEPS": the ticks of the new game and the
# whole 100 ms steps from the click to its latest tick. The click reaches
# the game a moment after STARTED (on a busy machine a few tenths of a
# second), so TICKS may fall short of STEPS by up to RESTART_SLACK, but
# never exceed it. A timer that kept the first game's count would start
# the second that many ticks late; one that kept its schedule would run
# a burst of missed ticks at once.
RESTART_SLACK=5
restart_beat() {
    local before started n t at
    before=$(q .native.ticks)
    at=$(q '.scene[] | select(.name == "start_button") | "\(.x + (.w / 2 | floor)) \(.y + (.h / 2 | floor))"')
    started=$(date +%s%N)
    # shellcheck disable=SC2086
    xdotool mousemove --window "$WIN" $at click 1
    wait_for 20 ticks_beyond $((before + 10)) || { echo "no ten ticks after START"; return; }
    read -r n t < <(ticks_and_time)
    echo "$((n - before)) $(((t - started) / TICK_NS))"
}

echo "== the timer"
if launch timer "$WORK/game" && start_game; then
    # A first game of some length: a timer that kept its count across
    # games would be that far behind in the second.
    wait_for 20 ticks_beyond 30
    click_element cancel_button
    wait_for 20 stage_is 0
    beat=$(restart_beat)
    read -r ticks steps <<<"$beat"
    case "$beat" in
        *[!0-9\ ]*) fail "START, CANCEL, START: the second game ticks every 100 ms from its START" "$beat" ;;
        *) if [ "$ticks" -le "$steps" ] && [ "$ticks" -ge $((steps - RESTART_SLACK)) ]; then
               pass "START, CANCEL, START: the second game ticks every 100 ms from its START ($ticks ticks in $steps steps)"
           else
               fail "START, CANCEL, START: the second game ticks every 100 ms from its START" \
                   "$ticks ticks in $steps steps of 100 ms"
           fi ;;
    esac

    stall_catch_up
    # The tick due just after the wake may fall either side of it, and the
    # stopped tick's due time is known to the least lateness of a tick.
    caught_up_all() { [ "$CAUGHT_UP" -ge "$MISSED" ] 2>/dev/null && [ "$CAUGHT_UP" -le $((MISSED + 2)) ]; }
    check "stopped for $STALL_SECONDS s, the game runs the ticks it missed at once ($MISSED to two more: $CAUGHT_UP), then keeps its beat" \
        caught_up_all
    click_element close_button
    wait_for 20 ended_with_ambient
else
    fail "the timer: a game starts" "see $ART/timer.log"
fi
