# Shared by the package tests (run.sh, chroot.sh) and the install check of
# tests/builds; sourced, not run.
#
# Needs before use: ROOT (the folder the package was unpacked or installed
# into, as this machine sees it), WORK (a private scratch folder), ART (where
# logs go) and APP_ID; AMBIENT when Ambient is not where the package puts it
# under ROOT.

# shellcheck source=tests/lib/harness.sh
. "$(dirname "${BASH_SOURCE[0]}")/../lib/harness.sh"

# ----------------------------------------------------------------- processes

# Living processes (no zombies) whose program file is ROOT/PATH.
processes_in_root() { processes_from "$ROOT/$1"; }
AMBIENT=${AMBIENT:-usr/lib/plinkfield/plinkfield-ambient}
ambient_running() { [ -n "$(processes_in_root "$AMBIENT")" ]; }
no_ambient() { ! ambient_running; }

# stop_leftovers: ends what this run started and may have left: its game and
# any Ambient running from its root, then its X server.
GAME_PID=""
stop_leftovers() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null
    local pid
    for pid in $(processes_in_root "$AMBIENT"); do kill "$pid" 2>/dev/null; done
    stop_x
}

# ------------------------------------------------------------ the game, live

# The game's test dump (PLINKFIELD_SCENE_DUMP) is read at DUMP, as this
# machine sees it (tests/lib/dump.sh).
game_gone() { ! alive "$GAME_PID"; }

# play_start_and_close: with the game just started (GAME_PID, its dump at
# DUMP, its output in $ART/game.log): it shows its window with the menu
# entry's class, START starts the Ambient installed in ROOT, the close button
# ends both.
play_start_and_close() {
    if ! wait_for 30 first_frame_shown; then
        fail "the installed game shows its window" "$(cat "$ART/game.log")"
        return
    fi
    pass "the installed game shows its window"
    check "its window's class is the menu entry's StartupWMClass" \
        grep -q "\"$APP_ID\"" <<<"$(xprop -id "$WIN" WM_CLASS)"
    check "no Ambient before START" no_ambient

    click_element start_button
    if wait_for 20 holds '.state.stage == 1 and (.native.ambient | length) == 1' && wait_for 10 ambient_running; then
        pass "START starts the game and the installed Ambient, $ROOT/$AMBIENT"
    else
        fail "START starts the installed Ambient" \
            "stage $(q .state.stage), the game's children $(q .native.ambient), running from the root: $(processes_in_root "$AMBIENT")"
    fi
    expect "the game's Ambient is the installed one" "$(q '.native.ambient[0]')" "$(processes_in_root "$AMBIENT")"

    click_element close_button
    if wait_for 20 game_gone && wait_for 10 no_ambient; then
        pass "the close button ends the game and its Ambient"
    else
        fail "the close button ends the game and its Ambient"
    fi
    GAME_PID=""
}
