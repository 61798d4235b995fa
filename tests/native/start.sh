# The start screen, its labels and the buttons, in the first run of the game
# ("main", which game.sh and window.sh go on with). Sourced by run.sh.

# The start screen as the painted files say it must look: the scene picture
# with the four buttons, the standing cow and the best score's plate on it.
# The labels' text is the font's business; their rectangles (BEST's number
# too) are left out of the comparison on both sides and checked apart.
LABEL_RECTS=("564,722 673,757" "506,728 585,763" "688,728 767,763" "332,722 441,757")
mask_labels() {
    local draw="" r
    for r in "${LABEL_RECTS[@]}"; do draw="$draw rectangle $r"; done
    convert "$1" -fill magenta -draw "$draw" "$2"
}
expected_start_screen() {
    convert "$RES/game/100.bmp" \
        "$RES/game/300.bmp" -geometry +1220+6 -composite \
        "$RES/game/200.bmp" -geometry +1249+6 -composite \
        "$RES/game/500.bmp" -geometry +14+714 -composite \
        "$RES/game/600.bmp" -geometry +157+714 -composite \
        "$RES/game/7350.bmp" -geometry +680+356 -composite \
        "$RES/native/best_plate.bmp" -geometry +318+702 -composite "$1"
}

start_screen_matches() {
    shot start
    mask_labels "$ART/start.png" "$WORK/start-masked.png"
    [ "$(differing_pixels "$WORK/start-masked.png" "$WORK/expected-masked.png")" = 0 ]
}

# The labels' two faces, told apart by the height of their digits: the
# label font's digits stand 0.6 of the cell height it is opened at, 36 for
# the score, 24 for hits and misses, to within two pixels. (The hits
# label's box is measured left of the score's, which overlaps it.)
DIGITS_PER_CELL=0.6
digits_sized() {
    local score hits misses
    score=$(ink_height start 564 722 110 36)
    hits=$(ink_height start 506 728 57 36)
    misses=$(ink_height start 688 728 80 36)
    DIGITS="score $score, hits $hits, misses $misses pixels high"
    awk -v s="$score" -v h="$hits" -v m="$misses" -v k="$DIGITS_PER_CELL" 'function near(v, cell) {
            d = v - k * cell; return d >= -2 && d <= 2 }
        BEGIN { exit !(near(s, 36) && near(h, 24) && near(m, 24)) }'
}

# The right and the middle mouse button are nobody's: pressed and released
# on START, each neither holds it down nor starts a game. Prints what went
# wrong.
other_buttons_on_start() {
    local b
    for b in 3 2; do
        xdotool mousemove --window "$WIN" "$sx" "$sy" mousedown $b
        settle || { echo "no answer to the arrow keys"; return; }
        holds '.native.pressed == 0' || echo "button $b holds START down"
        xdotool mouseup $b
        settle || { echo "no answer to the arrow keys"; return; }
        [ "$(q .state.stage)" = 0 ] && no_ambient || echo "button $b started a game"
    done
}

echo "== the start screen"
T_START=$(date +%s%N)
if launch main "$WORK/game"; then
    MAIN=1
    note "first frame $(( ($(q .native.first_frame_ns) - T_START) / 1000000 )) ms after the start"
    check "the window is borderless, 1280 x 786, titled Plinkfield" \
        sh -c "xwininfo -id $WIN | grep -q 'Width: 1280' && xwininfo -id $WIN | grep -q 'Height: 786'"
    check "its X11 class is the app id org.plinkfield.Plinkfield" \
        sh -c "xprop -id $WIN WM_CLASS | grep -q '\"org.plinkfield.Plinkfield\"'"
    park_pointer
    expected_start_screen "$WORK/expected.png"
    mask_labels "$WORK/expected.png" "$WORK/expected-masked.png"
    if wait_for 20 start_screen_matches; then
        pass "the start screen is the painted scene with the four buttons, the cow and BEST's plate"
    else
        fail "the start screen is the painted scene with the four buttons, the cow and BEST's plate" \
            "$(differing_pixels "$WORK/start-masked.png" "$WORK/expected-masked.png") pixels differ (see $ART/start.png)"
    fi
    check "the labels read 000000, 0000, 0000" \
        test "$(q '[.scene[4,5,6].text] | join(" ")')" = "000000 0000 0000"
    check "the score label shows black text on light grey" \
        sh -c "[ $(black_pixels start 564 722 110 36) -gt 40 ] && [ \"\$(convert $ART/start.png -format '%[pixel:p{668,752}]' info:)\" = 'srgb(192,192,192)' ]"
    if digits_sized; then
        pass "the score label is drawn in the large face, hits and misses in the small one ($DIGITS)"
    else
        fail "the score label is drawn in the large face, hits and misses in the small one" \
            "$DIGITS; cells 36 and 24 make $(awk -v k="$DIGITS_PER_CELL" 'BEGIN { print 36 * k " and " 24 * k }')"
    fi
    check "nothing runs before START: no tick, no Ambient" \
        sh -c "[ '$(q .native.ticks)' = 0 ] && [ '$(q .state.stage)' = 0 ] && [ $(count_of plinkfield-ambient) = 0 ]"

    echo "== the buttons"
    read -r sx sy < <(q '.scene[2] | "\(.x + 60) \(.y + 29)"')
    xdotool mousemove --window "$WIN" "$sx" "$sy" mousedown 1
    if wait_for 20 holds '.native.pressed == 700'; then
        shot start-held
        check "START held down shows its pressed picture" region_matches start-held 14 714 120 58 550
    else
        fail "START held down shows its pressed picture" "the game never saw the press"
    fi
    xdotool mousemove --window "$WIN" 400 300
    wait_for 20 holds '.native.pressed == 0'
    xdotool mouseup 1
    shot start-left
    check "START pressed and left shows its normal picture again" region_matches start-left 14 714 120 58 500
    # A key after the release: once it has moved the window, the release
    # has been handled too.
    read -r x0 y0 < <(window_position)
    key Left
    wait_for 20 window_at $((x0 - 2)) "$y0"
    check "START released elsewhere does nothing" sh -c "[ '$(q .state.stage)' = 0 ] && [ $(count_of plinkfield-ambient) = 0 ]"
    key Right
    wait_for 20 window_at "$x0" "$y0"
    expect "the right and the middle button neither hold START down nor start a game" "" \
        "$(other_buttons_on_start)"
fi
