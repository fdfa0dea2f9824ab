#!/usr/bin/env bash
# The real program on a virtual X display with a window manager: opens the
# star map and the avoid window, moves the main window and checks that the
# satellites followed it. Usage: run-smoke.sh [path to vantor]
set -uo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/../.." || exit 1
program="${1:-build/bin/vantor}"

# Window-relative points of the main window's controls (client pixels).
readonly STARMAP_PICTURE=(441 33) # "Show starmap", centre of 405, 6, 73 x 54
readonly AVOID_BUTTON=(68 438)    # "Avoid contact with" on the navigation page
readonly CLOSE_BAR=(465 287)      # the "X" bar, centre of 454, 92, 23 x 391
readonly FIRST_SLOT=492
readonly SECOND_SLOT=602
readonly TOLERANCE=3 # pixels of frame decoration the window manager may add

passed=0
failed=0
pids=()
scratch=""

pass() { echo "smoke: ok - $*"; passed=$((passed + 1)); }
fail() { echo "smoke: FAILED - $*" >&2; failed=$((failed + 1)); }

summary_and_exit() {
    echo "smoke: ${passed} passed, ${failed} failed"
    [[ ${failed} -eq 0 ]]
    exit $?
}

# shellcheck disable=SC2317 # runs from the trap
cleanup() {
    local index
    for ((index = ${#pids[@]} - 1; index >= 0; index--)); do
        kill "${pids[index]}" 2>/dev/null
        wait "${pids[index]}" 2>/dev/null
    done
    [[ -n "${scratch}" ]] && rm -rf "${scratch}"
}
trap cleanup EXIT

for tool in Xvfb jwm xdotool xwininfo; do
    if ! command -v "${tool}" >/dev/null; then
        fail "${tool} is not installed"
        summary_and_exit
    fi
done
if [[ ! -x "${program}" ]]; then
    fail "no program at ${program}; build it first"
    summary_and_exit
fi

free_display() {
    local number
    for number in $(seq 97 140); do
        if [[ ! -e /tmp/.X${number}-lock && ! -e /tmp/.X11-unix/X${number} ]]; then
            echo ":${number}"
            return 0
        fi
    done
    return 1
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    local seconds=$1
    shift
    local tries=$((seconds * 10))
    while ((tries-- > 0)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# The window's frame position as "left top": the client's absolute place less
# its offset inside the window manager's frame.
frame_position() {
    xwininfo -id "$1" | awk '
        /Absolute upper-left X/ { ax = $NF } /Absolute upper-left Y/ { ay = $NF }
        /Relative upper-left X/ { rx = $NF } /Relative upper-left Y/ { ry = $NF }
        END { print ax - rx, ay - ry }'
}

find_window() { xdotool search --onlyvisible --name "$1" | head -n 1; }

click_in() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

# The satellite's frame stands at the main window's frame plus the offset,
# with the same top.
check_slot() {
    local name=$1 window=$2 offset=$3
    local main_left main_top left top
    read -r main_left main_top < <(frame_position "${main_window}")
    read -r left top < <(frame_position "${window}")
    local dx=$((left - main_left - offset)) dy=$((top - main_top))
    if ((${dx#-} <= TOLERANCE && ${dy#-} <= TOLERANCE)); then
        pass "${name} at main window + ${offset} (${left},${top}; main ${main_left},${main_top})"
    else
        fail "${name} at ${left},${top}, main window at ${main_left},${main_top}: expected left +${offset} and the same top"
    fi
}

display=$(free_display) || {
    fail "no free X display"
    summary_and_exit
}
scratch=$(mktemp -d)
mkdir -m 700 "${scratch}/runtime" "${scratch}/config"
export DISPLAY="${display}"
export XDG_RUNTIME_DIR="${scratch}/runtime"
export XDG_CONFIG_HOME="${scratch}/config"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

Xvfb "${display}" -screen 0 1600x900x24 -nolisten tcp >"${scratch}/xvfb.log" 2>&1 &
pids+=($!)
if ! wait_for 10 xdotool getdisplaygeometry; then
    fail "Xvfb did not start on ${display}: $(cat "${scratch}/xvfb.log")"
    summary_and_exit
fi
jwm >"${scratch}/jwm.log" 2>&1 &
pids+=($!)
wait_for 10 xprop -root _NET_SUPPORTING_WM_CHECK || true
sleep 1

"${program}" >"${scratch}/vantor.log" 2>&1 &
vantor_pid=$!
pids+=("${vantor_pid}")

main_window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Vantor 1\.03 XDR / EV$' | head -n 1)
if [[ -z "${main_window}" ]]; then
    fail "the main window did not show: $(cat "${scratch}/vantor.log")"
    summary_and_exit
fi
pass "main window shown"
sleep 0.5

read -r start_left start_top < <(frame_position "${main_window}")
click_in "${main_window}" "${STARMAP_PICTURE[@]}"
if wait_for 10 find_window '^Starmap$' && map_window=$(find_window '^Starmap$') && [[ -n "${map_window}" ]]; then
    pass "star map opened"
else
    fail "the star map did not open"
    summary_and_exit
fi
sleep 0.5
check_slot "star map as opened" "${map_window}" "${FIRST_SLOT}"
# The map leads once shown; the window manager's first report of its place
# must not shift the main window.
read -r main_left main_top < <(frame_position "${main_window}")
if ((main_left == start_left && main_top == start_top)); then
    pass "main window stays in place when the star map opens"
else
    fail "opening the star map moved the main window from ${start_left},${start_top} to ${main_left},${main_top}"
fi

click_in "${main_window}" "${AVOID_BUTTON[@]}"
avoid_window=""
if wait_for 10 find_window '^Avoid$'; then
    avoid_window=$(find_window '^Avoid$')
    pass "avoid window opened"
else
    fail "the avoid window did not open"
fi
sleep 0.5

# The user activates the main window before dragging it.
xdotool windowactivate --sync "${main_window}" 2>/dev/null || click_in "${main_window}" 200 30
sleep 0.5
xdotool windowmove --sync "${main_window}" 150 120 2>/dev/null || xdotool windowmove "${main_window}" 150 120
sleep 1

if [[ -n "${avoid_window}" ]]; then
    check_slot "avoid window" "${avoid_window}" "${FIRST_SLOT}"
    check_slot "star map" "${map_window}" "${SECOND_SLOT}"
else
    check_slot "star map" "${map_window}" "${FIRST_SLOT}"
fi

# A second move: the row follows again, not only once.
xdotool windowmove "${main_window}" 60 300
sleep 1
check_slot "star map after a second move" "${map_window}" \
    "$([[ -n "${avoid_window}" ]] && echo "${SECOND_SLOT}" || echo "${FIRST_SLOT}")"

# Dragging the star map, once it leads, drags the main window along. The
# window manager may place the frame or the client at the point asked for.
xdotool windowactivate --sync "${map_window}" 2>/dev/null || click_in "${map_window}" 100 5
sleep 0.5
read -r map_left_before _ < <(frame_position "${map_window}")
xdotool windowmove "${map_window}" 900 200
sleep 1
read -r map_left map_top < <(frame_position "${map_window}")
if ((map_left - map_left_before > 100)); then
    check_slot "star map after dragging the map" "${map_window}" \
        "$([[ -n "${avoid_window}" ]] && echo "${SECOND_SLOT}" || echo "${FIRST_SLOT}")"
    if [[ -n "${avoid_window}" ]]; then
        check_slot "avoid window after dragging the map" "${avoid_window}" "${FIRST_SLOT}"
    fi
else
    fail "the star map did not move: it stands at ${map_left},${map_top}"
fi

# The close bar ends the program.
xdotool windowactivate --sync "${main_window}" 2>/dev/null || true
click_in "${main_window}" "${CLOSE_BAR[@]}"
if wait_for 10 bash -c "! kill -0 ${vantor_pid} 2>/dev/null"; then
    pass "program closed by its close bar"
else
    fail "the program did not end after a click on its close bar"
fi

summary_and_exit
