# The native game's test dump: with PLINKFIELD_SCENE_DUMP=FILE the game
# rewrites FILE whole after every change (game/shell/sdl/sdl_dump.cpp). A
# suite sets DUMP to the file. Sourced by harness.sh.

# q JQ: a value from the latest dump.
q() { jq -r "$1" "$DUMP" 2>/dev/null; }
# holds JQ: the latest dump makes JQ true.
holds() { [ "$(q "$1")" = true ]; }
# element NAME FIELD: a field of a scene element.
element() { q ".scene[] | select(.name == \"$1\") | .$2"; }

stage_is() { [ "$(q .state.stage)" = "$1" ]; }
ticks_beyond() { [ "$(q .native.ticks)" -ge "$1" ] 2>/dev/null; }
shots_are() { [ "$(q .state.shots_fired)" = "$1" ]; }

# first_frame_shown: the game has drawn its first frame and its window is
# on the screen; sets WIN, its X window.
first_frame_shown() {
    holds '.native.frames >= 1' || return 1
    WIN=$(xdotool search --all --pid "$(q .native.pid)" --name '^Plinkfield$' 2>/dev/null | head -n 1)
    [ -n "$WIN" ] && window_viewable
}

# element_middle NAME: the middle of a scene element in window pixels, at
# the scale the game draws at.
element_middle() {
    q '.native.scale as $s | .scene[] | select(.name == "'"$1"'")
       | "\((.x + .w / 2) * $s | floor) \((.y + .h / 2) * $s | floor)"'
}

# click_element NAME: a real click in the middle of a scene element.
click_element() {
    # shellcheck disable=SC2046
    xdotool mousemove --window "$WIN" $(element_middle "$1") click 1
}
