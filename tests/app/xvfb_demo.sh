#!/bin/sh
# The demo on a virtual X display: runs xvfb_session.sh under xvfb-run.
# Exit code 77 (skipped) where xvfb-run or xdotool is missing.
#   xvfb_demo.sh FLAMES
set -u
for tool in xvfb-run xdotool xwininfo; do
    command -v $tool >/dev/null 2>&1 || { echo "SKIP: $tool missing"; exit 77; }
done
# Several servers may start at once on a shared machine: searching for a free
# display from a number of our own keeps two of them from racing for one.
FIRST=$((200 + $$ % 600))
# -noreset: a bare server resets when its last client leaves, and the
# question box is the only client until the window opens; a reset then
# refuses the demo's connection.
# The demo must use the X display, whatever driver the caller chose.
unset SDL_VIDEODRIVER
exec timeout 90 xvfb-run -a -n $FIRST -s "-noreset -screen 0 1280x1024x24" sh "$(dirname "$0")/xvfb_session.sh" "$1"
