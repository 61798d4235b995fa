# Ambient and the sound: Ambient on its own, a game without it, and every
# Ambient closed by one CANCEL. Sourced by run.sh.

# ------------------------------------------------------------------ sound

# audio_sink null|FILE: where the programs started from now on play. No
# sound card is needed: ALSA's null device gives winmm one silent output,
# and its file plugin writes what is played to FILE. Wine hands ALSA the
# WAVE's own format, and every PlaySound opens the device anew, so FILE
# holds the samples of the last sound played, byte for byte.
audio_sink() {
    local conf="$WORK/asound-$(basename "$1").conf"
    if [ "$1" = null ]; then
        echo 'pcm.!default { type null }' >"$conf"
    else
        printf 'pcm.!default { type file slave.pcm "silent" file "%s" format "raw" }\npcm.silent { type null }\n' \
            "$1" >"$conf"
    fi
    export ALSA_CONFIG_PATH="$conf"
}

# wave_samples FILE.wav: "OFFSET SIZE" of the samples in a RIFF WAVE file.
wave_samples() {
    local at=$(grep -obUa -F data "$1" | head -n 1 | cut -d: -f1)
    echo "$((at + 8)) $(od -An -tu4 -j $((at + 4)) -N 4 "$1" | tr -d ' ')"
}

# sink_holds SINK FILE.wav [COPIES]: the sink begins with COPIES (1) copies
# of the WAVE's samples back to back; silence a busy machine makes Wine play
# in the middle of a sound is skipped (sink_holds.py).
sink_holds() { "$HERE/sink_holds.py" "$1" "$2" "${3:-1}"; }

sink_size() { stat -c %s "$1" 2>/dev/null || echo 0; }

# Ambient started on its own, as the shell starts it for the game.
run_ambient() {
    echo "== Ambient on its own"
    local sink="$WORK/ambient.raw" wave="$RES/ambient/300.wav" at size
    read -r at size < <(wave_samples "$wave")
    audio_sink "$sink"
    (cd "$WORK/game/Audio_Bkgrnd" && exec wine "$WORK/game/Audio_Bkgrnd/Ambient.exe") >>"$ART/ambient.log" 2>&1 &
    audio_sink null
    if wait_for 20 ambient_running; then pass "Ambient.exe starts"; else fail "Ambient.exe starts"; return; fi
    wait_for 20 ambient_window_made
    expect "it owns one window titled Ambient and never shows it" "1 0" "$(probe count Ambient)"
    if wait_for 30 sink_holds "$sink" "$wave" 2; then
        pass "it plays WAVE 300 over and over, without a gap"
    else
        fail "it plays WAVE 300 over and over, without a gap" "$(sink_size "$sink") bytes played, WAVE 300 has $size"
    fi
    probe close Ambient
    check_until "WM_SYSCOMMAND SC_CLOSE to the window titled Ambient ends it" 20 ambient_ended
    # With the process gone nothing can write to the sink: half a second
    # of looking would show a player left elsewhere.
    local played=$(sink_size "$sink")
    sleep 0.5
    expect "its sound ends with it" "$played" "$(sink_size "$sink")"
}

# A game folder without Audio_Bkgrnd/Ambient.exe.
run_missing() {
    echo "== Ambient missing"
    local sink="$WORK/lonely.raw"
    audio_sink "$sink"
    launch_game "$WORK/lonely" || { fail "the game starts without Ambient beside it" "no window"; return; }
    audio_sink null
    echo "$STARTUP_MS" >>"$ART/startup-ms.txt"
    look
    expect "the game runs as one process" "1" "$(processes_of Plinkfield.exe)"
    click_button "$ID_START"
    local bx by text
    if read -r _ bx by text < <(probe box "Plinkfield - Error" 30000); then
        expect "START shows the box 'Bkgnd Ambient failed.'" "Bkgnd Ambient failed." "$text"
        check_until "START played snd_start, WAVE 7750 of the game's resources" 20 sink_holds "$sink" "$RES/game/7750.wav"
        look
        expect "while the box is up START has not finished: no cartridges, no rodent" "0 0" \
            "$(cartridges_shown) $(for id in $PEEKING_IDS; do field $id 7; done | grep -c 1)"
        xdotool mousemove "$bx" "$by" click 1
    else
        fail "START shows the box 'Bkgnd Ambient failed.'" "no box titled 'Plinkfield - Error'"
    fi
    expect_until "after the box, the game runs: 25 cartridges" "25" 20 seen cartridges_shown
    if probe wait-show 60000 "${!RODENT_POINTS[@]}" >/dev/null; then
        pass "after the box, the game runs: rodents come up"
    else
        fail "after the box, the game runs: rodents come up"
    fi
    # Right after a rodent's pop-up cue, a miss: its gunshot cuts the pop-up
    # off and plays to its end long before the next rodent comes up.
    look
    probe wait-show 60000 $PEEKING_IDS >/dev/null
    click_at 600 740
    check_until "a miss plays snd_shot, WAVE 7900, to its end" 20 sink_holds "$sink" "$RES/game/7900.wav"
    look
    click_button "$ID_CLOSE"
    check_until "the close button ends the game" 20 game_ended
}

# Ambients left over from earlier (two started by hand) and a window of
# another program titled "aMBIENT": one CANCEL closes every window titled
# Ambient, not only the first one found, and matches the title as the
# system's own lookup by title does, without regard to case.
run_every_ambient() {
    echo "== every Ambient closed"
    local i host
    for i in 1 2; do
        (cd "$WORK/game/Audio_Bkgrnd" && exec wine "$WORK/game/Audio_Bkgrnd/Ambient.exe") >>"$ART/ambient.log" 2>&1 &
    done
    : >"$WORK/host"
    probe host aMBIENT 120000 >"$WORK/host" &
    host=$!
    two_windows() { [ "$(probe count Ambient | cut -d' ' -f1)" = 2 ]; }
    three_windows() { [ "$(probe count Ambient | cut -d' ' -f1)" = 3 ]; }
    check_until "two Ambients run before the game" 30 two_windows
    wait_for 30 grep -q '^ready' "$WORK/host"
    launch_game "$WORK/game" || { fail "the game starts beside them" "no window"; kill "$host"; return; }
    echo "$STARTUP_MS" >>"$ART/startup-ms.txt"
    look
    click_button "$ID_START"
    check_until "START adds a third" 30 three_windows
    click_button "$ID_CANCEL"
    if wait_for 20 ambient_ended; then
        pass "CANCEL ends all three Ambient processes"
    else
        fail "CANCEL ends all three Ambient processes" "$(processes_of Ambient.exe) still running"
    fi
    if wait_for 20 eval '! kill -0 '"$host"' 2>/dev/null' && wait "$host"; then
        pass "CANCEL closes a window titled aMBIENT too"
    else
        fail "CANCEL closes a window titled aMBIENT too"
        kill "$host" 2>/dev/null
    fi
    look
    click_button "$ID_CLOSE"
    check_until "the close button ends the game" 20 game_ended
}
