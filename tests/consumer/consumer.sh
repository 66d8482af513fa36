#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The engine as a program outside this tree uses it. Each step is a test of its own:
#   install BUILD WORK           installs the build into WORK/prefix (a fresh one)
#   headers SOURCE WORK          compiles every installed header on its own
#   find-package SOURCE WORK     builds and runs each example against the installed package,
#                                with only CMAKE_PREFIX_PATH pointing at the prefix
#   pkg-config SOURCE WORK       builds and runs the smallest example with pkg-config alone
#   add-subdirectory SOURCE WORK takes the checkout in with add_subdirectory: the engine alone
# The consumers are built without optimisation: they check the build, not the speed.
set -euo pipefail

step=${1:?usage: $0 STEP SOURCE_OR_BUILD WORK}
from=$(realpath "${2:?}")
work=${3:?}
mkdir -p "$work"
work=$(realpath "$work")
prefix=$work/prefix
export QT_QPA_PLATFORM=offscreen

configure() { # SOURCE BUILD [CMAKE ARGUMENTS...]
    local source=$1 build=$2
    shift 2
    rm -rf "$build"
    mkdir -p "$(dirname "$build")"
    cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE= "$@" > "$build.log" 2>&1 ||
        { cat "$build.log" >&2; return 1; }
}

build() { # BUILD
    cmake --build "$1" >> "$1.log" 2>&1 || { cat "$1.log" >&2; return 1; }
}

# Runs an example in a folder of its own and checks the file it writes, if it writes one.
run_example() { # PROGRAM NAME
    local program=$1 name=$2 folder=$work/run/$2 expected=
    rm -rf "$folder"
    mkdir -p "$folder"
    case $name in
        bar_png) expected=bars.png ;;
        pie_pdf) expected=pie.pdf ;;
        bars_3d) expected=bars3d.png ;;
        custom_series) expected=stems.png ;;
    esac
    (cd "$folder" && timeout 60 "$program" --quit-after 2) ||
        { echo "$name ended with status $?" >&2; return 1; }
    if [ -n "$expected" ]; then
        local kind
        kind=$(file -b "$folder/$expected" 2>/dev/null || true)
        case $expected:$kind in
            *.png:PNG\ image*|*.pdf:PDF\ document*) ;;
            *) echo "$name did not write $expected (found: ${kind:-nothing})" >&2; return 1 ;;
        esac
    fi
    echo "$name ran${expected:+ and wrote $expected}"
}

examples=(bar_png live_line pie_pdf bars_3d custom_series)

case $step in
    install)
        rm -rf "$prefix"
        cmake --install "$from" --prefix "$prefix" > "$work/install.log"
        echo "Installed into $prefix"
        ;;
    headers)
        configure "$from/tests/consumer/headers" "$work/headers" -DCMAKE_PREFIX_PATH="$prefix"
        build "$work/headers"
        grep -m1 -- '-- [0-9]* headers' "$work/headers.log" | sed 's/^-- //; s/$/ compile on their own/'
        ;;
    find-package)
        for name in "${examples[@]}"; do
            configure "$from/examples/$name" "$work/examples/$name" -DCMAKE_PREFIX_PATH="$prefix"
            build "$work/examples/$name"
            program=$work/examples/$name/korvatel_example_$name
            # The example must run on the installed library, not on the build tree's.
            # grep reads all of the list: one that stopped at the first match would end ldd
            # with a broken pipe, which pipefail counts as a failure.
            if ! ldd "$program" | grep -F "=> $prefix/" > /dev/null; then
                echo "$name is not linked against the library in $prefix:" >&2
                ldd "$program" >&2
                exit 1
            fi
            run_example "$program" "$name"
        done
        ;;
    pkg-config)
        pcdir=$(dirname "$(find "$prefix" -name korvatel.pc -print -quit)")
        export PKG_CONFIG_PATH=$pcdir
        version=$(pkg-config --modversion korvatel)
        echo "pkg-config finds korvatel $version"
        mkdir -p "$work/pkg-config"
        # shellcheck disable=SC2046
        g++ -std=c++20 -fPIC -o "$work/pkg-config/bar_png" "$from/examples/bar_png/main.cpp" \
            $(pkg-config --cflags --libs korvatel) -Wl,-rpath,"$(dirname "$pcdir")"
        run_example "$work/pkg-config/bar_png" bar_png
        ;;
    add-subdirectory)
        configure "$from/tests/consumer/add_subdirectory" "$work/add_subdirectory" \
            -DKORVATEL_SOURCE_DIR="$from"
        build "$work/add_subdirectory"
        run_example "$work/add_subdirectory/bar_png/korvatel_example_bar_png" bar_png
        ;;
    *)
        echo "unknown step: $step" >&2
        exit 2
        ;;
esac
