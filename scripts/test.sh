#!/usr/bin/env bash
# Builds Vantor with its tests into build/ and runs them all.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$root/build" -G Ninja
cmake --build "$root/build"
# GUI tests need no display: they run on Qt's offscreen platform.
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
ctest --test-dir "$root/build" --output-on-failure
