#!/usr/bin/env bash
# Builds the program (Release, without tests and benchmarks) into build-run/
# and starts it with the shipped universe. Arguments are passed on to the
# program.
#
#   scripts/run.sh                 build, then start the program
#   scripts/run.sh --build-only    build only
#   scripts/run.sh --werror ...    treat compiler warnings as errors (CI)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-run"
build_only=0
werror=OFF
while (($# > 0)); do
    case "$1" in
    --build-only) build_only=1 ;;
    --werror) werror=ON ;;
    *) break ;;
    esac
    shift
done

"$root/scripts/install-deps.sh"

# Every option this build relies on is passed, so an older build-run/ can't
# change what it builds.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVANTOR_BUILD_TESTS=OFF -DVANTOR_BUILD_BENCHMARKS=OFF -DVANTOR_SANITIZE=OFF \
    -DVANTOR_WERROR="$werror"
cmake --build "$build" --target vantor vantor-route

if ((build_only)); then
    echo "run: built $build/bin/vantor"
    exit 0
fi
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "run: no display is set; start it from a desktop session, or without one as" >&2
    echo "     xvfb-run -a scripts/run.sh" >&2
    exit 1
fi
exec "$build/bin/vantor" "$@"
