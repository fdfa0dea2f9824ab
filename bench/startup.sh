#!/usr/bin/env bash
# Start-up of the program against a bare Qt window, side by side on a virtual
# X display with a window manager: RUNS interleaved starts of each (default
# 20), every one with fresh configuration and data folders, from a working
# folder that holds FILES files (default none; users start programs from
# their crowded home folders). Prints the median time to the first paint and the median
# resident memory one second after it, and the ratios program / bare window.
# Usage: bench/startup.sh [BUILD_FOLDER] [RUNS] [FILES]   (build the targets
# vantor_startup_probe and vantor_bare_probe first; a RelWithDebInfo or
# Release build gives the figures that count)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-20}
files=${3:-0}
scratch=$(mktemp -d)
mkdir "$scratch/work"
for number in $(seq "$files"); do : >"$scratch/work/file$number.txt"; done
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap cleanup EXIT

display=:$((90 + RANDOM % 40))
Xvfb "$display" -screen 0 1600x900x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
jwm >/dev/null 2>&1 &
pids+=($!)
sleep 1

# One start: prints "<first paint ms> <rss kb>".
start() {
    local probe=$1 run=$2
    local home="$scratch/$run"
    mkdir -p "$home/config" "$home/data" "$home/runtime"
    chmod 700 "$home/runtime"
    (cd "$scratch/work" &&
        XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime" \
            timeout 30 "$build/bin/$probe" "$(date +%s%N)") | awk '{ print $2, $4 }'
}

: >"$scratch/vantor" >"$scratch/bare"
for run in $(seq "$runs"); do
    start vantor_bare_probe "b$run" >>"$scratch/bare"
    start vantor_startup_probe "v$run" >>"$scratch/vantor"
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
vantor_ms=$(cut -d' ' -f1 "$scratch/vantor" | median)
bare_ms=$(cut -d' ' -f1 "$scratch/bare" | median)
vantor_kb=$(cut -d' ' -f2 "$scratch/vantor" | median)
bare_kb=$(cut -d' ' -f2 "$scratch/bare" | median)
awk -v vm="$vantor_ms" -v bm="$bare_ms" -v vk="$vantor_kb" -v bk="$bare_kb" -v n="$runs" 'BEGIN {
    printf "%-34s %12s %12s %8s\n", "median of " n " interleaved starts", "Vantor", "bare window", "ratio"
    printf "%-34s %9.1f ms %9.1f ms %7.2fx\n", "start to first paint", vm, bm, vm / bm
    printf "%-34s %9.1f MB %9.1f MB %7.2fx\n", "resident memory 1 s after", vk / 1024, bk / 1024, vk / bk
}'
