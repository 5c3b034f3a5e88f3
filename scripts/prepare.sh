#!/usr/bin/env bash
# Sourced by ./run, ./test, bench/run and fuzz/run: installs the Debian packages that are missing, then
# configures and builds into the folder given as $1 with the extra CMake arguments that follow.
set -euo pipefail

# Callers that need more (fuzz/run needs clang) name it in TESSARY_EXTRA_PACKAGES before sourcing.
# shellcheck disable=SC2206
TESSARY_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libfreeimage-dev libgtest-dev
                  libgmock-dev libbenchmark-dev xvfb xauth fonts-dejavu-core cmark-gfm qt6-charts-dev libqt6opengl6-dev
                  ${TESSARY_EXTRA_PACKAGES:-})

tessary_install_missing() {
    local missing=()
    for p in "${TESSARY_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

tessary_build() {
    local dir=$1
    shift
    local launcher=()
    # A compiler cache, where the machine has one, makes rebuilds in several checkouts cheap.
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$TESSARY_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" "$@" >/dev/null
    cmake --build "$dir"
}

TESSARY_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tessary_install_missing
