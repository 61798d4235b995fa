# ------------------------------------------------------------------ monkey

# A storm of input for MONKEY_SECONDS: presses, drags and clicks at random
# places (in the title strip too), arrow keys, START, CANCEL, minimize and
# restore, at random speeds. Every random number comes from MONKEY_SEED,
# a fixed count of them per step, so the same seed sends the same input.
# Every 15 s, and at the end, the input stops for a check: the game
# answers the arrow keys, the labels read as they should (at least six
# digits of score, four of hits and misses, the counts never going back
# within a game), at most one Ambient runs while a game is under way and
# none while none is. Meanwhile its memory and windows are sampled.

# The X window's place and whether it is on the screen (minimized: not).
x_window() {
    eval "$(xdotool getwindowgeometry --shell "$WIN" 2>/dev/null | grep -E '^[XY]=')"
    MX=${X:-0} MY=${Y:-0}
    case "$(xwininfo -id "$WIN" 2>/dev/null)" in *IsViewable*) MAPPED=1 ;; *) MAPPED=0 ;; esac
}

# A random point of the window, off the four buttons, as "X Y" on the screen.
monkey_point() {
    local x=$(($1 % 1280)) y=$(($2 % 786))
    if { [ "$y" -lt 30 ] && [ "$x" -ge 1215 ]; } || { [ "$y" -ge 710 ] && [ "$x" -lt 285 ]; }; then
        x=$((x % 1200)) y=$((30 + y % 670))
    fi
    echo "$((MX + x)) $((MY + y))"
}

# A random point inside a button, by the "X Y W H" of its rectangle.
monkey_button() {
    local x y w h
    read -r x y w h <<<"$1"
    echo "$((MX + x + 2 + $2 % (w - 4))) $((MY + y + 2 + $3 % (h - 4)))"
}

# A pause of 0 to 0.99 s, most often none.
monkey_pause() {
    case $(($1 % 10)) in
        [0-5]) ;;
        [6-8]) sleep "0.$(printf '%02d' $(($2 % 30)))" ;;
        *) sleep "0.$(printf '%02d' $((30 + $2 % 70)))" ;;
    esac
}

monkey_step() {
    local r=() i
    for i in 1 2 3 4 5 6 7 8; do r+=($RANDOM); done
    x_window
    local kind=$((r[0] % 100)) at to
    if [ "$MAPPED" = 0 ] && [ $((r[7] % 3)) = 0 ]; then kind=92; fi
    case $kind in
        [0-9] | [12][0-9] | 3[0-4])  # presses, single or in bursts
            at=$(monkey_point "${r[1]}" "${r[2]}")
            local n=$((1 + (r[3] % 4 == 0) * (r[3] % 6)))
            echo "press $at x$n" >>"$ART/monkey-actions.txt"
            xdotool mousemove $at click --repeat "$n" --delay $((20 + r[4] % 150)) 1
            ;;
        3[5-9] | 4[0-9])  # drags; one from the title strip ends with the window kept on the screen
            at=$(monkey_point "${r[1]}" "${r[2]}")
            local tx=$((r[3] % 321)) ty=$((r[4] % 215)) steps=$((1 + r[5] % 3)) s ax ay
            read -r ax ay <<<"$at"
            echo "drag $at by $((tx - MX)) $((ty - MY)) in $steps" >>"$ART/monkey-actions.txt"
            xdotool mousemove $at mousedown 1
            for s in $(seq "$steps"); do
                sleep "0.0$((r[6] % 10))"
                xdotool mousemove $((ax + (tx - MX) * s / steps)) $((ay + (ty - MY) * s / steps))
            done
            xdotool mouseup 1
            ;;
        5[0-9] | 6[0-4])  # arrow keys, away from the screen's edges
            local keys=() key n=$((1 + r[1] % 6))
            case $((r[2] % 4)) in
                0) key=Left; [ "$MX" -lt 20 ] && key=Right ;;
                1) key=Right; [ "$MX" -gt 300 ] && key=Left ;;
                2) key=Up; [ "$MY" -lt 20 ] && key=Down ;;
                *) key=Down; [ "$MY" -gt 194 ] && key=Up ;;
            esac
            for i in $(seq "$n"); do keys+=("$key"); done
            echo "key $key x$n" >>"$ART/monkey-actions.txt"
            xdotool key --delay $((r[3] % 120)) "${keys[@]}"
            ;;
        6[5-9] | 7[0-4])
            at=$(monkey_button "$RECT_START" "${r[1]}" "${r[2]}")
            echo "START $at" >>"$ART/monkey-actions.txt"
            MONKEY_STARTED=1
            xdotool mousemove $at click 1
            ;;
        7[5-9] | 8[0-4])
            at=$(monkey_button "$RECT_CANCEL" "${r[1]}" "${r[2]}")
            echo "CANCEL $at" >>"$ART/monkey-actions.txt"
            xdotool mousemove $at click 1
            ;;
        8[5-9])
            at=$(monkey_button "$RECT_MINIMIZE" "${r[1]}" "${r[2]}")
            echo "minimize $at" >>"$ART/monkey-actions.txt"
            xdotool mousemove $at click 1
            ;;
        9[0-4])
            echo "restore" >>"$ART/monkey-actions.txt"
            probe restore
            ;;
        *)  # a press on START or CANCEL released off it: no command
            local rect=$RECT_CANCEL
            [ $((r[1] % 2)) = 0 ] && rect=$RECT_START
            at=$(monkey_button "$rect" "${r[2]}" "${r[3]}")
            to=$(monkey_point "${r[4]}" "${r[5]}")
            echo "press off $at to $to" >>"$ART/monkey-actions.txt"
            xdotool mousemove $at mousedown 1 sleep "0.$((r[6] % 10))" mousemove $to mouseup 1
            ;;
    esac
    monkey_pause "${r[6]}" "${r[7]}"
    MONKEY_ACTIONS=$((MONKEY_ACTIONS + 1))
}

# monkey_problem WHAT DETAIL: one more failed check of that kind.
declare -A MONKEY_PROBLEMS=()
monkey_problem() {
    MONKEY_PROBLEMS[$1]=$(( ${MONKEY_PROBLEMS[$1]:-0} + 1 ))
    echo "  .. monkey check $MONKEY_CHECKS after $MONKEY_ACTIONS actions: $1: $2"
}

MONKEY_PREVIOUS=""
monkey_check() {
    MONKEY_CHECKS=$((MONKEY_CHECKS + 1))
    if [ "$(processes_of Plinkfield.exe)" != 1 ]; then
        # Say what else is gone with it: the X server, and the game's last word.
        monkey_problem alive "$(processes_of Plinkfield.exe) game processes; the X server $(alive "$XVFB_PID" &&
            echo runs || echo is gone); the game's log ends: $(tail -n 1 "$ART/game.log" 2>/dev/null)"
        return 1
    fi
    look
    if [ "$ICONIC" != 0 ]; then
        probe restore
        wait_for 20 eval 'look; [ "$ICONIC" = 0 ]'
    fi
    if ! settle; then
        monkey_problem responsive "the arrow keys did not move the window: $(probe gui)"
        return 1
    fi
    look
    local score hits misses
    score=$(text_of "$ID_SCORE") hits=$(text_of "$ID_HITS") misses=$(text_of "$ID_MISSES")
    [[ "$score" =~ ^[0-9]{6,}$ && "$hits" =~ ^[0-9]{4}$ && "$misses" =~ ^[0-9]{4}$ ]] ||
        monkey_problem labels "'$score' '$hits' '$misses'"
    if [ -n "$MONKEY_PREVIOUS" ] && [ "$MONKEY_STARTED" = 0 ]; then
        local h0 m0
        read -r h0 m0 <<<"$MONKEY_PREVIOUS"
        [ "$((10#$hits))" -ge "$((10#$h0))" ] && [ "$((10#$misses))" -ge "$((10#$m0))" ] ||
            monkey_problem counts "hits $h0 -> $hits, misses $m0 -> $misses with no START between"
    fi
    MONKEY_PREVIOUS="$hits $misses"
    # Under way: once started, until a banner says it is over. (A START
    # that went nowhere, the window minimized, only makes this check looser.)
    [ "$MONKEY_STARTED" = 1 ] && MONKEY_EVER_STARTED=1
    MONKEY_STARTED=0
    if [ "$MONKEY_EVER_STARTED" = 1 ] && [ "$(field "$ID_CANCELED" 7)" = 0 ] && [ "$(field "$ID_GAME_OVER" 7)" = 0 ]; then
        MONKEY_GAMES=$((MONKEY_GAMES + 1))
        # An Ambient closed a moment ago may still be on its way out.
        wait_for 20 at_most_one_ambient || monkey_problem ambient "$(processes_of Ambient.exe) Ambients during a game"
    else
        MONKEY_IDLE=$((MONKEY_IDLE + 1))
        wait_for 20 ambient_ended || monkey_problem ambient "$(processes_of Ambient.exe) Ambients with no game"
    fi
    return 0
}

# Every 2 s: "SECONDS RSS_KB" and the probe's "gdi N user N handles N windows N".
monkey_sampler() {
    local t0=$(date +%s%3N) pid rss
    while :; do
        pid=$(pids_of Plinkfield.exe | head -n 1)
        [ -n "$pid" ] || break
        rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
        echo "$(( ($(date +%s%3N) - t0) / 1000 )) ${rss:-0} $(probe resources)" >>"$WORK/samples"
        sleep 2
    done
}

# window_medians N END: "FIRST LAST", the medians of column N of the samples
# taken in the first and in the last 30 s (a sound being played adds a few
# megabytes for a moment).
median() { sort -n | awk '{ v[NR] = $1 } END { print NR ? v[int((NR + 1) / 2)] : 0 }'; }
window_medians() {
    echo "$(awk -v n="$1" '$1 <= 30 { print $n }' "$WORK/samples" | median)" \
        "$(awk -v n="$1" -v end="$2" '$1 >= end - 30 { print $n }' "$WORK/samples" | median)"
}

run_monkey() {
    echo "== monkey: seed $MONKEY_SEED, $MONKEY_SECONDS s (again: MONKEY_SEED=$MONKEY_SEED E2E_RUNS=monkey)"
    launch_game "$WORK/game" || { fail "the game starts for the monkey" "no window"; return; }
    echo "$STARTUP_MS" >>"$ART/startup-ms.txt"
    look
    RECT_START="$(field "$ID_START" 3) $(field "$ID_START" 4) $(field "$ID_START" 5) $(field "$ID_START" 6)"
    RECT_CANCEL="$(field "$ID_CANCEL" 3) $(field "$ID_CANCEL" 4) $(field "$ID_CANCEL" 5) $(field "$ID_CANCEL" 6)"
    RECT_MINIMIZE="$(field "$ID_MINIMIZE" 3) $(field "$ID_MINIMIZE" 4) $(field "$ID_MINIMIZE" 5) $(field "$ID_MINIMIZE" 6)"
    MONKEY_ACTIONS=0 MONKEY_CHECKS=0 MONKEY_STARTED=0 MONKEY_EVER_STARTED=0 MONKEY_GAMES=0 MONKEY_IDLE=0
    : >"$ART/monkey-actions.txt"
    : >"$WORK/samples"
    monkey_sampler &
    local sampler=$! t0=$(date +%s) next
    next=$((t0 + 15))
    RANDOM=$MONKEY_SEED
    # A game from the start, so that the first 30 s already hold what a
    # game loads (its sounds) and the figures compare like with like.
    MONKEY_STARTED=1
    x_window
    xdotool mousemove $(monkey_button "$RECT_START" 0 0) click 1
    while [ "$(date +%s)" -lt $((t0 + MONKEY_SECONDS)) ]; do
        monkey_step
        if [ "$(date +%s)" -ge "$next" ]; then
            echo "check" >>"$ART/monkey-actions.txt"
            monkey_check || break
            next=$(( $(date +%s) + 15 ))
        fi
    done
    monkey_check
    local played=$(( $(date +%s) - t0 ))
    kill "$sampler" 2>/dev/null
    wait "$sampler" 2>/dev/null
    cp "$WORK/samples" "$ART/monkey-samples.txt"

    local what
    for what in alive responsive labels counts ambient; do
        local n=${MONKEY_PROBLEMS[$what]:-0}
        case $what in
            alive) what="the game is alive at every check" ;;
            responsive) what="the game answers the arrow keys at every check" ;;
            labels) what="the labels read a score of at least six digits and four-digit counts" ;;
            counts) what="hits and misses never go back within a game" ;;
            ambient) what="at most one Ambient during a game, none without one" ;;
        esac
        if [ "$n" = 0 ]; then pass "monkey: $what ($MONKEY_CHECKS checks)"; else fail "monkey: $what" "$n of $MONKEY_CHECKS checks failed (seed $MONKEY_SEED)"; fi
    done

    # Flat: the last 30 s hold no more than the first 30 s beyond noise.
    # Wine counts no GDI or USER objects (GetGuiResources gives nothing),
    # so the game's windows stand for its USER objects where it does not.
    local rss0 rss1 win0 win1 gdi user
    read -r rss0 rss1 < <(window_medians 2 "$played")
    read -r win0 win1 < <(window_medians 10 "$played")
    gdi=$(awk 'END { print $4 }' "$WORK/samples")
    user=$(awk 'END { print $6 }' "$WORK/samples")
    note "monkey: $MONKEY_ACTIONS actions in $played s, $MONKEY_CHECKS checks ($MONKEY_GAMES in a game, $MONKEY_IDLE between games)"
    note "monkey: RSS $((rss0 / 1024)) MB in the first 30 s, $((rss1 / 1024)) MB in the last; windows $win0 and $win1; GDI objects ${gdi:--}, USER objects ${user:--} (- where Wine does not count them)"
    if [ "$rss1" -le $((rss0 + rss0 / 10 + 4096)) ] && [ "$rss1" -gt 0 ]; then
        pass "monkey: memory flat (RSS $((rss0 / 1024)) MB, then $((rss1 / 1024)) MB)"
    else
        fail "monkey: memory flat" "RSS $rss0 kB in the first 30 s, $rss1 kB in the last"
    fi
    if [ "$win1" -le $((win0 + 1)) ] && [ "$win1" -gt 0 ]; then
        pass "monkey: windows flat ($win0, then $win1)"
    else
        fail "monkey: windows flat" "$win0 in the first 30 s, $win1 in the last"
    fi
    if [ "$gdi" != - ]; then
        local gdi0 gdi1 user0 user1
        read -r gdi0 gdi1 < <(window_medians 4 "$played")
        read -r user0 user1 < <(window_medians 6 "$played")
        if [ "$gdi1" -le $((gdi0 + 10)) ] && [ "$user1" -le $((user0 + 10)) ]; then
            pass "monkey: GDI and USER objects flat ($gdi0/$user0, then $gdi1/$user1)"
        else
            fail "monkey: GDI and USER objects flat" "GDI $gdi0 then $gdi1, USER $user0 then $user1"
        fi
    fi

    look
    click_button "$ID_CLOSE"
    check_until "monkey: the close button ends the game" 20 game_ended
    check_until "monkey: and no Ambient is left" 20 ambient_ended
}
