#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks what a build installs and packages, from a build folder that has been built:
#   - cmake --install lays out the program, its desktop entry, its icon and its AppStream
#     metadata, all three named by one application id, and both validators pass them;
#   - cpack builds a Debian package, lintian finds no error in it (its warnings are shown),
#     and the program, unpacked from it into a scratch root, starts offscreen, stays up and
#     ends when asked.
#
#   scripts/check-package.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:?usage: $0 BUILD_DIR}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" > /dev/null
desktop=("$prefix"/share/applications/*.desktop)
id=$(basename "${desktop[0]}" .desktop)
echo "Application id: $id"
for path in bin/korvatel \
    "share/applications/$id.desktop" \
    "share/icons/hicolor/scalable/apps/$id.svg" \
    "share/metainfo/$id.metainfo.xml"; do
    if [ ! -f "$prefix/$path" ]; then
        echo "cmake --install did not lay out $path" >&2
        exit 1
    fi
done
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"

rm -f "$build"/korvatel_*.deb
if ! (cd "$build" && cpack -G DEB) > "$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    exit 1
fi
package=$(ls "$build"/korvatel_*.deb)
echo "Package: $package"
dpkg-deb --field "$package" Depends
# Errors fail the step; warnings are listed.
lintian --fail-on error "$package" 2> >(grep -v 'running with root privileges' >&2)

root=$scratch/root
dpkg-deb --extract "$package" "$root"
log=$scratch/korvatel.log
QT_QPA_PLATFORM=offscreen "$root/usr/bin/korvatel" 2> "$log" &
program=$!
sleep 3
if ! kill -0 "$program" 2> /dev/null; then
    status=0
    wait "$program" || status=$?
    echo "The packaged program did not stay up (exit status $status):" >&2
    cat "$log" >&2
    exit 1
fi
kill -TERM "$program"
status=0
wait "$program" || status=$?
# 128 + 15: ended by the signal it was sent, not by one of its own.
if [ "$status" -ne 143 ]; then
    echo "The packaged program ended with status $status instead of on SIGTERM:" >&2
    cat "$log" >&2
    exit 1
fi
echo "The packaged program started offscreen and ended when asked"
