# The game's scene as the probe reads it, real input at the game's
# controls, its pictures on the screen, and what the tables say the scene
# must be. Sourced by run.sh.

# ------------------------------------------------------------- the scene

# Control identifiers by element name, from the manifest.
id_of() { awk -v name="$1" '$1 == "element" && $3 == name { print $5 }' "$RES/manifest.txt"; }

ID_MINIMIZE=$(id_of minimize_button)
ID_CLOSE=$(id_of close_button)
ID_START=$(id_of start_button)
ID_CANCEL=$(id_of cancel_button)
ID_SCORE=$(id_of score_label)
ID_HITS=$(id_of hits_label)
ID_MISSES=$(id_of misses_label)
ID_CANCELED=$(id_of canceled_banner)
ID_GAME_OVER=$(id_of game_over_banner)
ID_MARKER=$(id_of hit_marker)

# Reads the scene into $WORK/scene; sets WX WY WW WH (window on the screen)
# and ICONIC.
look() {
    probe scene >"$WORK/scene"
    read -r _ WX WY WW WH _ ICONIC < <(grep '^window ' "$WORK/scene") || { WX=""; WY=""; WW=""; WH=""; ICONIC=""; }
}

# seen READER...: reads the scene afresh, then runs READER on it.
seen() {
    look
    "$@"
}

# field ID N: field N of a child line (2 id, 3 x, 4 y, 5 w, 6 h, 7 visible).
field() { awk -v id="$1" -v n="$2" '$1 == "child" && $2 == id { print $n }' "$WORK/scene"; }

# The text of a child: everything after the styles.
text_of() {
    awk -v id="$1" '$1 == "child" && $2 == id { for (i = 1; i <= 10; i++) $i = ""; sub(/^ +/, ""); print }' "$WORK/scene"
}

visible_ids() { awk '$1 == "child" && $7 == 1 { print $2 }' "$WORK/scene" | sort -n | tr '\n' ' ' | sed 's/ $//'; }

# Cartridges (ids 900 to 2100) on show.
cartridges_shown() { awk '$1 == "child" && $2 >= 900 && $2 <= 2100 && $7 == 1' "$WORK/scene" | wc -l; }

labels() { echo "$(text_of "$ID_SCORE") $(text_of "$ID_HITS") $(text_of "$ID_MISSES")"; }

window_xy() { echo "$WX $WY"; }
window_state() { echo "$WX $WY $ICONIC"; }
banner() { echo "$(field "$1" 7) $(text_of "$1")"; }

# Keys go to the window with the keyboard focus, the main window: settle
# (tests/lib/x11.sh) needs it there. The scene is read again after it.
key() { xdotool key "$@"; }

# gui: "focus F capture C" of the game's thread.
gui() { probe gui | awk '{ print $1, $2, $3, $4 }'; }
in_move_loop() { [ "$(probe gui | awk '{ print $6 }')" = 1 ]; }
out_of_move_loop() { [ "$(probe gui | awk '{ print $6 }')" = 0 ]; }

# The middle of a button, by control id, on the screen.
button_middle() {
    local x=$(field "$1" 3) y=$(field "$1" 4) w=$(field "$1" 5) h=$(field "$1" 6)
    echo "$((WX + x + w / 2)) $((WY + y + h / 2))"
}

# Two clicks on one button within the double-click time arrive as a double
# click: a click on a button comes at least 600 ms after the last one.
LAST_BUTTON_CLICK=0
button_gap() {
    local left=$(( LAST_BUTTON_CLICK + 600 - $(date +%s%3N) ))
    [ "$left" -gt 0 ] && sleep "$(printf '0.%03d' "$left")"
    LAST_BUTTON_CLICK=$(date +%s%3N)
}

# A button, by control id, clicked in its middle.
click_button() {
    local at
    at=$(button_middle "$1")
    button_gap
    xdotool mousemove $at click 1
}

# ------------------------------------------------------------ pictures

# Screenshots (tests/lib/pictures.sh) cut the main window out of the whole
# screen: Wine's unmanaged windows are read where the probe says they are.
SHOT_AREA=window_area
window_area() { echo "${WW}x${WH}+$WX+$WY"; }

# shot_region SHOT X Y W H BITMAP_ID: a new screenshot, then how many
# pixels differ from the bitmap there (region_differs).
shot_region() {
    shot "$1"
    region_differs "$@"
}

# ---------------------------------------------------------- expectations

# The scene as the table makes it, in the probe's words and in creation
# order: "child ID X Y W H VISIBLE CLASS STYLE EXSTYLE TEXT", sprites sized
# as their initial image; styles WS_CHILD | SS_BITMAP for a sprite,
# WS_CHILD | SS_SIMPLE for a label, WS_CHILD | BS_OWNERDRAW for a button,
# and WS_VISIBLE while shown. With a SCALE, the rectangles in the device
# pixels of a window drawn at it: each edge at device_edge (view_fit.h).
# (Plain awk: Debian's default is mawk.)
expected_scene() {
    awk -v scale="${1:-1}" "$AWK_EDGE"'
        $1 == "element" {
            kind = $4
            x = edge($6, scale); y = edge($7, scale)
            w = edge($6 + $8, scale) - x; h = edge($7 + $9, scale) - y
            text = ""
            for (i = 12; i <= NF; i++) text = text (i > 12 ? " " : "") $i
            cls = (kind == "button") ? "Button" : "Static"
            shown = ($11 == 1) ? 0 : 1
            style = (shown ? "5" : "4") "000000" ((kind == "sprite") ? "E" : "B")
            print "child", $5, x, y, w, h, shown, cls, style, "00000000", text
        }' "$RES/manifest.txt" | sed 's/ $//'
}

# An awk function: edge(v, scale), the device pixel of the field edge v in
# a window drawn at scale, as game/edge/view_fit.h places it.
AWK_EDGE='function edge(v, s,   d) { d = v * s - 0.5 - 1e-9; return (d == int(d) || d < 0) ? int(d) : int(d) + 1 }'

# device_edge V SCALE
device_edge() { awk -v v="$1" -v s="$2" "$AWK_EDGE"' BEGIN { print edge(v, s) }'; }

# The same from the running game, in stacking order (topmost first).
actual_scene() { grep '^child ' "$WORK/scene" | sed 's/ $//'; }

# Points of a raised rodent, by control id.
declare -A RODENT_POINTS=()
while read -r _ id points kind; do
    [ "$kind" = rodent ] && RODENT_POINTS[$id]=$points
done < <(grep '^target ' "$RES/manifest.txt")
PEEKING_IDS=$(awk '$1 == "element" && $3 ~ /^peek\[/ { printf "%s ", $5 }' "$RES/manifest.txt")

# The initial image of an element, by control id, from the table.
initial_image() {
    awk -v id="$1" '$1 == "element" && $5 == id { print $10 }' "$RES/manifest.txt"
}

# The shots of the game under way, as the test has counted them.
HITS=0
MISSES=0
POINTS=0

# shots_counted N: the hits and misses labels add up to N.
shots_counted() {
    look
    [ $((10#$(text_of "$ID_HITS") + 10#$(text_of "$ID_MISSES"))) -eq "$1" ]
}

# A rodent coming up, shot in its middle at once, and the marker of the
# hit caught as it appears. The marker goes with the rodent at tick 10 of
# its cycle, so the probe is already watching when the click is sent. A
# click that comes too late (the rodent down: a miss; or the marker gone
# again in the click's own tick) is tried again on the next rodent, up to
# three. Sets HIT_ID HIT_X HIT_Y, MARKER ("X Y" where the marker
# appeared) and LATE; counts HITS MISSES POINTS.
shoot_a_rodent() {
    local try id x y w h mx my watch hits0
    LATE=0
    for try in 1 2 3; do
        probe_watch "$WORK/watch" wait-show 60000 "${!RODENT_POINTS[@]}" then "$ID_MARKER"
        exec {watch}<"$WORK/watch"
        if ! read -r -t 60 -u "$watch" _ id x y w h; then
            exec {watch}<&-
            stop_watch
            return 1
        fi
        HIT_X=$((x + w / 2))
        HIT_Y=$((y + h / 2))
        click_at "$HIT_X" "$HIT_Y"
        hits0=$HITS
        MARKER=""
        # The shot is counted either way, as a hit or as a miss; with the
        # hit counted, the marker has been shown too.
        if wait_for 20 shots_counted $((HITS + MISSES + 1)); then
            if [ "$(text_of "$ID_HITS")" != "$(printf '%04d' "$HITS")" ]; then
                HITS=$((HITS + 1))
                POINTS=$((POINTS + RODENT_POINTS[$id]))
                read -r -t 5 -u "$watch" _ _ mx my _ _ && MARKER="$mx $my"
            else
                MISSES=$((MISSES + 1))
            fi
        fi
        exec {watch}<&-
        stop_watch
        HIT_ID=$id
        [ "$HITS" -gt "$hits0" ] && [ -n "$MARKER" ] && return 0
        LATE=$((LATE + 1))
    done
    return 1
}

# A screenshot of the next rodent up, checked against its bitmap; up to
# five rodents, in case one goes down before its picture is on the screen.
# Leaves playing.png, SHOWN_ID, SHOWN_IMAGE and SHOWN_DIFF.
shoot_picture() {
    for _ in 1 2 3 4 5; do
        local x y w h
        read -r _ SHOWN_ID x y w h < <(probe wait-show 60000 "${!RODENT_POINTS[@]}") || return 1
        shot playing
        SHOWN_IMAGE=$(initial_image "$SHOWN_ID")
        SHOWN_DIFF=$(region_differs playing "$x" "$y" "$w" "$h" "$SHOWN_IMAGE")
        [ "$SHOWN_DIFF" = 0 ] && return 0
    done
    return 1
}
