#!/usr/bin/env bash
# Builds Vantor (Release) into build/ and starts it. Arguments are passed on
# to the program.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build"
"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build"

# The desktop program, where this tree builds it.
if ninja -C "$build" -t targets all 2>/dev/null | grep -q '^vantor:'; then
    if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
        echo "run: no display is set; start it from a desktop session (or under xvfb-run)" >&2
    fi
    exec "$build/bin/vantor" "$@"
fi

# Otherwise show the way finder at work on the shipped universe, between the
# first and the last system that its core data file names.
core="$build/bin/core.vr"
names=()
while IFS= read -r name; do
    names+=("$name")
done < <(LC_ALL=C awk -F, '{ sub(/\r$/, "") } $3 != "" { if (!seen++) first = $3; last = $3 }
                            END { if (seen) { print first; print last } }' "$core")
if ((${#names[@]} < 2)); then
    echo "run: $core names no system" >&2
    exit 1
fi
echo "Way from ${names[0]} to ${names[1]}:"
exec "$build/bin/vantor-route" --core "$core" -- "${names[0]}" "${names[1]}"
