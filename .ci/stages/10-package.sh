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
# Listings are taken whole first: grep -q stopping early would break the pipe under pipefail.
depends=$(dpkg-deb --field "$deb" Depends)
contents=$(dpkg-deb --contents "$deb")
archive=$(tar -tzf "$tgz")
grep -q libc6 <<<"$depends"
grep -q './usr/bin/combogen$' <<<"$contents"
grep -q './usr/share/man/man1/combogen.1' <<<"$contents"
grep -q '/bin/combogen$' <<<"$archive"
echo "packages: ${deb##*/} ${tgz##*/}"
