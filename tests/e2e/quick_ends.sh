# Ends that come at once after START: CANCEL, the close button, Alt+F4,
# Close from the system menu and GAME OVER, each before the new Ambient has
# settled. Sourced by run.sh.

# ambient_left: waits for the Ambients to end; LEFT counts the quick ends
# that left one running, and each one left is closed by hand, so that it
# cannot hide the next.
ambient_left() {
    wait_for 20 ambient_ended && return 0
    LEFT=$((LEFT + 1))
    probe close Ambient >/dev/null
    wait_for 20 ambient_ended
}

# START and, at once, CANCEL, before the new Ambient has made its window:
# the CANCEL still ends it.
run_quick_cancel() {
    echo "== CANCEL at once after START"
    launch_game "$WORK/game" || { fail "the game starts" "no window"; return; }
    echo "$STARTUP_MS" >>"$ART/startup-ms.txt"
    look
    local i start cancel ok=0 seen missed=""
    start=$(button_middle "$ID_START")
    cancel=$(button_middle "$ID_CANCEL")
    LEFT=0
    for i in $(seq 20); do
        button_gap
        xdotool mousemove $start click 1 mousemove $cancel click 1
        # Both handled once the keys after them have moved the window.
        settle || { fail "the game answers the arrow keys after START and CANCEL ($i of 20)"; break; }
        look
        seen="$(banner "$ID_CANCELED") $(cartridges_shown)"
        if [ "$seen" = "1 GAME CANCELED 25" ]; then ok=$((ok + 1)); else missed="$missed; $i: '$seen'"; fi
        ambient_left
    done
    expect "START then at once CANCEL, 20 times: each game started and canceled${missed:+ (not$missed)}" "20" "$ok"
    expect "START then at once CANCEL, 20 times: no Ambient left running" "0" "$LEFT"
    click_button "$ID_CLOSE"
    check_until "the close button ends the game" 20 game_ended
}

# START and, at once, the close button: the game goes, and Ambient with it.
run_quick_close() {
    echo "== the close button at once after START"
    local i start close ended=0
    LEFT=0
    for i in $(seq 20); do
        launch_game "$WORK/game" || { fail "the game starts ($i of 20)" "no window"; return; }
        echo "$STARTUP_MS" >>"$ART/startup-ms.txt"
        look
        start=$(button_middle "$ID_START")
        close=$(button_middle "$ID_CLOSE")
        xdotool mousemove $start click 1 mousemove $close click 1
        wait_for 20 game_ended && ended=$((ended + 1))
        ambient_left
    done
    expect "START then at once the close button, 20 times: the game ends" "20" "$ended"
    expect "START then at once the close button, 20 times: no Ambient left running" "0" "$LEFT"
}

# The other ends of a game, each at once after START: Alt+F4, Close from
# the system menu (WM_SYSCOMMAND SC_CLOSE, as the probe sends it), and
# GAME OVER after 25 quick misses.
run_quick_other() {
    echo "== the other ends at once after START"
    local i start ended=0 closed=0 over=0
    LEFT=0
    for i in 1 2 3; do
        launch_game "$WORK/game" || { fail "the game starts" "no window"; return; }
        look
        start=$(button_middle "$ID_START")
        xdotool mousemove $start click 1 key alt+F4
        wait_for 20 game_ended && ended=$((ended + 1))
        ambient_left
    done
    expect "START then at once Alt+F4, 3 times: the game ends" "3" "$ended"
    for i in 1 2 3; do
        launch_game "$WORK/game" || { fail "the game starts" "no window"; return; }
        look
        start=$(button_middle "$ID_START")
        xdotool mousemove $start click 1
        probe close Plinkfield
        wait_for 20 game_ended && closed=$((closed + 1))
        ambient_left
    done
    expect "START then at once Close from the system menu, 3 times: the game ends" "3" "$closed"
    launch_game "$WORK/game" || { fail "the game starts" "no window"; return; }
    look
    start=$(button_middle "$ID_START")
    for i in 1 2 3; do
        button_gap
        xdotool mousemove $start click 1 mousemove $((WX + 600)) $((WY + 740)) click --repeat 25 --delay 10 1
        settle || { fail "the game answers the arrow keys after START and 25 misses"; break; }
        look
        [ "$(banner "$ID_GAME_OVER") $(text_of "$ID_MISSES")" = "1 GAME OVER 0025" ] && over=$((over + 1))
        ambient_left
    done
    expect "START then at once 25 misses, 3 times: GAME OVER" "3" "$over"
    expect "Alt+F4, Close and GAME OVER at once after START: no Ambient left running" "0" "$LEFT"
    click_button "$ID_CLOSE"
    check_until "the close button ends the game" 20 game_ended
}
