#!/usr/bin/env bash
# Sets up, builds and starts Mosaikon in the caller's current directory.
# Arguments are passed on to the program (Qt's own options such as -style).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

mosaikon_install_packages "${mosaikon_base_packages[@]}"
mosaikon_build_all
exec "$mosaikon_build/mosaikon" "$@"
