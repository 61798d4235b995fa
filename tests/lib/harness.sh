# What every shell suite shares (tests/e2e, tests/native, tests/deb): the
# PASS and FAIL lines, their count and the closing line, and waiting for a
# state. Sourced, not run; it sources the rest of tests/lib/ with it:
# x11.sh (a private X server, the pointer, the window), pictures.sh
# (screenshots against the painted files), processes.sh (this run's
# processes, zombies left out) and dump.sh (the native game's scene dump).
# A suite sets WORK (its scratch folder) and ART (where logs go) before
# using them, and ends with `summary`, the one line "P passed, F failed"
# that every suite, the page's too, closes with and scripts/test-stress reads.

PASSED=0
FAILED=0

pass() {
    echo "PASS: $1"
    PASSED=$((PASSED + 1))
}

fail() {
    echo "FAIL: $1${2:+ -- $2}"
    FAILED=$((FAILED + 1))
}

# expect NAME EXPECTED ACTUAL
expect() {
    if [ "$2" = "$3" ]; then pass "$1"; else fail "$1" "expected '$2', got '$3'"; fi
}

# check NAME COMMAND...: passes when COMMAND succeeds, now.
check() {
    local name=$1
    shift
    if "$@"; then pass "$name"; else fail "$name"; fi
}

note() { echo "  .. $*"; }

# summary: the closing line, "P passed, F failed"; fails when a check failed
# or none ran.
summary() {
    echo "$PASSED passed, $FAILED failed"
    [ "$FAILED" -eq 0 ] && [ "$PASSED" -gt 0 ]
}

# wait_for SECONDS COMMAND...: runs COMMAND until it succeeds; fails when
# SECONDS have passed first. WAIT_POLL is the pause between tries.
wait_for() {
    local deadline=$(($(date +%s%N) + $1 * 1000000000))
    shift
    until "$@"; do
        [ "$(date +%s%N)" -ge "$deadline" ] && return 1
        sleep "${WAIT_POLL:-0.05}"
    done
}

# check_until NAME SECONDS COMMAND...: passes once COMMAND succeeds, fails
# if it has not within SECONDS.
check_until() {
    local name=$1
    shift
    if wait_for "$@"; then pass "$name"; else fail "$name"; fi
}

# expect_until NAME EXPECTED SECONDS COMMAND...: runs COMMAND (in this
# shell, so that what it reads stays read) until it prints EXPECTED, at
# most SECONDS; fails with what it printed last.
expect_until() {
    local name=$1 expected=$2 deadline=$(($(date +%s%N) + $3 * 1000000000)) actual
    shift 3
    while :; do
        "$@" >"$WORK/actual" 2>/dev/null
        actual=$(<"$WORK/actual")
        [ "$actual" = "$expected" ] && { pass "$name"; return 0; }
        [ "$(date +%s%N)" -ge "$deadline" ] && { fail "$name" "expected '$expected', got '$actual'"; return 1; }
        sleep "${WAIT_POLL:-0.05}"
    done
}

LIB=$(dirname "${BASH_SOURCE[0]}")
# shellcheck source=tests/lib/x11.sh
. "$LIB/x11.sh"
# shellcheck source=tests/lib/pictures.sh
. "$LIB/pictures.sh"
# shellcheck source=tests/lib/processes.sh
. "$LIB/processes.sh"
# shellcheck source=tests/lib/dump.sh
. "$LIB/dump.sh"
