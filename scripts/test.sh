#!/usr/bin/env bash
# Builds Vantor with its tests and benchmarks into build/, warnings as errors,
# and runs every test. Fails when no test ran.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build"
"$root/scripts/install-deps.sh"

# Every option this build relies on is passed, so an older build/ can't
# change what it builds.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVANTOR_BUILD_TESTS=ON -DVANTOR_BUILD_BENCHMARKS=ON -DVANTOR_SANITIZE=OFF \
    -DVANTOR_WERROR=ON
cmake --build "$build"
# GUI tests need no display: they run on Qt's offscreen platform.
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
ctest --test-dir "$build" --output-on-failure --no-tests=error
