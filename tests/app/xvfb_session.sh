#!/bin/sh
# Inside a bare X server (no window manager): the question box appears with
# its caption; No gives the framed 800 x 600 window (its 794 x 578 client
# area at 3, 19), Yes the screen-covering one; Escape and Alt+F4 each end
# the program within a second with exit code 0.
#   xvfb_session.sh FLAMES
set -u
FLAMES=$1
TITLE="Esempio di fiamme con ZirUzodo"
PID=""

fail() {
    echo "FAIL: $*" >&2
    echo "display $DISPLAY: $(xwininfo -root 2>&1 | head -n 2 | tr '\n' ' ')" >&2
    [ -n "$PID" ] && kill "$PID" 2>/dev/null
    exit 1
}

# Retries the condition every 0.1 s, up to $2 tries.
wait_for() {
    i=0
    while [ $i -lt "$2" ]; do
        eval "$1" && return 0
        sleep 0.1
        i=$((i + 1))
    done
    return 1
}

# The box's name is a UTF8_STRING property: only xwininfo lists it.
box_id() { xwininfo -root -tree | grep '"Video!"' | head -n 1 | awk '{print $1}'; }
main_id() { xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -n 1; }
geometry() {
    xwininfo -id "$1" | awk -F: '/Absolute upper-left X/ {x=$2} /Absolute upper-left Y/ {y=$2}
        /Width/ {w=$2} /Height/ {h=$2} END {gsub(/ /,"",x); gsub(/ /,"",y); gsub(/ /,"",w);
        gsub(/ /,"",h); print x","y","w"x"h}'
}

# run_case ANSWER-KEY EXPECTED-GEOMETRY CLOSE-KEYS
run_case() {
    "$FLAMES" &
    PID=$!
    wait_for '[ -n "$(box_id)" ]' 100 || fail "no question box"
    xdotool key --window "$(box_id)" "$1"
    wait_for '[ -n "$(main_id)" ]' 100 || fail "no window titled $TITLE after $1"
    # The window is made once more when its pixel format is set: ask again
    # until the final one answers.
    EXPECTED=$2
    wait_for 'GOT=$(geometry "$(main_id)" 2>/dev/null); [ "$GOT" = "$EXPECTED" ]' 30 ||
        fail "answer $1: geometry $GOT, expected $EXPECTED"
    # Keyboard focus comes with showing (no window manager); give the
    # program a moment to take it from its event queue.
    sleep 0.3
    xdotool key $3
    wait_for '! kill -0 $PID 2>/dev/null' 10 || fail "still running 1 s after $3"
    wait "$PID"
    RC=$?
    PID=""
    [ $RC -eq 0 ] || fail "exit code $RC after $3"
    echo "PASS: answer $1, window $GOT, $3 -> exit 0"
}

run_case Escape "3,19,794x578" Escape
run_case Escape "3,19,794x578" alt+F4
SCREEN=$(xwininfo -root | awk -F: '/Width/ {w=$2} /Height/ {h=$2} END {gsub(/ /,"",w);
    gsub(/ /,"",h); print (w-2)"x"(h-2)}')
run_case Return "1,1,$SCREEN" Escape
