# What the end-to-end suites share (tests/e2e, tests/native, tests/deb):
# the PASS and FAIL lines and their count, waiting for a state, a private
# headless X server and comparing pictures. Sourced, not run. A suite sets
# WORK (its scratch folder) and ART (where logs go) before start_x, and
# ends with its "P passed, F failed" line.

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

# start_x: a private headless X server, 1600 x 1000; sets DISPLAY and
# XVFB_PID. Fails (saying so) when the server does not come up.
start_x() {
    exec 3>"$WORK/display"
    Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp >"$ART/xvfb.log" 2>&1 &
    XVFB_PID=$!
    exec 3>&-
    wait_for 30 test -s "$WORK/display" || { echo "FAIL: Xvfb did not start (see $ART/xvfb.log)"; return 1; }
    export DISPLAY=":$(head -n 1 "$WORK/display")"
}

# differing_pixels A.png B.png: how many pixels differ at all ("error: ..."
# when the two cannot be compared, for instance for differing sizes).
differing_pixels() {
    local out
    out=$(compare -metric AE "$1" "$2" null: 2>&1)
    case "$out" in
        '' | *[!0-9.e+]*) echo "error: $out" ;;
        *) awk -v n="$out" 'BEGIN { printf "%d\n", n }' ;;
    esac
}
