# A game in the first run: START and its Ambient, the timer, a miss, the
# mouse buttons that are no shot, a hit. Sourced by run.sh.

# The right and the middle mouse button, clicked in the sky and on CANCEL
# during a game: no shot, no cartridge, no command. Prints what went wrong.
other_buttons_in_game() {
    local b shots misses cartridges
    shots=$(q .state.shots_fired)
    misses=$(q .state.misses)
    cartridges=$(cartridges_left)
    for b in 3 2; do
        xdotool mousemove --window "$WIN" 850 200 click $b
        click_other_on_cancel $b
        settle || { echo "no answer to the arrow keys"; return; }
        [ "$(q .state.shots_fired) $(q .state.misses) $(cartridges_left)" = "$shots $misses $cartridges" ] ||
            echo "button $b: shots $(q .state.shots_fired), misses $(q .state.misses), cartridges $(cartridges_left)"
        [ "$(q .state.stage)" = 1 ] || echo "button $b: stage $(q .state.stage) after a click on CANCEL"
    done
}
click_other_on_cancel() {
    local at
    at=$(q '.scene[] | select(.name == "cancel_button") | "\(.x + (.w / 2 | floor)) \(.y + (.h / 2 | floor))"')
    # shellcheck disable=SC2086
    xdotool mousemove --window "$WIN" $at click "$1"
}

if [ -n "$MAIN" ]; then
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
        check "a miss takes the first cartridge, the others stay" test "$(cartridges_left)" = 24
        park_pointer
        shot miss
        slots_after_miss() { region_matches miss 869 713 14 54 100 && region_matches miss 885 713 14 54 850; }
        check "the first cartridge's slot shows the scene, the second a cartridge" slots_after_miss
    else
        fail "a miss counts a miss and says so" "no shot was fired"
    fi
    expect "the right and the middle button fire no shot, take no cartridge and press no CANCEL" "" \
        "$(other_buttons_in_game)"

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
fi
