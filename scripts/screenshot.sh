#!/usr/bin/env bash
# Takes the README's screenshot: the real program on a virtual X display with
# a window manager, a way typed in and found, the star map opened beside it.
# Usage: scripts/screenshot.sh [PROGRAM] [OUTPUT]
#   (defaults: build-run/bin/vantor, docs/screenshot.png; build it first with
#   scripts/run.sh --build-only)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
program=${1:-$root/build-run/bin/vantor}
output=${2:-$root/docs/screenshot.png}
for tool in Xvfb jwm xdotool import; do
    if ! command -v "$tool" >/dev/null; then
        echo "screenshot: $tool is missing (packages xvfb, jwm, xdotool, imagemagick)" >&2
        exit 1
    fi
done

scratch=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT
mkdir -m 700 "$scratch/runtime"
export DISPLAY=:$((60 + RANDOM % 30)) XDG_RUNTIME_DIR="$scratch/runtime"
export XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
Xvfb "$DISPLAY" -screen 0 1024x640x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
jwm >/dev/null 2>&1 &
pids+=($!)
sleep 1

"$program" >/dev/null 2>&1 &
pids+=($!)
main=$(timeout 20 xdotool search --sync --onlyvisible --name '^Vantor 1' | head -n 1)
xdotool windowmove --sync "$main" 20 40
sleep 0.5
# From, Enter, To, Enter: the way is found and written.
xdotool mousemove --window "$main" 60 114 click 1
xdotool type --delay 40 "Corvane"
xdotool key Return
xdotool type --delay 40 "Tallyhold"
xdotool key Return
sleep 0.5
# The star map beside the main window shows the way.
xdotool mousemove --window "$main" 441 33 click 1
sleep 1.5
xdotool mousemove 1000 620
sleep 1
mkdir -p "$(dirname "$output")"
import -window root -crop 740x540+10+20 +repage "$output"
echo "screenshot: $output"
