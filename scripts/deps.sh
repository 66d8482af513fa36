# Sourced by the set-up scripts: makes sure the Debian packages the build needs are there.
# As root it installs what is missing; otherwise it prints the command to run and stops.

KORVATEL_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev
    libgtest-dev
    fonts-liberation
    xvfb xauth xdotool
    poppler-utils
    clang libclang-rt-14-dev valgrind
)

korvatel_missing_packages() {
    local package
    for package in "${KORVATEL_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            printf '%s\n' "$package"
        fi
    done
}

korvatel_require_packages() {
    local missing
    missing=$(korvatel_missing_packages | tr '\n' ' ')
    missing=${missing% }
    [ -z "$missing" ] && return 0
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
}
