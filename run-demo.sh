#!/usr/bin/env bash
# Builds the flame demo and starts it with assets/ as its working directory.
# Without a display it says so and renders a snapshot picture instead.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
ziru_install_deps
ziru_build build

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${SDL_VIDEODRIVER:-}" ]; then
    echo "No display: the demo's window cannot be shown here."
    if [ -x build/tools/snapshot ]; then
        (cd assets && ../build/tools/snapshot --frames 200 --out ../build/flames-snapshot.png)
        echo "Rendered the scene without a display instead: build/flames-snapshot.png"
    else
        echo "Run it on a desktop, or under a virtual display:"
        echo "  xvfb-run -a -s \"-noreset -screen 0 1280x1024x24\" ./run-demo.sh"
    fi
    exit 0
fi
cd assets
exec ../build/app/flames
