# The table of best games: two real games kept with their recordings, BEST
# and NEW BEST on the screen, --scores listing them, the simulator fed the
# best game's recording ending in its very state and scene, --replay best:1
# playing it; a damaged table keeping its good lines and its bad ones; two
# games closed at once keeping both; a read-only data folder, one warning
# and the game plays on. Each part has a data folder of its own. Sourced by
# run.sh.

# best_json DUMP-FIELD: the table's part of the dump.
best_is() { holds ".native.best.$1"; }
games_handled() { best_is "games == $1"; }
# The table's entries, one line each, best first.
table_lines() { grep '^1 ' "$1/plinkfield/scores.txt" 2>/dev/null; }
# cut_region SHOT X Y W H OUT: a rectangle of a screenshot.
cut_region() { convert "$ART/$1.png" -crop "${4}x${5}+${2}+${3}" +repage "$6"; }

# shoot_sky N: N shots into the sky, each seen by the game.
shoot_sky() {
    local i shots
    for i in $(seq 1 "$1"); do
        shots=$(q .state.shots_fired)
        click_at $((300 + 20 * (shots % 30))) 150
        wait_for 20 shots_are $((shots + 1)) || return 1
    done
}

# play_to_game_over: START, 25 shots (three at most at rodents that stand
# up, too few to pass the level), GAME OVER.
play_to_game_over() { start_game && fire_shots 25 9 && wait_for 20 stage_is 0; }

echo "== the best games"
DATA=$WORK/best-data
if launch best "$WORK/game" XDG_DATA_HOME="$DATA"; then
    check_until "with no table yet BEST reads 000000" 20 best_is 'read and .native.best.text == "000000"'
    # The first game: two shots into the sky, CANCEL.
    start_game && shoot_sky 2 && click_element cancel_button && wait_for 20 stage_is 0
    check_until "a cancelled game of two shots is kept" 20 best_is 'games == 1 and .native.best.written == 1'
    if play_to_game_over; then
        cp "$DUMP" "$WORK/best-end.json"  # before anything else moves
        note "the second game: $(q '"\(.state.score) points, \(.state.hits) hits, \(.state.misses) misses"')"
        check "the second game hit a rodent" holds '.state.hits >= 1 and .state.score > 0'
        check_until "the game that ended in GAME OVER is kept" 20 best_is 'games == 2 and .native.best.written == 2'
        check "BEST shows the new best, and NEW BEST says it was beaten" \
            holds "(.native.best.text == .scene[4].text) and .native.best.new_best"
        park_pointer
        wait_for 20 sh -c "[ \"\$(jq -c '.state, .scene' '$DUMP')\" = \"\$(jq -c '.state, .scene' '$WORK/best-end.json')\" ]"
        shot best-panel
        cut_region best-panel 564 722 110 36 "$WORK/score-label.png"
        cut_region best-panel 332 722 110 36 "$WORK/best-label.png"
        check "BEST's number is drawn as the score label is: same face, colours and digits" \
            test "$(differing_pixels "$WORK/score-label.png" "$WORK/best-label.png")" = 0
        check "NEW BEST stands over GAME OVER, black on the labels' grey" sh -c "
            [ $(black_pixels best-panel 520 284 260 36) -gt 40 ] && [ $(black_pixels best-panel 520 240 260 36) = 0 ] &&
            [ \"\$(convert '$ART/best-panel.png' -format '%[pixel:p{775,300}]' info:)\" = 'srgb(192,192,192)' ]"
        click_element start_button
        check_until "START takes NEW BEST away" 20 holds '.state.stage == 1 and (.native.best.new_best | not)'
        click_element cancel_button
        wait_for 20 stage_is 0
    else
        fail "a second game played to GAME OVER" "stage $(q .state.stage), $(q .state.shots_fired) shots"
    fi
    click_element close_button
    wait_for 20 gone "$GAME_PID"

    # The table as --scores prints it, against the two games' own ends.
    TZ=UTC XDG_DATA_HOME=$DATA "$WORK/game/plinkfield" --scores >"$WORK/scores.txt" 2>"$ART/scores-listing.log"
    cp "$WORK/scores.txt" "$ART/scores-listing.txt"
    row_of() { jq -r '"\(.state.score) \(.state.level) \(.state.hits) \(.state.misses)"' "$1"; }
    date_of() { table_lines "$DATA" | sed -n "$1p" | awk '{ sub("T", " ", $6); print substr($6, 1, 16) }'; }
    expect "--scores lists both games, best first, in columns" \
        "rank score level hits misses date|1 $(row_of "$WORK/best-end.json") $(date_of 1)|2 0 1 0 2 $(date_of 2)" \
        "$(awk '{ $1 = $1; print }' "$WORK/scores.txt" | paste -sd '|')"
    expect "--scores says nothing on stderr" "" "$(cat "$ART/scores-listing.log")"
    # The best game's recording: the session from its start, both games.
    BEST_SIM=$DATA/plinkfield/$(table_lines "$DATA" | head -n 1 | awk '{ print $7 }').sim
    check "the best game's recording holds the session: both games" test "$(grep -c '^start$' "$BEST_SIM")" = 2
    dump_of "$WORK/best-end.json" >"$WORK/best-live.json"
    sim_of "$BEST_SIM" >"$WORK/best-sim.json"
    check "the simulator fed the best game's recording prints that game's final state and scene, byte for byte" \
        cmp -s "$WORK/best-live.json" "$WORK/best-sim.json"
    cp "$DATA/plinkfield/scores.txt" "$WORK/table-before-replay.txt"
    if launch best-replay "$WORK/game" XDG_DATA_HOME="$DATA" -- --replay best:1; then
        best_replayed() { [ "$(dump_of "$DUMP")" = "$(cat "$WORK/best-live.json")" ]; }
        check_until "--replay best:1 plays the best game to its end" 120 best_replayed
        key Escape
        wait_for 20 ended_with_ambient
        check "a replay keeps no game" cmp -s "$WORK/table-before-replay.txt" "$DATA/plinkfield/scores.txt"
    fi
fi

# ----------------------------------------------------- a damaged table

DAMAGED=$WORK/damaged-data
mkdir -p "$DAMAGED/plinkfield"
cat >"$DAMAGED/plinkfield/scores.txt" <<'TABLE'
# plinkfield best games: version score level hits misses date recording
1 150 1 6 19 2026-12-07T21:03:00Z good-150
1 300 1 zz 19 2026-12-08T10:15:02Z damaged
2 5000 3 60 15 2026-12-08T10:15:02Z from-a-newer-game
1 450 1 9 16 2026-12-08T09:00:00Z good-450
TABLE
XDG_DATA_HOME=$DAMAGED "$WORK/game/plinkfield" --scores >"$WORK/damaged-scores.txt" 2>"$ART/damaged-scores.log"
expect "--scores of a damaged table lists its good lines" "1 450|2 150" \
    "$(awk 'NR > 1 { print $1, $2 }' "$WORK/damaged-scores.txt" | paste -sd '|')"
check "... and warns once, naming the file and each bad line" sh -c "
    [ \$(wc -l <'$ART/damaged-scores.log') = 1 ] &&
    grep -q '^plinkfield: $DAMAGED/plinkfield/scores.txt: line 3: bad hits .*; line 4: a line of version 2' '$ART/damaged-scores.log'"
if launch damaged "$WORK/game" XDG_DATA_HOME="$DAMAGED"; then
    check_until "BEST shows the damaged table's best good line" 20 best_is 'text == "000450"'
    start_game && shoot_sky 1 && click_element cancel_button && wait_for 20 stage_is 0
    check_until "a game is added to the damaged table" 20 best_is 'written == 1'
    click_element close_button
    wait_for 20 gone "$GAME_PID"
    check "its good lines and the new game are ranked, its bad lines kept as they were" sh -c "
        [ \"\$(sed -n '2,4p' '$DAMAGED/plinkfield/scores.txt' | awk '{ print \$2 }' | paste -sd ' ')\" = '450 150 0' ] &&
        grep -qx '1 300 1 zz 19 2026-12-08T10:15:02Z damaged' '$DAMAGED/plinkfield/scores.txt' &&
        grep -qx '2 5000 3 60 15 2026-12-08T10:15:02Z from-a-newer-game' '$DAMAGED/plinkfield/scores.txt'"
    check "the game warned once about it" test "$(grep -c 'line 3: bad hits' "$ART/damaged.log")" = 1
fi

# --------------------------------------------- two games closed at once

TWO=$WORK/two-data
mkdir -p "$TWO/plinkfield"
ended_game() { launch "$1" "$WORK/game" XDG_DATA_HOME="$TWO" && start_game && shoot_sky "$2"; }
if ended_game two-a 1; then
    A_PID=$GAME_PID A_DUMP=$DUMP
    # The second window opens over the first: each is shot at while on top.
    if ended_game two-b 2; then
        # Another window is writing meanwhile: it holds the table's lock
        # for a while, and both games must wait for it before they end.
        flock -x "$TWO/plinkfield/scores.lock" sleep 2 &
        HOLDER=$!
        wait_for 10 sh -c "flock -n -x '$TWO/plinkfield/scores.lock' true; [ \$? = 1 ]"
        kill -TERM "$A_PID" "$GAME_PID"
        wait_for 30 gone "$A_PID" && wait_for 30 gone "$GAME_PID"
        wait "$HOLDER"
        check "two games closed at once both keep their entry" test "$(table_lines "$TWO" | wc -l)" = 2
        for id in $(table_lines "$TWO" | awk '{ print $7 }'); do sim_of "$TWO/plinkfield/$id.sim"; done | sort >"$WORK/two-sim.txt"
        { dump_of "$A_DUMP"; dump_of "$DUMP"; } | sort >"$WORK/two-live.txt"
        check "... and each recording replays to its own game's last state and scene" cmp -s "$WORK/two-live.txt" "$WORK/two-sim.txt"
    fi
fi

# ------------------------------------------------ a read-only data folder

# The game runs without the power to write where the permissions say no, as
# root has it otherwise.
READ_ONLY=$WORK/read-only-data
mkdir -p "$WORK/powerless" "$READ_ONLY/plinkfield"
if [ "$(id -u)" = 0 ]; then
    printf '#!/bin/sh\nexec setpriv --bounding-set=-dac_override,-dac_read_search,-fowner "%s" "$@"\n' \
        "$WORK/game/plinkfield" >"$WORK/powerless/plinkfield"
else
    printf '#!/bin/sh\nexec "%s" "$@"\n' "$WORK/game/plinkfield" >"$WORK/powerless/plinkfield"
fi
chmod +x "$WORK/powerless/plinkfield"
printf '1 1250 2 31 20 2026-12-08T10:15:02Z kept-before\n' >"$READ_ONLY/plinkfield/scores.txt"
chmod 444 "$READ_ONLY/plinkfield/scores.txt"
chmod 555 "$READ_ONLY/plinkfield"
ls -la "$READ_ONLY/plinkfield" >"$WORK/read-only-before.txt"
if launch read-only "$WORK/powerless" XDG_DATA_HOME="$READ_ONLY"; then
    check_until "BEST shows the read-only table's best" 20 best_is 'text == "001250"'
    for round in 1 2; do
        start_game && shoot_sky 1 && click_element cancel_button && wait_for 20 stage_is 0 &&
            wait_for 20 games_handled "$round"
    done
    check "in a read-only data folder two games play on, kept by nobody" \
        holds '.state.shots_fired == 1 and .native.best.games == 2 and .native.best.written == 0'
    check "... with one warning, naming the folder" sh -c "
        [ \$(wc -l <'$ART/read-only.log') = 1 ] && grep -q '^plinkfield: cannot write $READ_ONLY/plinkfield' '$ART/read-only.log'"
    check "... and the folder is as it was" sh -c "ls -la '$READ_ONLY/plinkfield' | cmp -s - '$WORK/read-only-before.txt'"
    click_element close_button
    wait_for 20 gone "$GAME_PID"
fi
chmod 755 "$READ_ONLY/plinkfield"

# The display taken away under the game (the X server ends): Xlib ends the
# program from inside, and the table's writer, waiting for work, must not
# hold that exit up for ever.
echo "== the display taken away"
if new_x 1280x800 "$ART/xvfb-gone.log"; then
    GONE_X=$NEW_X_PID
    if DISPLAY=$NEW_DISPLAY launch display-gone "$WORK/game" XDG_DATA_HOME="$WORK/gone-data"; then
        wait_for 20 best_is read
        stop_pid "$GONE_X"
        check_until "a game whose display goes away ends, its table's writer with it" 20 gone "$GAME_PID"
        alive "$GAME_PID" && kill -9 "$GAME_PID"
    fi
    stop_pid "$GONE_X"
else
    fail "a second X server for the game to lose" "see $ART/xvfb-gone.log"
fi
