#!/bin/sh
# The demo without a display: the question box cannot be shown (its texts go
# to standard error, the answer is 0: full screen), scripted input ends it,
# and the exit code is 0.
#   offscreen_demo.sh FLAMES close|escape|many-messages
set -u
FLAMES=$1
case $2 in
    close) EVENTS="30:close" ;;
    escape) EVENTS="30:key:0x1B" ;;
    # Forty inputs queued in one pump, one handled per frame, then the close box.
    many-messages)
        EVENTS=""
        i=1
        while [ $i -le 20 ]; do
            EVENTS="${EVENTS}10:move:$i,$i;"
            EVENTS="${EVENTS}10:key:0x41;"
            i=$((i + 1))
        done
        EVENTS="${EVENTS}11:close"
        ;;
    *) echo "unknown case $2" >&2; exit 2 ;;
esac

ERR=$(mktemp)
trap 'rm -f "$ERR"' EXIT
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ZIRU_TEST_EVENTS="$EVENTS" "$FLAMES" 2>"$ERR"
RC=$?
cat "$ERR" >&2
[ $RC -eq 0 ] || { echo "FAIL: exit code $RC" >&2; exit 1; }
grep -qx 'Video!: Settare lo schermo intero?  ' "$ERR" || { echo "FAIL: no question" >&2; exit 1; }
grep -q 'windows are invisible' "$ERR" || { echo "FAIL: no offscreen notice" >&2; exit 1; }
echo "PASS $2"
