#!/usr/bin/env bash
# Installation into a prefix, the manual page, the .deb (lintian-clean, installed with apt,
# run, completed, removed) and the .tar.gz.
set -euo pipefail
tools/install-build-deps dpkg-dev man-db file lintian

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install build --prefix "$work/prefix"
test -x "$work/prefix/bin/combogen"
test -f "$work/prefix/share/man/man1/combogen.1.gz"
"$work/prefix/bin/combogen" 1 6 6 1 "$work/six.txt"
[ "$(cat "$work/six.txt")" = $'01 02 03 04 05 06\r' ]

warnings=$(man --warnings -l man/combogen.1 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "manual page warnings: $warnings"; exit 1; }

(cd build && cpack -B "$work/packages" >/dev/null)
deb=$(ls "$work"/packages/combogen_*.deb)
tgz=$(ls "$work"/packages/combogen-*.tar.gz)
dpkg-deb --field "$deb" Package Version Architecture Depends Section Maintainer
# Listings are taken whole first: grep -q stopping early would break the pipe under pipefail.
depends=$(dpkg-deb --field "$deb" Depends)
archive=$(tar -tzf "$tgz")
grep -q libc6 <<<"$depends"
grep -q '/bin/combogen$' <<<"$archive"

# Any error or warning fails; informational tags (I:) are shown but pass.
lintian --display-info --fail-on error,warning "$deb"
echo "lintian: no errors, no warnings"

# The package as a user gets it: installed by apt (CI runs as root), run from its installed
# path, its completion found by bash-completion, then removed without a trace.
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null
test "$(command -v combogen)" = /usr/bin/combogen
/usr/bin/combogen 1 6 6 1 "$work/installed.txt"
[ "$(cat "$work/installed.txt")" = $'01 02 03 04 05 06\r' ]
man -w combogen | grep -q '/usr/share/man/man1/combogen.1.gz$'
bash --norc -i -c '. /usr/share/bash-completion/bash_completion &&
    __load_completion combogen && complete -p combogen' 2>/dev/null | grep -q '_combogen combogen$'
DEBIAN_FRONTEND=noninteractive apt-get remove -y -q --purge combogen >/dev/null
test ! -e /usr/bin/combogen
test ! -e /usr/share/doc/combogen
echo "packages: ${deb##*/} ${tgz##*/}"
