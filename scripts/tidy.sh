#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over the program's code
# (src/) and fails on any finding. It needs a configured build folder for the
# compile commands; by default the test command's build/.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
if [[ ! -f "$build/compile_commands.json" ]]; then
    echo "tidy.sh: no compile_commands.json in $build; run scripts/test.sh first" >&2
    exit 2
fi
# The generated sources (moc, resources) are not ours to tidy.
status=0
run-clang-tidy -quiet -p "$build" -j "$(nproc)" "^$root/src/.*\.cpp$" >"$build/clang-tidy.raw" 2>&1 ||
    status=$?
# Only the findings and errors are shown; clang-tidy's counts of the warnings
# it suppressed in headers that are not ours are noise.
grep -v -E '^[0-9]+ warnings? generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^clang-tidy-14 ' \
    "$build/clang-tidy.raw" | tee "$build/clang-tidy.log" || true
if grep -q -E ': (warning|error): ' "$build/clang-tidy.log"; then
    echo "tidy.sh: clang-tidy has findings (listed above)" >&2
    exit 1
fi
if [[ $status -ne 0 ]]; then
    echo "tidy.sh: run-clang-tidy failed with status $status (output above)" >&2
    exit 1
fi
echo "clang-tidy: no findings in src/"
