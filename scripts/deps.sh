#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is
# missing. Sourced by the run and test scripts; needs root (or sudo) only
# when something has to be installed.
ziru_install_deps() {
    local packages=(
        build-essential cmake pkg-config clang libclang-rt-14-dev
        libsdl2-dev libglu1-mesa-dev libgl-dev libegl-dev libgl1-mesa-dri
        libpixman-1-dev libpng-dev libstb-dev
        googletest libgtest-dev libgmock-dev libbenchmark-dev
        xvfb xfonts-base xdotool x11-utils imagemagick
    )
    local missing=()
    local p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures and builds into build/ (or the folder given).
ziru_build() {
    local dir="${1:-build}"
    shift || true
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j"$(nproc)"
}
