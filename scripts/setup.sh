#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: installs the Debian packages the build
# needs when they are missing, then configures and builds build/ incrementally.
# Usage: source scripts/setup.sh; mosaikon_setup "<extra packages>"
set -euo pipefail

mosaikon_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
mosaikon_build="$mosaikon_root/build"

mosaikon_install_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Installing missing packages: ${missing[*]}"
    local apt=(apt-get)
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
            apt=(sudo apt-get)
        else
            echo "error: the packages ${missing[*]} are missing and cannot be installed:" >&2
            echo "       run this script as root, or set up sudo, or install them yourself with" >&2
            echo "       apt-get install ${missing[*]}" >&2
            exit 1
        fi
    fi
    DEBIAN_FRONTEND=noninteractive "${apt[@]}" update -qq
    DEBIAN_FRONTEND=noninteractive "${apt[@]}" install -y -qq "${missing[@]}"
}

mosaikon_build_all() {
    cmake -S "$mosaikon_root" -B "$mosaikon_build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$mosaikon_build" -j2
}

mosaikon_base_packages=(g++ make cmake qtbase5-dev zlib1g-dev)
