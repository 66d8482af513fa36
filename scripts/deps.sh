# SPDX-License-Identifier: MIT
# Sourced by the set-up scripts: makes sure the Debian packages the build needs are there.
# As root it installs what is missing; otherwise it prints the command to run and stops.
# It also makes the locales that the tests run the program under available.

# One package a line.
KORVATEL_PACKAGES=(
    # Build
    cmake
    ninja-build
    g++
    pkg-config
    qt6-base-dev
    qt6-svg-dev
    libgl-dev
    # Tests
    libgtest-dev
    fonts-liberation
    locales
    xvfb
    xauth
    xdotool
    poppler-utils
    clang
    libclang-rt-14-dev
    valgrind
    binutils
    # Install and package checks
    desktop-file-utils
    appstream
    dpkg-dev
    file
    lintian
    # The engine's API reference
    doxygen
)

# Locales whose decimal separator is a comma: the program must write and read its numbers
# with a point under them.
KORVATEL_LOCALES=(
    hu_HU.UTF-8
    de_DE.UTF-8
)

korvatel_missing_packages() {
    local package
    for package in "${KORVATEL_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            printf '%s\n' "$package"
        fi
    done
}

korvatel_missing_locales() {
    local locale installed
    installed=$(locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]' | tr -d '-')
    for locale in "${KORVATEL_LOCALES[@]}"; do
        # locale -a writes hu_HU.UTF-8 as hu_HU.utf8.
        if ! grep -qx "$(printf '%s' "$locale" | tr '[:upper:]' '[:lower:]' | tr -d '-')" \
            <<<"$installed"; then
            printf '%s\n' "$locale"
        fi
    done
}

# Compiles the missing locales as root; otherwise says what to run. The tests that need them
# skip, loudly, without them.
korvatel_require_locales() {
    local locale missing
    missing=$(korvatel_missing_locales)
    [ -z "$missing" ] && return 0
    for locale in $missing; do
        if [ "$(id -u)" -ne 0 ]; then
            echo "The locale tests need $locale. Compile it, then run this command again:" >&2
            echo "  sudo localedef -i ${locale%%.*} -f UTF-8 $locale" >&2
            continue
        fi
        echo "Compiling the locale $locale"
        localedef -i "${locale%%.*}" -f UTF-8 "$locale"
    done
}

korvatel_require_packages() {
    local missing
    missing=$(korvatel_missing_packages | tr '\n' ' ')
    missing=${missing% }
    if [ -n "$missing" ]; then
        if [ "$(id -u)" -ne 0 ]; then
            echo "Korvatel needs these Debian packages. Install them, then run this command again:" >&2
            echo "  sudo apt-get install -y --no-install-recommends $missing" >&2
            exit 1
        fi
        echo "Installing: $missing"
        export DEBIAN_FRONTEND=noninteractive
        # shellcheck disable=SC2086
        if ! apt-get install -y --no-install-recommends $missing; then
            apt-get update
            # shellcheck disable=SC2086
            apt-get install -y --no-install-recommends $missing
        fi
    fi
    korvatel_require_locales
}
