#!/usr/bin/env bash
# Installs the build into a scratch folder as a package would (/usr) and
# checks what a desktop and a packager look for: every file in its place, the
# desktop entry and the AppStream metadata valid (warnings count as
# failures), the manual page well-formed, and the installed vantor-route
# finding the shipped universe in its share folder.
# Usage: check-install.sh BUILD_FOLDER
set -uo pipefail

build=$1
scratch=$(mktemp -d)
trap 'rm -rf "${scratch}"' EXIT
failed=0
fail() { echo "install: FAILED - $*" >&2; failed=1; }

if ! DESTDIR="${scratch}" cmake --install "${build}" --prefix /usr >"${scratch}.log" 2>&1; then
    cat "${scratch}.log" >&2
    fail "cmake --install did not succeed"
    exit 1
fi
root="${scratch}/usr"

for file in bin/vantor bin/vantor-route share/vantor/core.vr share/vantor/vantor.vr \
    share/applications/example.tessaly.vantor.desktop \
    share/metainfo/example.tessaly.vantor.metainfo.xml \
    share/man/man1/vantor-route.1 share/doc/vantor/copyright \
    share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/vantor.png; do
    [[ -s "${root}/${file}" ]] || fail "${file} is not installed"
done
for program in bin/vantor bin/vantor-route; do
    [[ -x "${root}/${program}" ]] || fail "${program} is not executable"
done

desktop=$(desktop-file-validate "${root}/share/applications/example.tessaly.vantor.desktop" 2>&1)
[[ -z "${desktop}" ]] || fail "desktop-file-validate: ${desktop}"

metainfo=$(appstreamcli validate --no-net --no-color \
    "${root}/share/metainfo/example.tessaly.vantor.metainfo.xml" 2>&1)
status=$?
if ((status != 0)) || grep -qE '^[EW]:' <<<"${metainfo}"; then
    fail "appstreamcli validate: ${metainfo}"
fi

manual=$(groff -man -ww -z "${root}/share/man/man1/vantor-route.1" 2>&1)
[[ -z "${manual}" ]] || fail "the manual page: ${manual}"

way=$("${root}/bin/vantor-route" Corvane Tallyhold 2>&1)
[[ "$(wc -l <<<"${way}")" == 6 && "${way}" == "Corvane through"* ]] ||
    fail "the installed vantor-route found no way from its share folder: ${way}"

((failed == 0)) && echo "install: the installed tree is complete and valid"
exit "${failed}"
