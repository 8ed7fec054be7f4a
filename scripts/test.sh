#!/usr/bin/env bash
# Sets up, builds and runs every test through CTest; the exit code is the suite's.
# Extra arguments go to ctest, for example: scripts/test.sh -R projectfile
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

mosaikon_install_packages "${mosaikon_base_packages[@]}" acme 64tass
mosaikon_build_all
cd "$mosaikon_build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 "$@"
