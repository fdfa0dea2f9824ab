#!/usr/bin/env bash
# Installs the Debian package into a fresh minimal Debian 12 (a debootstrap
# chroot, made once in build-chroot/) with apt, as a user would, and checks
# that both programs start there. Needs root and the network.
# Usage: scripts/check-package.sh [PACKAGE]   (default: build-deb/vantor_*.deb)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
chroot="$root/build-chroot"
package=${1:-$(ls "$root"/build-deb/vantor_*.deb | head -n 1)}
command -v debootstrap >/dev/null || apt-get install -y -q debootstrap

if [[ ! -x "$chroot/usr/bin/apt-get" ]]; then
    debootstrap --variant=minbase bookworm "$chroot" http://deb.debian.org/debian
fi
mountpoint -q "$chroot/proc" || mount -t proc proc "$chroot/proc"
trap 'umount "$chroot/proc" 2>/dev/null || true' EXIT
cp "$package" "$chroot/tmp/vantor.deb"

chroot "$chroot" /bin/bash -euo pipefail -c '
    export DEBIAN_FRONTEND=noninteractive HOME=/root
    apt-get update -q >/dev/null
    apt-get install -y -q /tmp/vantor.deb >/dev/null
    way=$(vantor-route Corvane Tallyhold)
    [[ $(wc -l <<<"$way") == 6 ]] || { echo "vantor-route: $way" >&2; exit 1; }
    test -f /usr/share/applications/example.tessaly.vantor.desktop
    # The window program runs until it is closed: five seconds alive is a start.
    cd /tmp && status=0 && QT_QPA_PLATFORM=offscreen timeout 5 vantor >/dev/null 2>&1 || status=$?
    [[ $status == 124 ]] || { echo "vantor ended with status $status" >&2; exit 1; }
'
echo "check-package: $(basename "$package") installs on a fresh Debian 12 and both programs start"
