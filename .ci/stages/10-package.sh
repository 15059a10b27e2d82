#!/usr/bin/env bash
# Installation into a prefix, the manual page, and the .deb and .tar.gz packages.
set -euo pipefail
tools/install-build-deps dpkg-dev man-db file

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install build --prefix "$work/prefix"
test -x "$work/prefix/bin/combogen"
test -f "$work/prefix/share/man/man1/combogen.1"
"$work/prefix/bin/combogen" 1 6 6 1 "$work/six.txt"
[ "$(cat "$work/six.txt")" = $'01 02 03 04 05 06\r' ]

warnings=$(man --warnings -l man/combogen.1 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "manual page warnings: $warnings"; exit 1; }

(cd build && cpack -B "$work/packages" >/dev/null)
deb=$(ls "$work"/packages/combogen_*.deb)
tgz=$(ls "$work"/packages/combogen-*.tar.gz)
dpkg-deb --field "$deb" Package Version Architecture Depends Section Maintainer Description
dpkg-deb --field "$deb" Depends | grep -q libc6
dpkg-deb --contents "$deb" | grep -q './usr/bin/combogen$'
dpkg-deb --contents "$deb" | grep -q './usr/share/man/man1/combogen.1'
tar -tzf "$tgz" | grep -q '/bin/combogen$'
echo "packages: ${deb##*/} ${tgz##*/}"
