# This run's processes, read from /proc (a fresh machine may lack ps), with
# shell builtins only: the waits ask often. Ended ones linger as zombies
# until reaped: they count as gone. Sourced by harness.sh.

# process_state PID: its state letter (R, S, T for stopped, Z...), nothing
# once it is gone.
process_state() {
    local stat
    [ -n "$1" ] && { read -r stat <"/proc/$1/stat"; } 2>/dev/null || return 0
    stat=${stat##*) }
    echo "${stat%% *}"
}

# alive PID: it runs (or sleeps, or is stopped): it exists and is no zombie.
alive() {
    local stat
    [ -n "$1" ] && { read -r stat <"/proc/$1/stat"; } 2>/dev/null || return 1
    stat=${stat##*) }
    [ "${stat%% *}" != Z ]
}
gone() { ! alive "$1"; }

# parent_of PID
parent_of() {
    local stat
    { read -r stat <"/proc/$1/stat"; } 2>/dev/null || return 0
    stat=${stat##*) }
    stat=${stat#* }
    echo "${stat%% *}"
}

# processes_from PATTERN: the living processes whose program file matches
# the shell pattern, one pid a line.
processes_from() {
    local exe pid
    for exe in /proc/[0-9]*/exe; do
        # shellcheck disable=SC2254
        case "$(readlink "$exe" 2>/dev/null)" in $1) ;; *) continue ;; esac
        pid=${exe#/proc/}
        pid=${pid%/exe}
        alive "$pid" && echo "$pid"
    done
}
