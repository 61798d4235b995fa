# The first game: start-up, the window's own handling, one whole game and
# its ends, the close button; and Alt+F4 during a game. Sourced by run.sh.

# The scene picture wherever no child window is on show, in a new
# screenshot: how many pixels differ.
start_picture_differs() {
    shot start
    local masks=()
    while read -r _ _ x y w h v _; do
        [ "$v" = 1 ] && masks+=(-draw "rectangle $x,$y $((x + w - 1)),$((y + h - 1))")
    done < <(grep '^child ' "$WORK/scene")
    convert "$ART/start.png" -fill magenta "${masks[@]}" "$WORK/start-masked.png"
    convert "$RES/game/100.bmp" -fill magenta "${masks[@]}" "$WORK/scene-masked.png"
    differing_pixels "$WORK/start-masked.png" "$WORK/scene-masked.png"
}

# The four buttons in a new screenshot, each against its normal bitmap.
buttons_differ() {
    shot start
    echo "$(region_differs start 1220 6 23 19 300) $(region_differs start 1249 6 23 19 200)" \
        "$(region_differs start 14 714 120 58 500) $(region_differs start 157 714 120 58 600)"
}

# Black digits straight on the panel: some pixels change, but the label's
# rectangle is not filled (transparent text background). Prints "inked"
# when so, else how many pixels differ; leaves INKED.
score_inked() {
    shot start
    convert "$RES/game/100.bmp" -crop 110x36+564+722 +repage "$WORK/under-score.png"
    convert "$ART/start.png" -crop 110x36+564+722 +repage "$WORK/score.png"
    INKED=$(differing_pixels "$WORK/score.png" "$WORK/under-score.png")
    if [ "$INKED" -gt 50 ] 2>/dev/null && [ "$INKED" -lt $((110 * 36 / 2)) ]; then echo inked; else echo "$INKED of 3960"; fi
}

# drag_title_strip DX DY WHEN: press in the painted title strip, move, release.
drag_title_strip() {
    look
    local x0=$WX y0=$WY
    xdotool mousemove $((WX + 400)) $((WY + 15)) mousedown 1
    # The press has been handled once the platform's move loop runs.
    if ! wait_for 20 in_move_loop; then
        xdotool mouseup 1
        fail "a press in the title strip drags the window ($1, $2) $3" "no move loop: $(probe gui)"
        return
    fi
    xdotool mousemove_relative -- $(($1 / 2)) $(($2 / 2))
    xdotool mousemove_relative -- $(($1 - $1 / 2)) $(($2 - $2 / 2))
    xdotool mouseup 1
    wait_for 20 out_of_move_loop
    expect_until "a press in the title strip drags the window ($1, $2) $3" "$((x0 + $1)) $((y0 + $2))" 20 \
        seen window_xy
}

# nudge KEY DX DY WHAT: an arrow key moves the window by DX, DY.
nudge() {
    look
    local x0=$WX y0=$WY
    xdotool key "$1"
    expect_until "$4" "$((x0 + $2)) $((y0 + $3))" 20 seen window_xy
}

# The first game: start-up, the window's own handling, one whole game and
# its ends, the close button.
run_game() {
    echo "== start-up"
    if launch_game "$WORK/game"; then
        pass "the game window is shown (start-up ${STARTUP_MS} ms)"
    else
        fail "the game window is shown" "no window within 30 s (see $ART/game.log)"
        return
    fi
    echo "$STARTUP_MS" >>"$ART/startup-ms.txt"
    park_pointer
    # The scene is made before the window is shown.
    look
    cp "$WORK/scene" "$ART/scene-at-start.txt"

    expect "the window is 1280 x 786 at the screen's top-left corner" "0 0 1280 786 1 0" \
        "$(grep '^window ' "$WORK/scene" | cut -d' ' -f2-)"
    if diff <(expected_scene) <(actual_scene) >"$ART/scene-diff.txt"; then
        pass "83 child windows in table order, stacked earlier-on-top, with their classes, styles, rectangles, texts and visibility"
    else
        fail "83 child windows as the table makes them" "see $ART/scene-diff.txt"
    fi
    expect "only the four buttons, the three labels and the standing cow are visible" \
        "$ID_MINIMIZE $ID_CLOSE $ID_START $ID_CANCEL $ID_SCORE $ID_HITS $ID_MISSES 7400" "$(visible_ids)"
    expect "the labels read 000000, 0000, 0000" "000000 0000 0000" "$(labels)"
    expect "one game process and no Ambient before START" "1 0" \
        "$(processes_of Plinkfield.exe) $(processes_of Ambient.exe)"

    # Painting follows the showing: each picture is taken until it is complete.
    expect_until "the screen shows the painted scene (bitmap 100) one to one around the children" "0" 20 \
        start_picture_differs
    expect_until "the standing cow shows bitmap 7350" "0" 20 shot_region start 680 356 101 66 7350
    expect_until "the four buttons are drawn from their normal bitmaps (300, 200, 500, 600)" "0 0 0 0" 20 \
        buttons_differ
    expect_until "the score label's digits are drawn on the scene without a background" inked 20 score_inked

    echo "== the window"
    xdotool mousemove $((WX + 640)) $((WY + 300))
    local key dx dy
    for key in Right:2:0 Down:0:2 Left:-2:0 Up:0:-2; do
        IFS=: read -r key dx dy <<<"$key"
        nudge "$key" "$dx" "$dy" "the $key arrow key moves the window by ($dx, $dy)"
    done
    drag_title_strip 60 40 "in STAGE_IDLE"

    # The platform's push button: pressed look while held, no command when
    # released elsewhere, and the keyboard focus back with the main window.
    look
    xdotool mousemove $((WX + 74)) $((WY + 743)) mousedown 1
    wait_for 20 eval '[ "$(gui)" = "focus $ID_START capture $ID_START" ]'
    expect_until "START held down shows its pressed bitmap 550" "0" 20 shot_region start-held 14 714 120 58 550
    xdotool mousemove $((WX + 640)) $((WY + 200))
    expect_until "START shows its normal bitmap once the pointer leaves it" "0" 20 \
        shot_region start-left 14 714 120 58 500
    xdotool mouseup 1
    expect_until "START released elsewhere leaves the keyboard focus with the main window" "focus main capture none" \
        20 gui
    nudge Right 2 0 "after START released elsewhere the arrow keys move the window"
    nudge Left -2 0 "and back"
    # The keys came after the release: it has been handled.
    expect "START released elsewhere does nothing" "0 0" "$(cartridges_shown) $(processes_of Ambient.exe)"

    echo "== a game"
    click_button "$ID_START"
    expect_until "START shows the 25 cartridges" "25" 20 seen cartridges_shown
    nudge Right 2 0 "after START the arrow keys still nudge the window"
    nudge Left -2 0 "and back"
    check_until "START starts an Ambient process" 20 ambient_running
    expect_until "Ambient owns one hidden window titled Ambient" "1 0" 20 probe count Ambient

    HITS=0 MISSES=0 POINTS=0
    if shoot_a_rodent; then
        shot hit
        pass "a raised rodent ($HIT_ID) is hit by a click in its middle (late tries: $LATE)"
        expect "the score and hits labels show the points of the hits and their number" \
            "$(printf '%06d %04d %04d' "$POINTS" "$HITS" "$MISSES")" "$(labels)"
        expect "the hit shows hit_marker 10 left of and 11 above the click" "$((HIT_X - 10)) $((HIT_Y - 11)) 1" \
            "$MARKER 1"
    else
        fail "a raised rodent is hit by a click in its middle and shows hit_marker" \
            "none in three tries: $(labels), marker '$MARKER'"
    fi
    look
    local score_before=$(text_of "$ID_SCORE")
    click_at 600 740  # on the score label: labels let presses through
    MISSES=$((MISSES + 1))
    local shots=$((HITS + MISSES))
    expect_until "a click on the score label is a miss: score kept, misses counted" \
        "$score_before $(printf '%04d' "$MISSES")" 20 seen eval 'echo "$(text_of $ID_SCORE) $(text_of $ID_MISSES)"'
    expect_until "each shot hides one cartridge from the left" "$((25 - shots)) 0" 20 \
        seen eval 'echo "$(cartridges_shown) $(field $((2150 - 50 * shots)) 7)"'

    xdotool mousemove $((WX + 300)) $((WY + 250))
    expect_until "hit_marker follows the cursor, 10 left of and 11 above it" "290 239" 20 \
        seen eval 'echo "$(field $ID_MARKER 3) $(field $ID_MARKER 4)"'

    if shoot_picture; then
        cp "$ART/playing.png" "$ART/screenshot.png"
        pass "a raised rodent ($SHOWN_ID) shows its bitmap $SHOWN_IMAGE"
    else
        fail "a raised rodent shows its bitmap" "${SHOWN_ID:-none}: ${SHOWN_DIFF:-} pixels differ from ${SHOWN_IMAGE:-}"
    fi

    drag_title_strip -30 -20 "during a game"
    look
    expect "a press in the title strip uses no cartridge" "$((25 - shots))" "$(cartridges_shown)"

    click_button "$ID_START"
    settle || fail "the game answers the arrow keys after START during a game"
    look
    expect "START during a game changes nothing and starts no second Ambient" "$((25 - shots)) 1" \
        "$(cartridges_shown) $(processes_of Ambient.exe)"

    local where="$WX $WY"
    click_button "$ID_MINIMIZE"
    expect_until "the minimize button minimizes the window" "1" 20 seen eval 'echo "$ICONIC"'
    if probe wait-show 60000 "${!RODENT_POINTS[@]}" >/dev/null; then
        pass "the game goes on while minimized (a rodent came up)"
    else
        fail "the game goes on while minimized" "no rodent in 60 s"
    fi
    probe restore
    expect_until "restored, the window is back where it was" "$where 0" 20 seen window_state

    click_button "$ID_CANCEL"
    expect_until "CANCEL shows GAME CANCELED" "1 GAME CANCELED" 20 seen banner "$ID_CANCELED"
    check_until "CANCEL ends the Ambient process" 20 ambient_ended
    expect_until "no window titled Ambient is left" "0 0" 20 probe count Ambient

    click_button "$ID_START"
    expect_until "START again hides the banner and resets the labels" "0 000000 0000 0000 25" 20 \
        seen eval 'echo "$(field $ID_CANCELED 7) $(labels) $(cartridges_shown)"'
    check_until "START again starts Ambient again" 20 ambient_running

    # Every shot a miss: the level ends below its threshold.
    xdotool mousemove $((WX + 600)) $((WY + 740)) click --repeat 25 --delay 80 1
    expect_until "25 misses end the level in GAME OVER" "1 GAME OVER 0025 0" 30 \
        seen eval 'echo "$(banner $ID_GAME_OVER) $(text_of $ID_MISSES) $(cartridges_shown)"'
    check_until "GAME OVER ends the Ambient process" 20 ambient_ended

    click_button "$ID_START"
    check_until "a new game after GAME OVER starts Ambient" 20 ambient_running
    look
    click_button "$ID_CLOSE"
    check_until "the close button ends the game" 20 game_ended
    check_until "the close button ends Ambient too" 20 ambient_ended
}

# The platform's own close path during a game: Alt+F4.
run_alt_f4() {
    echo "== Alt+F4 during a game"
    launch_game "$WORK/game" || { fail "the game starts again" "no window"; return; }
    echo "$STARTUP_MS" >>"$ART/startup-ms.txt"
    look
    expect "the game runs as one process" "1" "$(processes_of Plinkfield.exe)"
    click_button "$ID_START"
    check_until "START starts Ambient" 20 ambient_running
    xdotool mousemove $((WX + 640)) $((WY + 300))
    xdotool key alt+F4
    check_until "Alt+F4 ends the game" 20 game_ended
    check_until "Alt+F4 leaves no Ambient running" 20 ambient_ended
}
