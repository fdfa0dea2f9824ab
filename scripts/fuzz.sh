#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/ and runs each one for a bounded
# number of inputs or seconds.
#
#   scripts/fuzz.sh [--runs N] [--seconds S] [TARGET...]
#
# Without --runs and --seconds each target runs 60 seconds; with both it
# stops at whichever comes first. Without TARGETs every target of
# fuzz/CMakeLists.txt runs. Seeds come from fuzz/corpus/TARGET/ (never
# written); inputs found on the way collect in build-fuzz/corpus/TARGET/ and
# crashing inputs in build-fuzz/artifacts/TARGET/. Exit status 1 when a target
# found a crash, a leak, undefined behaviour or an input slower than 10 s.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-fuzz"
runs=""
seconds=""
targets=()

usage() { sed -n '2,/^set -euo/p' "${BASH_SOURCE[0]}" | sed '$d; s/^# \{0,1\}//'; }
while (($#)); do
    case "$1" in
    --runs) runs="${2:?--runs needs a number}"; shift 2 ;;
    --seconds) seconds="${2:?--seconds needs a number}"; shift 2 ;;
    -h | --help) usage; exit 0 ;;
    -*) echo "fuzz: unknown option $1" >&2; usage >&2; exit 64 ;;
    *) targets+=("$1"); shift ;;
    esac
done
if [[ -z "$runs" && -z "$seconds" ]]; then
    seconds=60
fi

"$root/scripts/install-deps.sh"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVANTOR_FUZZ=ON -DVANTOR_BUILD_TESTS=OFF -DVANTOR_BUILD_BENCHMARKS=OFF
cmake --build "$build" --target vantor_fuzzers

if ((${#targets[@]} == 0)); then
    mapfile -t targets < "$build/fuzz/targets.txt"
fi

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
passed=0
failed=0
for target in "${targets[@]}"; do
    binary="$build/bin/fuzz_$target"
    if [[ ! -x "$binary" ]]; then
        echo "fuzz: no target $target (fuzz/CMakeLists.txt lists: $(paste -sd' ' "$build/fuzz/targets.txt"))" >&2
        exit 64
    fi
    found="$build/corpus/$target"
    artifacts="$build/artifacts/$target"
    mkdir -p "$found" "$artifacts"
    options=(-timeout=10 -print_final_stats=1 "-artifact_prefix=$artifacts/")
    [[ -n "$runs" ]] && options+=("-runs=$runs")
    [[ -n "$seconds" ]] && options+=("-max_total_time=$seconds")
    [[ -f "$root/fuzz/$target.dict" ]] && options+=("-dict=$root/fuzz/$target.dict")
    seeds=()
    [[ -d "$root/fuzz/corpus/$target" ]] && seeds+=("$root/fuzz/corpus/$target")

    echo "==== fuzz_$target ${options[*]}"
    if "$binary" "${options[@]}" "$found" "${seeds[@]}"; then
        passed=$((passed + 1))
    else
        echo "fuzz: fuzz_$target failed; the input is in $artifacts/" >&2
        failed=$((failed + 1))
    fi
done

echo "fuzz: $passed passed, $failed failed"
((failed == 0))
