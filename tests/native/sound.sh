# The sound: a new cue cuts off the one playing, a game without a sound
# device, and a game whose Ambient is missing or cannot run. Sourced by
# run.sh.

# The game's mix, as SDL's disk audio driver writes it: 22050 frames a
# second of two 16-bit channels, written as it is played.
MIX=$WORK/mix.raw
MIX_FRAME_BYTES=4
MIX_SECOND_BYTES=$((22050 * MIX_FRAME_BYTES))
mix_size() { stat -c %s "$MIX" 2>/dev/null || echo 0; }
mix_beyond() { [ "$(mix_size)" -ge "$1" ]; }
# The cues a miss plays, all 16-bit at 22050 Hz: the shot, and the two
# taunts of some misses.
MISS_CUES=("$RES/game/7900.wav" "$RES/game/8200.wav" "$RES/game/7700.wav")

peeking() { holds '[.scene[] | select((.name | startswith("peek[")) and .visible)] | length > 0'; }

# Two misses, the second while the first one's cue plays, right after a
# rodent's pop-up cue (so that no other cue comes between them): the
# second's cue must cut the first's off. The second click waits until the
# first shot's cue is in the mix: the shot handled, then two more of the
# mixer's buffers (1024 frames each) written. CUT says what the mix showed;
# a mix that cannot tell (the first cue had ended, or another came between)
# is tried again, three times at most.
two_misses_cut() {
    local try shots from mixed played status
    for try in 1 2 3; do
        wait_for 30 peeking || { CUT="no rodent came up"; return 1; }
        shots=$(q .state.shots_fired)
        from=$(( $(mix_size) / MIX_FRAME_BYTES ))
        click_at 850 200
        wait_for 20 shots_are $((shots + 1)) || { CUT="the click fired no shot"; return 1; }
        mixed=$(( $(mix_size) + 2 * 1024 * MIX_FRAME_BYTES ))
        wait_for 20 mix_beyond "$mixed" || { CUT="the disk audio driver wrote nothing more"; return 1; }
        click_at 850 200
        wait_for 20 shots_are $((shots + 2)) || { CUT="the second click fired no shot"; return 1; }
        # Both cues are in the mix once a second more has been played.
        played=$(( $(mix_size) + MIX_SECOND_BYTES ))
        wait_for 20 mix_beyond "$played" || { CUT="the disk audio driver wrote nothing more"; return 1; }
        CUT=$(python3 "$HERE/cue_cut.py" "$MIX" "$from" "${MISS_CUES[@]}")
        status=$?
        [ "$status" = 2 ] || return "$status"
        note "the mix cannot tell: $CUT; again"
        wait_for 30 eval '! peeking'
    done
    return 1
}

echo "== the cues"
rm -f "$MIX"
if launch mixer "$WORK/mixer" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$MIX" && start_game; then
    if holds '.native.audio' && two_misses_cut; then
        pass "a new cue cuts off the one playing ($CUT)"
    else
        fail "a new cue cuts off the one playing" "${CUT:-no sound device: see $ART/mixer.log}"
        cp "$MIX" "$ART/mixer.raw" 2>/dev/null
    fi
    click_element close_button
    wait_for 20 ended_with_ambient
else
    fail "a new cue cuts off the one playing" "the game did not start (see $ART/mixer.log)"
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
