#!/usr/bin/env bash
# Installs every Debian 12 package that building, testing and running Vantor
# needs. Packages already present are left alone, and the package lists are
# refreshed only when something has to be installed.
set -euo pipefail

packages=(
    # compiler and build
    g++ cmake ninja-build
    # Qt 6 Widgets, Gui, PrintSupport, Test (OpenGL headers come along as its dependencies)
    qt6-base-dev
    # tests and benchmarks
    libgtest-dev libbenchmark-dev
    # fonts for headless rendering
    fontconfig fonts-dejavu-core
    # the windowed smoke test: X server, window manager, input and screenshots
    xvfb xauth xdotool x11-utils jwm
    # printing checks turn PDFs into text and pictures
    poppler-utils
    # the source format check
    clang-format clang-tidy
    # the install tree's checks and the Debian package
    desktop-file-utils appstream dpkg-dev
    # the fuzz targets (scripts/fuzz.sh): clang with its libFuzzer and sanitizer runtimes
    clang libclang-rt-14-dev
)

is_installed() {
    dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null | grep -qx installed
}

missing=()
for package in "${packages[@]}"; do
    if ! is_installed "$package"; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} == 0)); then
    echo "install-deps: all ${#packages[@]} packages are installed"
    exit 0
fi

if ((EUID != 0)); then
    echo "install-deps: missing packages: ${missing[*]}" >&2
    echo "install-deps: run this script as root to install them" >&2
    exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
