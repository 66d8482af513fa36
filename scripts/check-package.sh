#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks what a build installs and packages, from a build folder that has been built:
#   - cmake --install lays out the program, its desktop entry, its icon and its AppStream
#     metadata, all three named by one application id, and both validators pass them; and the
#     chart engine: its library, headers, CMake package and pkg-config file;
#   - cpack builds three Debian packages: the program, the engine's runtime library and its
#     development files, which depend on each other by exact version; lintian finds no error
#     in them (its warnings are shown), and the program, unpacked with the library into a
#     scratch root, starts offscreen, stays up and ends when asked.
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
for path in include/korvatel/render/Chart.h include/korvatel/core/Export.h; do
    if [ ! -f "$prefix/$path" ]; then
        echo "cmake --install did not lay out $path" >&2
        exit 1
    fi
done
for pattern in 'libkorvatel.so.*.*' 'KorvatelConfig.cmake' 'KorvatelConfigVersion.cmake' \
    'KorvatelTargets.cmake' 'korvatel.pc'; do
    if [ -z "$(find "$prefix" -name "$pattern" -print -quit)" ]; then
        echo "cmake --install did not lay out $pattern" >&2
        exit 1
    fi
done
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"

rm -f "$build"/*.deb
if ! (cd "$build" && cpack -G DEB) > "$scratch/cpack.log" 2>&1; then
    cat "$scratch/cpack.log" >&2
    exit 1
fi
program_package=$(ls "$build"/korvatel_*.deb)
runtime_package=$(ls "$build"/libkorvatel[0-9]*.deb)
development_package=$(ls "$build"/libkorvatel-dev_*.deb)
runtime_name=$(dpkg-deb --field "$runtime_package" Package)
version=$(dpkg-deb --field "$runtime_package" Version)
for package in "$program_package" "$runtime_package" "$development_package"; do
    echo "Package: $package"
    dpkg-deb --field "$package" Depends
    # Errors fail the step; warnings are listed.
    lintian --fail-on error "$package" 2> >(grep -v 'running with root privileges' >&2)
done
# The program and the headers belong to one build of the library.
for package in "$program_package" "$development_package"; do
    if ! dpkg-deb --field "$package" Depends | grep -F "$runtime_name (= $version)" > /dev/null; then
        echo "$(basename "$package") does not depend on $runtime_name (= $version)" >&2
        exit 1
    fi
done
runtime_contents=$(dpkg-deb --contents "$runtime_package")
if ! grep -q 'libkorvatel\.so\.[0-9.]*$' <<<"$runtime_contents" ||
    grep -qE 'include/|\.so$|\.pc$|cmake/' <<<"$runtime_contents"; then
    echo "$runtime_name holds more or less than the versioned library:" >&2
    echo "$runtime_contents" >&2
    exit 1
fi

root=$scratch/root
dpkg-deb --extract "$program_package" "$root"
dpkg-deb --extract "$runtime_package" "$root"
library_dir=$(dirname "$(find "$root" -name 'libkorvatel.so.*' -print -quit)")
log=$scratch/korvatel.log
QT_QPA_PLATFORM=offscreen LD_LIBRARY_PATH=$library_dir "$root/usr/bin/korvatel" 2> "$log" &
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
