# Wine, the programs under it and their processes: the prefix, the probe
# (scene-probe.exe, which watches the game from inside Wine), this run's
# copies of the programs and starting the game. Sourced by run.sh.

make_prefix() {
    export WINEPREFIX="$WORK/prefix" WINEARCH=win64 WINEDEBUG=-all
    # No Mono or Gecko installer dialogs, no menu entries in the user's home.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    audio_sink null
    local t0=$(date +%s%N)
    mkdir -p "$WINEPREFIX"
    wineserver -p  # stays up between the programs of this run
    wineboot -i >"$ART/wineboot.log" 2>&1
    # Without a window manager, Wine's own window handling: closing does not
    # stall and keyboard focus does not follow the pointer.
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="N"\n' >"$WORK/x11.reg"
    wine regedit /S "$WORK/x11.reg" >>"$ART/wineboot.log" 2>&1
    note "Wine prefix ready in $(( ($(date +%s%N) - t0) / 1000000 )) ms"
}

probe() { wine "$PROBE" "$@" 2>>"$ART/probe.log"; }

# probe_watch FIFO ARGS...: the probe in the background, its answers in
# FIFO; sets WATCHER, the probe's own process, which may be ended early.
probe_watch() {
    local fifo=$1
    shift
    rm -f "$fifo"
    mkfifo "$fifo"
    (exec wine "$PROBE" "$@" 2>>"$ART/probe.log") >"$fifo" &
    WATCHER=$!
}

stop_watch() {
    kill "$WATCHER" 2>/dev/null
    wait "$WATCHER" 2>/dev/null
}


# ------------------------------------------------------------ the programs

# Copies of the build: one complete, one without Ambient.
install_copies() {
    mkdir -p "$WORK/game/Audio_Bkgrnd" "$WORK/lonely"
    cp "$GAME_DIR/Plinkfield.exe" "$WORK/game/"
    cp "$GAME_DIR/Audio_Bkgrnd/Ambient.exe" "$WORK/game/Audio_Bkgrnd/"
    cp "$GAME_DIR/Plinkfield.exe" "$WORK/lonely/"
}

# Living processes of this run's copy of a program file, read from /proc
# (a fresh machine may lack ps). A Wine process is known by the path it was
# started with: the game by its Linux path, Ambient (started by the game)
# by its Windows path. Wine puts it first in the command line once the
# program runs; until then it follows the loader's own name. Ended ones
# linger as zombies; one that ends while it is read is not counted.
pids_of() {
    local file pid args arg
    for file in $(grep -l -a -F -- "$TAG" /proc/[0-9]*/cmdline 2>/dev/null); do
        pid=${file#/proc/}
        pid=${pid%/cmdline}
        mapfile -d '' -t args <"$file" 2>/dev/null || continue
        [ "${args[0]:-}" ] && alive "$pid" || continue
        case "${args[0]##*/}" in wine*) ;; *) args=("${args[0]}") ;; esac
        for arg in "${args[@]}"; do
            case "$arg" in *"\\$1" | *"/$1")
                echo "$pid"
                break
                ;;
            esac
        done
    done
}

processes_of() { pids_of "$1" | wc -l; }

ambient_running() { [ "$(processes_of Ambient.exe)" -ge 1 ]; }
ambient_ended() { [ "$(processes_of Ambient.exe)" -eq 0 ]; }
at_most_one_ambient() { [ "$(processes_of Ambient.exe)" -le 1 ]; }
ambient_window_made() { [ "$(probe count Ambient)" != "0 0" ]; }
game_ended() { [ "$(processes_of Plinkfield.exe)" -eq 0 ]; }

# Starts the game from its own folder; sets STARTUP_MS, process start to
# main window shown, as the probe saw it, and WIN, its X window.
launch_game() {
    local dir=$1
    : >"$WORK/shown"
    probe wait-window 30000 >"$WORK/shown" &
    local waiter=$!
    # The clock starts once the probe is polling.
    wait_for 30 grep -q '^waiting' "$WORK/shown"
    local t0=$(date +%s%3N)
    # By its full path, so that its process can be told apart.
    (cd "$dir" && exec wine "$dir/Plinkfield.exe") >>"$ART/game.log" 2>&1 &
    STARTUP_MS=""
    WIN=""
    wait "$waiter" || return 1
    STARTUP_MS=$(( $(awk '$1 == "shown" { print $2 }' "$WORK/shown") - t0 ))
    WIN=$(xdotool search --name '^Plinkfield$' | tail -n 1)
    [ -n "$WIN" ]
}
