#!/usr/bin/env bash
# Builds the Debian package: a Release build without tests and benchmarks in
# build-deb/, installed under /usr, packed by CPack. Prints the package's path.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-deb"
"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DVANTOR_BUILD_TESTS=OFF -DVANTOR_BUILD_BENCHMARKS=OFF -DVANTOR_SANITIZE=OFF -DVANTOR_WERROR=OFF
cmake --build "$build"
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/vantor_*.deb
